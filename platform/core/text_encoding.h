#pragma once
// Text helpers shared by every layer: UTF-8 validity, character counting and cutting that
// never split a character, and Windows-1252 decoding.
//
// Templates and report files are byte strings. A template that is valid UTF-8 counts in
// code points; any other text counts one byte as one character (Windows-1252).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::text {

enum class TextEncoding { Cp1252, Utf8 };

// True when s is well-formed UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view s);

// The encoding a template or value is read in: UTF-8 when valid, else Windows-1252.
// Pure ASCII is reported as Utf8 (both readings agree).
TextEncoding DetectEncoding(std::string_view s);

// Length in bytes of the well-formed UTF-8 sequence starting at s[0], or 0 when s does
// not start with one.
std::size_t Utf8SequenceLength(std::string_view s);

// Number of characters in s. In UTF-8 a byte that does not start a well-formed sequence
// counts as one character of its own.
std::size_t CharCount(std::string_view s, TextEncoding enc);

// Number of bytes taken by the first `chars` characters of s (all of s when it is shorter).
// Never ends inside a character.
std::size_t PrefixBytes(std::string_view s, std::size_t chars, TextEncoding enc);

// The first `chars` characters of s.
inline std::string_view CharPrefix(std::string_view s, std::size_t chars, TextEncoding enc) {
    return s.substr(0, PrefixBytes(s, chars, enc));
}

// Byte offset of the last `chars` characters of s (0 when s is not longer).
std::size_t SuffixOffset(std::string_view s, std::size_t chars, TextEncoding enc);

// The Unicode character of a Windows-1252 byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same number.
char32_t Cp1252ToUnicode(unsigned char c);

// Appends the UTF-8 form of c (U+FFFD for surrogates and values above U+10FFFF).
void AppendUtf8(std::string& out, char32_t c);

// Windows-1252 bytes to UTF-8.
std::string Cp1252ToUtf8(std::string_view s);

// Decodes s as UTF-8 when valid, else as Windows-1252.
std::u32string DecodeText(std::string_view s);

// UTF-32 to UTF-8.
std::string ToUtf8(std::u32string_view s);

// ASCII-only case helpers (the names and keys of templates and settings are compared
// case-insensitively, whatever the locale).
inline char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
inline char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
std::string AsciiUpperCase(std::string_view s);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Removes blanks and control characters (<= ' ') from both ends.
std::string_view Trim(std::string_view s);
// The lines of a text split at LF, each without its CR LF or LF; a final empty piece after
// a trailing line end is no line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace quillon::text
