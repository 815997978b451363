#include "viewers/rtf/rtf_html.h"

#include "platform/core/html_escape.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace quillon::rtf {

namespace {

// The points of the HTML engine's FONT SIZE 1..7 outside preformatted text.
constexpr std::array<double, 7> kHtmlSizePoints = {8, 10, 12, 14, 18, 24, 36};
constexpr int kTabColumns = 8;
constexpr std::string_view kLineSeparator = "\xE2\x80\xA8";  // U+2028, a \line
constexpr std::string_view kNoBreakSpace = "&nbsp;";

std::string ColorAttribute(const RtfColor& c) {
    std::array<char, 8> hex{};
    std::snprintf(hex.data(), hex.size(), "#%02x%02x%02x", c.red, c.green, c.blue);
    return std::string(hex.data());
}

const RtfFont* FontOf(const RtfCharFormat& format, const RtfDocument& doc) {
    if (format.font < 0 || static_cast<std::size_t>(format.font) >= doc.fonts.size()) {
        return nullptr;
    }
    return &doc.fonts[static_cast<std::size_t>(format.font)];
}

// Writes one paragraph's runs, keeping track of the column in the current line (for
// tabs) and of whether a blank may be an ordinary, collapsible one.
class ParagraphWriter {
  public:
    ParagraphWriter(std::string& out, const RtfDocument& doc) : out_(out), doc_(doc) {}

    void Write(const RtfParagraph& paragraph) {
        out_ += "<DIV ALIGN=";
        out_ += AlignmentName(paragraph.alignment);
        out_ += '>';
        bool has_text = false;
        for (const RtfRun& run : paragraph.runs) {
            if (run.text.empty()) continue;
            has_text = true;
            Open(run.format);
            Text(run.text);
            Close();
        }
        // An empty paragraph, or an empty last line after a line break, keeps the height
        // of the paragraph's font.
        if (!has_text || ends_in_break_) {
            Open(paragraph.mark_format);
            out_ += kNoBreakSpace;
            Close();
        }
        out_ += "</DIV>\n";
    }

  private:
    static std::string_view AlignmentName(RtfAlignment a) {
        switch (a) {
            case RtfAlignment::Center:
                return "center";
            case RtfAlignment::Right:
                return "right";
            case RtfAlignment::Left:
            case RtfAlignment::Justify:
                break;
        }
        return "left";
    }

    void Open(const RtfCharFormat& f) {
        closers_.clear();
        const RtfFont* font = FontOf(f, doc_);
        if (font != nullptr && font->fixed_pitch) Tag("TT", "</TT>");
        std::string tag = "FONT";
        if (font != nullptr && !font->name.empty()) {
            tag += " FACE=\"";
            AppendHtmlEscaped(tag, font->name);
            tag += '"';
        }
        tag += " SIZE=" + std::to_string(HtmlFontSizeOf(f.font_size));
        if (f.color) tag += " COLOR=\"" + ColorAttribute(*f.color) + '"';
        Tag(tag, "</FONT>");
        if (f.bold) Tag("B", "</B>");
        if (f.italic) Tag("I", "</I>");
        if (f.underline) Tag("U", "</U>");
        if (f.strike) Tag("S", "</S>");
        if (f.vertical == RtfVerticalAlign::Superscript) Tag("SUP", "</SUP>");
        if (f.vertical == RtfVerticalAlign::Subscript) Tag("SUB", "</SUB>");
    }

    void Tag(std::string_view open, std::string_view close) {
        out_ += '<';
        out_ += open;
        out_ += '>';
        closers_.emplace_back(close);
    }

    void Close() {
        for (auto it = closers_.rbegin(); it != closers_.rend(); ++it) out_ += *it;
        closers_.clear();
    }

    void Blank() {
        if (after_visible_) {
            out_ += ' ';
        } else {
            out_ += kNoBreakSpace;
        }
        after_visible_ = false;
        ++column_;
    }

    void Text(std::string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            ends_in_break_ = false;
            if (text.substr(i).starts_with(kLineSeparator)) {
                out_ += "<BR>";
                column_ = 0;
                after_visible_ = false;
                ends_in_break_ = true;
                i += kLineSeparator.size() - 1;
            } else if (c == '\t') {
                do {
                    out_ += kNoBreakSpace;
                    ++column_;
                } while (column_ % kTabColumns != 0);
                after_visible_ = false;
            } else if (c == ' ' || (static_cast<unsigned char>(c) < 0x20)) {
                Blank();
            } else {
                AppendHtmlEscaped(out_, std::string_view(&c, 1));
                after_visible_ = true;
                // Columns count characters: UTF-8 continuation bytes add none.
                if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++column_;
            }
        }
    }

    std::string& out_;
    const RtfDocument& doc_;
    std::vector<std::string> closers_;
    int column_ = 0;
    bool after_visible_ = false;
    bool ends_in_break_ = false;
};

}  // namespace

int HtmlFontSizeOf(double points) {
    int best = 0;
    for (int i = 1; i < static_cast<int>(kHtmlSizePoints.size()); ++i) {
        // Strictly nearer only: halfway between two sizes takes the smaller one.
        if (std::abs(kHtmlSizePoints[static_cast<std::size_t>(i)] - points) <
            std::abs(kHtmlSizePoints[static_cast<std::size_t>(best)] - points)) {
            best = i;
        }
    }
    return best + 1;
}

std::string RtfToHtml(const RtfDocument& doc, std::string_view title) {
    std::string out = "<HTML><HEAD>";
    if (!title.empty()) {
        out += "<TITLE>";
        AppendHtmlEscaped(out, title);
        out += "</TITLE>";
    }
    out += "</HEAD><BODY>\n";
    bool first = true;
    for (const RtfParagraph& paragraph : doc.paragraphs) {
        // A break before the first paragraph would only make an empty first sheet.
        if (paragraph.page_break_before && !first) out += "<PAGE>\n";
        ParagraphWriter(out, doc).Write(paragraph);
        first = false;
    }
    out += "</BODY></HTML>\n";
    return out;
}

}  // namespace quillon::rtf
