#pragma once
// Splits CSV text into records (RFC 4180): fields separated by ",", records ended by CR,
// LF or CR LF; a field that begins with a double quote is quoted, may hold commas, line
// breaks and doubled quotes, and must be followed by a comma, a line break or the end.
// Blanks are data. Empty lines are skipped. A quote inside an unquoted field, text after
// a closing quote and a quoted field left open at the end are errors.
//
// The text is read in large blocks; the fields of a record are views into the block
// (a quoted field with doubled quotes is unescaped in place), valid until the next call.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::data {

class CsvSplitter {
  public:
    // Fills the buffer with up to size bytes; returns how many (0 at the end).
    using ReadBlock = std::function<std::size_t(char* buffer, std::size_t size)>;

    struct Error {
        std::size_t line = 0;
        std::string what;
    };

    explicit CsvSplitter(ReadBlock read, std::size_t block_size = 256 * 1024);

    // Reads the next record into Fields(); false at the end of the text. On malformed
    // text returns false with Failed() set.
    bool Next();
    const std::vector<std::string_view>& Fields() const { return fields_; }
    // The line (counted by LF) where the current record begins.
    std::size_t Line() const { return record_line_; }
    const Error* Failed() const { return failed_ ? &error_ : nullptr; }

  private:
    enum class Scan { kRecord, kNeedMore, kFault };
    Scan ScanRecord();
    // Moves the unread bytes to the front and reads more; false when nothing more came.
    bool Refill();
    Scan Fault(std::size_t line, std::string what);

    ReadBlock read_;
    std::size_t block_size_;
    std::string buffer_;
    std::size_t begin_ = 0;  // first unread byte
    std::size_t end_ = 0;    // end of the bytes read
    bool eof_ = false;
    bool started_ = false;  // the byte order mark was looked for
    std::size_t line_ = 1;  // line of buffer_[begin_]
    std::size_t record_line_ = 0;
    std::vector<std::string_view> fields_;
    std::vector<std::size_t> escaped_;  // fields_ indexes holding doubled quotes
    bool failed_ = false;
    Error error_;
};

}  // namespace quillon::data
