#pragma once
// The line-level structure of a template file: splitting into lines, format headers
// ("^^NAME"), the template kind from the file name, and the lines that make up one format
// of a file that may hold several.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

struct TemplateLine {
    std::string text;  // without its line break
    int number = 0;    // 1-based line number in the file
};

// Lines end at CR LF, LF or a lone CR; a final line break adds no empty line.
std::vector<TemplateLine> SplitTemplateLines(std::string_view content);

// The name in a header line: the characters after the first "^^" while each is a blank,
// a digit or a character above "?", trimmed.
std::string HeaderName(std::string_view line);

// The header line of format_name ("*": the first header), looking at every line but the
// last. A header whose name equals format_name (ignoring case) is preferred; otherwise
// the first header that contains "^^" + format_name.
std::optional<std::size_t> FindFormatHeader(const std::vector<TemplateLine>& lines,
                                            std::string_view format_name);

struct TemplateKind {
    bool rtf = false;  // ".RTF" in the file's own name
    bool txt = false;  // ".TXT" in the file's own name
};
// The kind follows from the file name alone (not from its directories), ignoring case.
TemplateKind KindOfTemplate(std::string_view file_name);

// The lines of the format whose header is lines[header]: the file's preamble (the lines
// before its first header) and the format's own body up to the next header. An RTF
// header line stays, with "^^NAME" replaced by the unknown control word "\xyz "; other
// header lines are dropped.
std::vector<TemplateLine> SelectFormatLines(std::vector<TemplateLine> lines, std::size_t header,
                                            bool rtf);

}  // namespace quillon
