#include "design/template_levels.h"

#include "platform/core/html_escape.h"

namespace quillon::design {

namespace {

// A template text segment as preformatted HTML: CR LF and lone CR or LF become one line
// break, tabs stay (the block is preformatted), other control characters are dropped.
void AppendSegment(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += '\n';
        } else if (c == '\n' || c == '\t') {
            out += c;
        } else if (static_cast<unsigned char>(c) >= 0x20) {
            AppendHtmlEscaped(out, std::string_view(&text[i], 1));
        }
    }
}

std::string SlotLabel(const TemplateSlotInfo& slot) {
    std::string label = std::to_string(slot.number);
    if (!slot.name.empty()) label += ' ' + slot.name;
    return label;
}

void AppendSlotTable(std::string& out, const TemplateLevelInfo& level) {
    if (level.field_slots.empty()) {
        out += "<p><i>No field slots.</i></p>\n";
        return;
    }
    out +=
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n<tr><th>Slot</th><th>Name</th>"
        "<th>Width</th><th>Decimals</th><th>Expression</th><th>Same value as</th></tr>\n";
    for (const TemplateSlotInfo& slot : level.field_slots) {
        out += "<tr><td align=\"right\">" + std::to_string(slot.number) + "</td><td>" +
               (slot.name.empty() ? std::string("<i>unnamed</i>") : HtmlEscape(slot.name)) +
               "</td><td align=\"right\">" + std::to_string(slot.width) +
               "</td><td align=\"right\">" + std::to_string(slot.decimals) + "</td><td>" +
               HtmlEscape(slot.expression) + "</td><td>";
        if (slot.alias_of) {
            out += "@" + std::to_string(slot.alias_of->first) + " slot " +
                   std::to_string(slot.alias_of->second);
        }
        out += "</td></tr>\n";
    }
    out += "</table>\n";
}

}  // namespace

std::string LevelsHtml(const TemplateLevels& levels) {
    std::string out = "<html><body>\n<h2>Format " + HtmlEscape(levels.format) + "</h2>\n<p>" +
                      HtmlEscape(levels.file) + " &mdash; " + HtmlEscape(levels.kind) +
                      " template, " + HtmlEscape(levels.encoding) + ", " +
                      std::to_string(levels.levels.size()) +
                      (levels.levels.size() == 1 ? " level" : " levels") + "</p>\n";
    for (const TemplateLevelInfo& level : levels.levels) {
        const std::size_t slots = level.field_slots.size();
        out += "<h3>@" + std::to_string(level.level) + " " + HtmlEscape(level.title) + " (" +
               std::to_string(slots) + (slots == 1 ? " slot" : " slots") + ")</h3>\n";
        AppendSlotTable(out, level);
        out += "<pre style=\"background-color:#f4f4f4\">";
        for (std::size_t n = 0; n < level.texts.size(); ++n) {
            if (n > 0 && n <= slots) {
                out += "<span style=\"background-color:#ffe0a0;color:#a00000\">[" +
                       HtmlEscape(SlotLabel(level.field_slots[n - 1])) + "]</span>";
            }
            AppendSegment(out, level.texts[n]);
        }
        out += "</pre>\n";
    }
    out += "</body></html>\n";
    return out;
}

}  // namespace quillon::design
