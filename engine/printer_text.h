#pragma once
// How a line of a finished report becomes text for a character printer: its tags become
// the printer's control sequences (from the printer's section of the settings file), line
// breaks and rules become line ends and underscores, centred passages are padded to the
// middle of the printer's line, and other tags are dropped. Lengths count characters.
//
//   PrinterTagTable tags;
//   tags.Add("<B>", "&#27E");                       // ESC E
//   PrinterLineConverter convert(tags, 80);
//   std::u32string line = convert.Convert(U"<b>Total</b>");  // U"\x1b" U"ETotal"
//   std::string bytes = EncodeForPrinter(line, text::CodePage::Windows1252(), false);

#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/core/code_pages.h"

namespace quillon {

// The widest line a printer section or caller may ask for; wider values are cut to it, so
// that a mistyped width cannot make a rule or a centring pad of billions of characters.
inline constexpr int kMaxPrinterLineWidth = 32767;

// The replacements of a printer section: tag (with its angle brackets) -> text to send.
class PrinterTagTable {
  public:
    // Registers the replacement of tag. In value, every "&#" followed by two decimal digits
    // stands for the character of that code ("&#27" is ESC). The first registration of a
    // tag wins; tags are compared without regard to case.
    void Add(std::u32string_view tag, std::u32string_view value);
    // The replacement of a tag (already upper-cased), or nullptr.
    const std::u32string* Find(const std::u32string& upper_tag) const;
    bool Empty() const { return table_.empty(); }

  private:
    std::unordered_map<std::u32string, std::u32string> table_;
};

// Converts the lines of one print, in order; a centred passage carries over from line to
// line.
class PrinterLineConverter {
  public:
    PrinterLineConverter(const PrinterTagTable& tags, int width);
    std::u32string Convert(std::u32string_view line);
    // True while inside a centred passage.
    bool Centring() const { return centring_; }

  private:
    // The rule of an <HR ...> tag (compact: upper-cased, blanks removed); empty for none.
    std::u32string Rule(std::u32string_view compact) const;
    void Centre(std::u32string& line, std::size_t start, std::size_t end) const;

    const PrinterTagTable& tags_;
    int width_;
    bool centring_ = false;
};

// The national letters of the Lithuanian alphabet as the bytes of the printer's national
// character set (0xDC to 0xFD); 0 for any other character.
unsigned char NationalPrinterByte(char32_t c);

// The bytes of a converted line in the printer's code page. With national, the national
// letters become their printer bytes first. A no-break space the code page lacks becomes
// a blank; any other character it lacks becomes "?".
std::string EncodeForPrinter(std::u32string_view line, const text::CodePage& page, bool national);

}  // namespace quillon
