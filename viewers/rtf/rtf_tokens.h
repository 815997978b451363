#pragma once
// The RTF tokenizer: braces, control words with their optional number, control symbols,
// \'hh bytes, plain text and \bin data, each with its byte position in the input.
//
//   RtfTokenizer tokens(bytes);
//   for (RtfToken t = tokens.Next(); t.kind != RtfTokenKind::End; t = tokens.Next()) ...

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon::rtf {

enum class RtfTokenKind : std::uint8_t {
    GroupStart,     // {
    GroupEnd,       // }
    ControlWord,    // \word or \wordN (word holds the letters)
    ControlSymbol,  // \ and one character that is no letter (symbol holds it; a line end
                    // after the backslash is reported as '\n')
    HexByte,        // \'hh (byte holds the value)
    Text,           // bytes without special meaning, line ends left out (text holds them)
    Binary,         // the data of \binN (text holds it)
    End,
};

struct RtfToken {
    RtfTokenKind kind = RtfTokenKind::End;
    std::size_t position = 0;  // byte offset of the token's first character
    std::string_view word;     // ControlWord: the letters
    std::string_view text;     // Text, Binary: the bytes
    bool has_param = false;    // ControlWord: a number followed the letters
    std::int32_t param = 0;    // ControlWord: that number, clamped to +-kMaxParam
    char symbol = 0;           // ControlSymbol
    unsigned char byte = 0;    // HexByte
};

class RtfTokenizer {
  public:
    // Numbers beyond this are clamped: no keyword needs more, and no sum over them can
    // overflow an int.
    static constexpr std::int32_t kMaxParam = 1'000'000'000;

    explicit RtfTokenizer(std::string_view input) : input_(input) {}

    RtfToken Next();
    std::size_t Position() const { return pos_; }

  private:
    RtfToken ReadControl(std::size_t start);
    RtfToken ReadText(std::size_t start);

    std::string_view input_;
    std::size_t pos_ = 0;
};

}  // namespace quillon::rtf
