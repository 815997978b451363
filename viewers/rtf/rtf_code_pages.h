#pragma once
// The Windows code pages that RTF text is written in, as the reader needs them: a table
// from byte to character for the single-byte pages and, for the double-byte pages of
// Japanese (932), Simplified Chinese (936), Korean (949, 1361) and Traditional Chinese
// (950), which bytes lead a pair and the character of each pair; for Vietnamese (1258),
// which letters and tone marks join into one character. Pages of
// platform/core/code_pages.h come from its tables, any other (the Mac pages too) from the
// C library's iconv.
//
//   std::unique_ptr<RtfCodePage> page = RtfCodePage::Make(932);   // nullptr: unknown
//   if (page->IsLeadByte(0x82)) c = page->DecodePair(0x82, 0xA0);   // U+3042
//
// Decoding is a table look-up; the rows of a double-byte page are filled on first use.

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>

namespace quillon::rtf {

class RtfCodePage {
  public:
    // The page of a Windows code page number, or nullptr when it cannot be decoded here.
    static std::unique_ptr<RtfCodePage> Make(int number);
    // The code page of a font's \fcharset; 0 for the document's own (ANSI, default, symbol
    // and unknown character sets).
    static int OfCharset(int charset);
    // The page of \mac: Mac Roman.
    static constexpr int kMacRoman = 10000;

    ~RtfCodePage();
    RtfCodePage(const RtfCodePage&) = delete;
    RtfCodePage& operator=(const RtfCodePage&) = delete;

    int Number() const { return number_; }
    // The byte begins a two-byte character (double-byte pages only).
    bool IsLeadByte(unsigned char byte) const { return lead_[byte]; }
    // The character of a single byte; 0 when the page leaves it undefined.
    char32_t Decode(unsigned char byte) const { return single_[byte]; }
    // The character of a lead byte and its trail byte; 0 when the pair is undefined.
    char32_t DecodePair(unsigned char lead, unsigned char trail);

    // The page writes accents as combining marks after their letter (Windows-1258).
    bool Composes() const { return composes_; }
    // The byte is such a combining mark.
    bool IsCombiningMark(unsigned char byte) const {
        return single_[byte] >= 0x300 && single_[byte] <= 0x36F;
    }
    // The one character a letter's byte and a mark's byte make; 0 when Unicode has none.
    char32_t Compose(unsigned char base, unsigned char mark);

  private:
    class Converter;
    using Row = std::array<char32_t, 256>;

    explicit RtfCodePage(int number);

    int number_;
    std::array<char32_t, 256> single_{};
    std::array<bool, 256> lead_{};
    std::array<std::unique_ptr<Row>, 256> rows_;  // by lead byte, filled on first use
    std::unique_ptr<Converter> converter_;        // double-byte and composing pages only
    bool composes_ = false;
    std::unordered_map<std::uint16_t, char32_t> compositions_;  // by base << 8 | mark
};

}  // namespace quillon::rtf
