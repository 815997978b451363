#include "apps/datasource/csv_splitter.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quillon::data {

namespace {

constexpr char kQuote = '"';

// Bytes that end or disturb an unquoted field.
constexpr std::array<bool, 256> kSpecial = [] {
    std::array<bool, 256> special{};
    special[static_cast<unsigned char>(',')] = true;
    special[static_cast<unsigned char>('\r')] = true;
    special[static_cast<unsigned char>('\n')] = true;
    special[static_cast<unsigned char>(kQuote)] = true;
    return special;
}();

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Turns every doubled quote of a quoted field's content into one; returns the new length.
std::size_t Unescape(char* text, std::size_t size) {
    std::size_t out = 0;
    for (std::size_t in = 0; in < size; ++in, ++out) {
        text[out] = text[in];
        if (text[in] == kQuote) ++in;  // the second quote of the pair
    }
    return out;
}

}  // namespace

CsvSplitter::CsvSplitter(ReadBlock read, std::size_t block_size)
    : read_(std::move(read)), block_size_(std::max<std::size_t>(block_size, 1)) {}

CsvSplitter::Scan CsvSplitter::Fault(std::size_t line, std::string what) {
    failed_ = true;
    error_ = Error{line, std::move(what)};
    return Scan::kFault;
}

bool CsvSplitter::Refill() {
    if (eof_) return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    // A record longer than the buffer makes the buffer grow.
    if (buffer_.size() - end_ < std::max<std::size_t>(block_size_ / 2, 1)) {
        buffer_.resize(std::max(buffer_.size() * 2, end_ + block_size_));
    }
    const std::size_t got = read_(buffer_.data() + end_, buffer_.size() - end_);
    if (got == 0) {
        eof_ = true;
        return false;
    }
    end_ += got;
    return true;
}

// Scans one record from begin_. Fields are views into the buffer; nothing is changed until
// the whole record is in the buffer, so that a record cut by the end of the block is
// scanned again after a refill.
CsvSplitter::Scan CsvSplitter::ScanRecord() {
    fields_.clear();
    escaped_.clear();
    const char* const data = buffer_.data();
    std::size_t i = begin_;
    std::size_t line = line_;
    // Empty lines between records.
    while (i < end_ && IsLineEnd(data[i])) {
        if (data[i] == '\n') ++line;
        ++i;
    }
    if (i == end_) return eof_ ? Scan::kRecord : Scan::kNeedMore;
    const std::size_t record_line = line;
    for (;;) {
        if (i < end_ && data[i] == kQuote) {
            // A quoted field: up to the quote that is not doubled.
            const std::size_t start = i + 1;
            const std::size_t open_line = line;
            bool doubled = false;
            std::size_t j = start;
            for (;;) {
                const void* q = std::memchr(data + j, kQuote, end_ - j);
                if (q == nullptr) {
                    if (!eof_) return Scan::kNeedMore;
                    // Named where the field opens: that is where the missing quote belongs.
                    return Fault(open_line, "a quoted field opens here and is never closed");
                }
                const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(q) - data);
                line += static_cast<std::size_t>(std::count(data + j, data + at, '\n'));
                if (at + 1 == end_ && !eof_) return Scan::kNeedMore;
                if (at + 1 < end_ && data[at + 1] == kQuote) {
                    doubled = true;
                    j = at + 2;
                    continue;
                }
                if (doubled) escaped_.push_back(fields_.size());
                fields_.emplace_back(data + start, at - start);
                i = at + 1;
                break;
            }
            if (i < end_ && data[i] != ',' && !IsLineEnd(data[i])) {
                return Fault(line, "text follows the closing quote of a field");
            }
        } else {
            const std::size_t start = i;
            while (i < end_ && !kSpecial[static_cast<unsigned char>(data[i])]) ++i;
            if (i < end_ && data[i] == kQuote) {
                return Fault(line, "a quote inside a field that does not begin with one");
            }
            if (i == end_ && !eof_) return Scan::kNeedMore;
            fields_.emplace_back(data + start, i - start);
        }
        // Here i is at a comma, a line end or the end of the text.
        if (i < end_ && data[i] == ',') {
            ++i;
            continue;
        }
        if (i < end_) {
            // CR LF is one line end; a line end at the end of the block may be the CR of
            // one, which is fine: the LF is taken as an empty line next time.
            if (data[i] == '\n') ++line;
            ++i;
        }
        break;
    }
    for (const std::size_t f : escaped_) {
        std::string_view& field = fields_[f];
        char* text = buffer_.data() + (field.data() - data);
        field = std::string_view(text, Unescape(text, field.size()));
    }
    begin_ = i;
    line_ = line;
    record_line_ = record_line;
    return Scan::kRecord;
}

bool CsvSplitter::Next() {
    if (failed_) return false;
    if (!started_) {
        started_ = true;
        while (end_ - begin_ < 3 && Refill()) {
        }
        static constexpr std::string_view kBom = "\xEF\xBB\xBF";
        if (std::string_view(buffer_.data() + begin_, end_ - begin_).starts_with(kBom)) {
            begin_ += kBom.size();
        }
    }
    for (;;) {
        switch (ScanRecord()) {
            case Scan::kRecord:
                return !fields_.empty();
            case Scan::kFault:
                return false;
            case Scan::kNeedMore:
                Refill();
                break;
        }
    }
}

}  // namespace quillon::data
