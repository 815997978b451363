#pragma once
// Turns the bytes of a source into Unicode characters. The encoding is, in this order:
// the one a byte-order mark at the start gives (UTF-8, UTF-16LE or UTF-16BE); the one a
// META tag near the start declares (<META CHARSET=...> or the charset of a Content-Type),
// when it is UTF-8 or Windows-1252 or one of the names read as Windows-1252 (ISO-8859-1,
// US-ASCII and their aliases) - a declared UTF-16 reads as UTF-8, since a declaration
// found by this scan is in an ASCII-compatible encoding; otherwise UTF-8 when the input
// is valid UTF-8, else Windows-1252.
//
// In UTF-16 an unpaired surrogate or an odd byte at the end gives U+FFFD.
//
// The validity test looks ahead from the first non-ASCII byte over a window of
// kLookAhead bytes (the whole rest of the input when it is shorter), so memory stays
// bounded for any input. Should a byte that is not valid UTF-8 turn up beyond that window
// in a document read as UTF-8, that byte alone is read as Windows-1252.
// Multi-byte characters split between read chunks are joined.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "html/parse/html_source.h"
#include "platform/core/text_encoding.h"

namespace quillon {

class InputDecoder {
  public:
    static constexpr std::size_t kLookAhead = 1 << 20;
    static constexpr std::size_t kMetaScan = 4096;

    explicit InputDecoder(std::unique_ptr<ByteSource> source, std::size_t chunk = 65536);

    // Writes up to `max` characters to `out`; returns the count, 0 at the end of input.
    std::size_t Decode(char32_t* out, std::size_t max);

    // The encoding chosen so far (UTF-8 while only ASCII has been seen; UTF-8 for UTF-16,
    // which reads as Unicode too).
    text::TextEncoding Encoding() const {
        return mode_ == Mode::Cp1252 ? text::TextEncoding::Cp1252 : text::TextEncoding::Utf8;
    }
    LoadStyleType Kind() const { return source_->Kind(); }

  private:
    enum class Mode { Undecided, Utf8, Cp1252, Utf16Le, Utf16Be };

    // Reads until at least `want` unread bytes are buffered or the input ends.
    void Fill(std::size_t want);
    // Grows the byte buffer to hold at least `need` bytes, keeping those read.
    void Reserve(std::size_t need);
    std::size_t Available() const { return end_ - pos_; }
    std::string_view Bytes() const { return {bytes_.get(), end_}; }
    void DecideAtNonAscii();
    std::size_t DecodeUtf16(char32_t* out, std::size_t max);

    std::unique_ptr<ByteSource> source_;
    std::size_t chunk_;
    std::unique_ptr<char[]> bytes_;  // bytes read, read straight into it from the source
    std::size_t capacity_ = 0;
    std::size_t pos_ = 0;  // [pos_, end_) are read and not yet decoded
    std::size_t end_ = 0;
    bool eof_ = false;
    Mode mode_ = Mode::Undecided;
};

}  // namespace quillon
