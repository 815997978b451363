#pragma once
// The control words the RTF reader acts on, looked up by name. Every other control word
// is ignored, as RTF readers do with what they do not know.

#include <cstdint>
#include <string_view>

namespace quillon::rtf {

enum class RtfKeyword : std::uint8_t {
    Unknown,
    // Document character set and default font.
    CharsetAnsi,
    CharsetMac,
    CharsetPc,
    CharsetPca,
    AnsiCodePage,
    DefaultFont,
    // Destinations: groups read as tables or skipped with all they hold.
    FontTable,
    ColorTable,
    SkippedDestination,
    UnicodeAlternatives,  // \upr: an ANSI group followed by its \ud Unicode twin
    UnicodeDestination,   // \ud
    // Font and colour table entries.
    Font,
    FontCharset,
    FontCodePage,
    FontPitch,
    FontFamily,  // value: the RtfFontFamily
    Red,
    Green,
    Blue,
    // Characters and breaks.
    Paragraph,
    LineBreak,
    Tab,
    PageBreak,
    SectionBreak,
    Cell,
    Row,
    Character,  // value: the character
    Unicode,
    UnicodeSkip,
    // Character formatting.
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Hidden,
    Superscript,
    Subscript,
    NoSuperSub,
    FontSize,
    ForeColor,
    // Paragraph formatting.
    ParagraphDefault,
    Alignment,  // value: the RtfAlignment
    PageBreakBefore,
};

struct RtfKeywordInfo {
    RtfKeyword keyword = RtfKeyword::Unknown;
    char32_t value = 0;
};

// The keyword of a control word's letters; Unknown for one the reader ignores.
RtfKeywordInfo FindRtfKeyword(std::string_view word);

}  // namespace quillon::rtf
