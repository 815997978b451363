#pragma once
// What the RTF reader makes of a document: paragraphs of formatted runs, free of any
// toolkit. Text is UTF-8. Inside a run a tab is '\t' and a line break (\line) is U+2028,
// the line separator; a page break starts the next paragraph on a new page.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon::rtf {

struct RtfColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const RtfColor&) const = default;
};

enum class RtfVerticalAlign : std::uint8_t { Baseline, Superscript, Subscript };

struct RtfCharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    RtfVerticalAlign vertical = RtfVerticalAlign::Baseline;
    // Font size in points (RTF counts half points; 12 points when the document says none).
    double font_size = 12.0;
    // Text colour; none for the automatic colour (colour table entry 0 or an empty entry).
    std::optional<RtfColor> color;
    // Index into RtfDocument::fonts, or -1 when the document names no font.
    int font = -1;
    bool operator==(const RtfCharFormat&) const = default;
};

struct RtfRun {
    std::string text;  // UTF-8
    RtfCharFormat format;
};

enum class RtfAlignment : std::uint8_t { Left, Center, Right, Justify };

struct RtfParagraph {
    std::vector<RtfRun> runs;
    // The character format at the paragraph's end: the height of an empty paragraph.
    RtfCharFormat mark_format;
    RtfAlignment alignment = RtfAlignment::Left;
    bool page_break_before = false;

    // The paragraph's text without formatting.
    std::string Text() const;
};

enum class RtfFontFamily : std::uint8_t { Nil, Roman, Swiss, Modern, Script, Decor, Tech, Bidi };

struct RtfFont {
    std::string name;  // UTF-8, without the closing ';'
    RtfFontFamily family = RtfFontFamily::Nil;
    bool fixed_pitch = false;  // \fprq1 or the modern family
};

struct RtfDocument {
    std::vector<RtfParagraph> paragraphs;
    std::vector<RtfFont> fonts;

    // The whole text: paragraphs joined by '\n'.
    std::string Text() const;
};

}  // namespace quillon::rtf
