#pragma once
// Reads JSON text (RFC 8259, UTF-8) token by token from blocks, holding one block at a
// time: memory does not grow with the text. The caller walks the structure (Peek, Take,
// ReadString, ReadValue, SkipValue); every fault throws DataSourceError naming the text,
// the line and the column (in characters) where it was met.
//
// Checked as it is read: strings (escapes, surrogate pairs, control characters, UTF-8),
// numbers (grammar, and no value beyond the range of a double), literals, nesting.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::data {

class JsonReader {
  public:
    // Fills the buffer with up to size bytes; returns how many (0 at the end).
    using ReadBlock = std::function<std::size_t(char* buffer, std::size_t size)>;
    static constexpr int kEnd = -1;

    // name stands for the text in messages. A UTF-8 byte order mark at the start is skipped.
    JsonReader(ReadBlock read, std::string name, std::size_t block_size = 256 * 1024);

    // Skips blanks (line ends too) and returns the next byte without taking it; kEnd at the
    // end of the text.
    int Peek() {
        if (pos_ < end_) {
            const auto c = static_cast<unsigned char>(buffer_[pos_]);
            if (c > ' ') return c;
        }
        return SkipBlanks();
    }
    // Skips blanks but not a line end: the next byte, '\n' or kEnd.
    int PeekInLine();
    // Takes the byte Peek returned.
    void Take() { ++pos_; }
    // Takes the byte Peek returns, which must be c.
    void Expect(char c) {
        if (pos_ < end_ && buffer_[pos_] == c) {
            ++pos_;
            return;
        }
        ExpectAfterBlanks(c);
    }

    // At a string: reads it, unescaped, into out.
    void ReadString(std::string& out);
    // At a string: takes it if it is text written as it stands (text holds no quote,
    // backslash or control character) and lies in the block; else false, nothing taken.
    bool TakePlainString(std::string_view text) {
        const std::size_t size = text.size() + 2;
        if (end_ - pos_ < size) return false;
        const char* at = buffer_.data() + pos_;
        if (at[size - 1] != '"') return false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (at[i + 1] != text[i]) return false;
        }
        pos_ += size;
        return true;
    }
    // Reads any value into out: a string unescaped, a number as written, true or false,
    // nothing for null, an object or array as its JSON text without blanks between tokens.
    void ReadValue(std::string& out);
    // Skips any value, checking it as ReadValue does.
    void SkipValue();

    // Throws "NAME: line L, column C: what" for the next byte.
    [[noreturn]] void Fail(std::string_view what);
    // Throws "malformed JSON" with what the next bytes are.
    [[noreturn]] void Unexpected();

  private:
    // The current byte, reading more when the block is used up; kEnd at the end.
    int Current() {
        if (pos_ < end_) return static_cast<unsigned char>(buffer_[pos_]);
        return Refill() ? static_cast<unsigned char>(buffer_[pos_]) : kEnd;
    }
    int SkipBlanks();
    void ExpectAfterBlanks(char c);
    // Keeps the unread bytes and reads more; false when nothing more came.
    bool Refill();
    // Makes n bytes readable at pos_ if the text has them.
    bool Ensure(std::size_t n);
    [[noreturn]] void Malformed(std::string_view what);

    // The pieces of a value. Each appends what it reads to out, or only checks it when
    // out is nullptr; raw keeps a string as written (quotes and escapes), as it stands
    // inside a nested value, and null as "null".
    void String(std::string* out, bool raw);
    void Escape(std::string* out, bool raw);
    void Utf8Sequence(std::string* out, unsigned char lead);
    void Number(std::string* out);
    // Reads a number that may run past the block, into number_.
    void NumberAcrossBlocks();
    void Literal(std::string_view word, std::string* out);
    // A value that is no container, beginning with the byte c.
    void Scalar(int c, std::string* out, bool raw);
    // One whole value; nested containers are walked without recursion.
    void Value(std::string* out, bool raw);

    ReadBlock read_;
    std::string name_;
    std::size_t block_size_;
    std::string buffer_;
    std::size_t pos_ = 0;  // next byte
    std::size_t end_ = 0;  // end of the bytes read
    bool eof_ = false;
    std::size_t line_ = 1;
    std::size_t line_start_ = 0;  // index in buffer_ where the current line (or block) begins
    std::size_t line_chars_ = 0;  // characters of the current line before line_start_
    std::vector<char> open_;      // the containers being walked: '{' or '['
    std::string number_;          // the number being read
};

}  // namespace quillon::data
