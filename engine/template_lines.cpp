#include "engine/template_lines.h"

#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

constexpr std::string_view kHeaderMark = "^^";

bool IsHeaderNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return c == ' ' || (c >= '0' && c <= '9') || u > static_cast<unsigned char>('?');
}

bool IsHeader(const TemplateLine& line) {
    return line.text.find(kHeaderMark) != std::string::npos;
}

// The header name that starts right after the "^^" at caret.
std::string_view NameAt(std::string_view line, std::size_t caret) {
    std::size_t end = caret + kHeaderMark.size();
    const std::size_t begin = end;
    while (end < line.size() && IsHeaderNameChar(line[end])) ++end;
    return text::Trim(line.substr(begin, end - begin));
}

}  // namespace

std::vector<TemplateLine> SplitTemplateLines(std::string_view content) {
    std::vector<TemplateLine> lines;
    std::size_t pos = 0;
    int number = 0;
    while (pos < content.size()) {
        const std::size_t end = content.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back(TemplateLine{std::string(content.substr(pos)), ++number});
            break;
        }
        lines.push_back(TemplateLine{std::string(content.substr(pos, end - pos)), ++number});
        pos = end + 1;
        if (content[end] == '\r' && pos < content.size() && content[pos] == '\n') ++pos;
    }
    return lines;
}

std::string HeaderName(std::string_view line) {
    const std::size_t caret = line.find(kHeaderMark);
    if (caret == std::string_view::npos) return {};
    return std::string(NameAt(line, caret));
}

std::optional<std::size_t> FindFormatHeader(const std::vector<TemplateLine>& lines,
                                            std::string_view format_name) {
    if (lines.size() < 2) return std::nullopt;
    const std::size_t last = lines.size() - 1;
    const std::string_view wanted = text::Trim(format_name);
    if (wanted == "*") {
        for (std::size_t i = 0; i < last; ++i) {
            if (IsHeader(lines[i])) return i;
        }
        return std::nullopt;
    }
    const std::string needle = text::AsciiUpperCase(std::string(kHeaderMark) + std::string(wanted));
    std::optional<std::size_t> first_match;
    for (std::size_t i = 0; i < last; ++i) {
        if (!IsHeader(lines[i])) continue;
        const std::string upper = text::AsciiUpperCase(lines[i].text);
        for (std::size_t at = upper.find(needle); at != std::string::npos;
             at = upper.find(needle, at + 1)) {
            if (!first_match) first_match = i;
            // The header's name is exactly the wanted one when only blanks follow it
            // before the first character that ends a name.
            std::size_t end = at + needle.size();
            while (end < upper.size() && upper[end] == ' ') ++end;
            if (end == upper.size() || !IsHeaderNameChar(upper[end])) return i;
        }
    }
    return first_match;
}

TemplateKind KindOfTemplate(std::string_view file_name) {
    const std::size_t slash = file_name.find_last_of("/\\");
    const std::string base = text::AsciiUpperCase(
        slash == std::string_view::npos ? file_name : file_name.substr(slash + 1));
    return TemplateKind{base.find(".RTF") != std::string::npos,
                        base.find(".TXT") != std::string::npos};
}

std::vector<TemplateLine> SelectFormatLines(std::vector<TemplateLine> lines, std::size_t header,
                                            bool rtf) {
    std::size_t first_header = 0;
    while (first_header < header && !IsHeader(lines[first_header])) ++first_header;
    std::size_t body_end = header + 1;
    while (body_end < lines.size() && !IsHeader(lines[body_end])) ++body_end;

    std::vector<TemplateLine> format;
    format.reserve(first_header + (body_end - header));
    for (std::size_t i = 0; i < first_header; ++i) format.push_back(std::move(lines[i]));
    if (rtf) {
        // RTF readers skip a control word they do not know.
        TemplateLine& h = lines[header];
        const std::size_t caret = h.text.find(kHeaderMark);
        std::size_t end = h.text.find_first_of("\r \\{}", caret + kHeaderMark.size());
        if (end == std::string::npos) end = h.text.size();
        h.text.replace(caret, end - caret, "\\xyz ");
        format.push_back(std::move(h));
    }
    for (std::size_t i = header + 1; i < body_end; ++i) format.push_back(std::move(lines[i]));
    return format;
}

}  // namespace quillon
