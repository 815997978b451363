#pragma once
// The levels of a loaded template as the editor's Run window shows them: per level its
// slots and the template text around them, formatted as a readable HTML page.

#include <optional>
#include <string>
#include <vector>

namespace quillon::design {

struct TemplateSlotInfo {
    int number = 0;
    int width = 0;
    int decimals = 0;
    std::string name;                             // UTF-8; empty for an unnamed slot
    std::string expression;                       // UTF-8; empty when the field is not calculated
    std::optional<std::pair<int, int>> alias_of;  // (level, slot) of the first use of the name
};

struct TemplateLevelInfo {
    int level = 0;
    std::string title;  // "detail line", ...
    std::vector<TemplateSlotInfo> field_slots;
    // texts[0]: the text before slot 1; texts[n]: the text after slot n (UTF-8, CR LF kept).
    std::vector<std::string> texts;
};

struct TemplateLevels {
    std::string file;
    std::string format;    // the format name
    std::string kind;      // "HTML", "RTF", "text"
    std::string encoding;  // "UTF-8", "Windows-1252"
    std::vector<TemplateLevelInfo> levels;
};

// The page: a heading with the format, then per level its title, a table of its slots and
// its text with each slot shown in place as a marked "[n NAME]" and line ends as line breaks.
// Text is escaped, so template markup shows as written.
std::string LevelsHtml(const TemplateLevels& levels);

}  // namespace quillon::design
