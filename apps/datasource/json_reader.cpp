#include "apps/datasource/json_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "apps/datasource/data_source.h"

namespace quillon::data {

namespace {

// Containers nested deeper than this are refused: the walk keeps one byte per level.
constexpr std::size_t kMaxDepth = 10000;

std::size_t CountChars(const char* bytes, std::size_t size) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if ((static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) ++chars;
    }
    return chars;
}

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// The bytes that end the plain run of a string: the quote, the escape, control characters
// and the bytes of UTF-8 sequences (checked one sequence at a time).
constexpr std::array<bool, 256> kStringStops = [] {
    std::array<bool, 256> stops{};
    for (int c = 0; c < 256; ++c) stops[c] = c == '"' || c == '\\' || c < 0x20 || c >= 0x80;
    return stops;
}();

// Whether any of the eight bytes of word is a quote, a backslash, a control character or
// above 0x7F (bytes compared all at once: "has a zero byte" tests on the word).
bool HasStop(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHigh = 0x8080808080808080;
    const auto zero_in = [](std::uint64_t v) { return (v - kOnes) & ~v & kHigh; };
    const std::uint64_t below_space = (word - kOnes * 0x20) & ~word & kHigh;
    return ((zero_in(word ^ (kOnes * '"')) | zero_in(word ^ (kOnes * '\\')) | below_space |
             (word & kHigh)) != 0);
}

// The end of the plain run of a string that begins at p.
const char* PlainRun(const char* p, const char* end) {
    while (end - p >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, sizeof word);
        if (HasStop(word)) break;
        p += 8;
    }
    while (p < end && !kStringStops[static_cast<unsigned char>(*p)]) ++p;
    return p;
}

// A well-formed number beginning at p that ends before end: its end, else nullptr (a
// malformed number, or one that may go on past end). exponent: it has one.
const char* NumberEnd(const char* p, const char* end, bool& exponent) {
    const auto digits = [end](const char* q) {
        while (q < end && IsDigit(*q)) ++q;
        return q;
    };
    if (p < end && *p == '-') ++p;
    if (p < end && *p == '0') {
        ++p;
    } else {
        const char* after = digits(p);
        if (after == p) return nullptr;
        p = after;
    }
    if (p < end && *p == '.') {
        const char* after = digits(p + 1);
        if (after == p + 1) return nullptr;
        p = after;
    }
    exponent = p < end && (*p == 'e' || *p == 'E');
    if (exponent) {
        ++p;
        if (p < end && (*p == '+' || *p == '-')) ++p;
        const char* after = digits(p);
        if (after == p) return nullptr;
        p = after;
    }
    return p < end ? p : nullptr;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The four hex digits at text, or -1.
long Hex4(const char* text) {
    long value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

void AppendUtf8(std::string& out, long cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Whether a number that a double cannot hold is too large (rather than too small, which
// reads as zero): the decimal exponent of its first significant digit is positive.
bool Overflows(std::string_view number) {
    std::size_t i = number.starts_with('-') ? 1 : 0;
    long magnitude = 0;  // digits before the point, or minus the zeros after it
    bool significant = false;
    for (; i < number.size() && IsDigit(number[i]); ++i) {
        significant = significant || number[i] != '0';
        if (significant) ++magnitude;
    }
    if (i < number.size() && number[i] == '.') {
        for (++i; i < number.size() && IsDigit(number[i]); ++i) {
            if (!significant && number[i] == '0') --magnitude;
            significant = significant || number[i] != '0';
        }
    }
    if (!significant) return false;
    long exponent = 0;
    if (i < number.size()) {  // e or E
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
        for (; i < number.size(); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1L << 40);
        if (negative) exponent = -exponent;
    }
    return magnitude + exponent > 0;
}

}  // namespace

JsonReader::JsonReader(ReadBlock read, std::string name, std::size_t block_size)
    : read_(std::move(read)),
      name_(std::move(name)),
      block_size_(std::max<std::size_t>(block_size, 16)) {
    if (Ensure(3) && std::memcmp(buffer_.data() + pos_, "\xEF\xBB\xBF", 3) == 0) {
        pos_ += 3;
        line_start_ = pos_;
    }
}

bool JsonReader::Refill() {
    if (eof_) return false;
    line_chars_ += CountChars(buffer_.data() + line_start_, pos_ - line_start_);
    const std::size_t keep = end_ - pos_;
    if (keep > 0 && pos_ > 0) std::memmove(buffer_.data(), buffer_.data() + pos_, keep);
    pos_ = 0;
    end_ = keep;
    line_start_ = 0;
    if (buffer_.size() < keep + block_size_) buffer_.resize(keep + block_size_);
    const std::size_t got = read_(buffer_.data() + end_, block_size_);
    if (got == 0) {
        eof_ = true;
        return false;
    }
    end_ += got;
    return true;
}

bool JsonReader::Ensure(std::size_t n) {
    while (end_ - pos_ < n) {
        if (!Refill()) return false;
    }
    return true;
}

int JsonReader::SkipBlanks() {
    for (;;) {
        while (pos_ < end_) {
            const char c = buffer_[pos_];
            if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else if (c == '\n') {
                ++pos_;
                ++line_;
                line_start_ = pos_;
                line_chars_ = 0;
            } else {
                return static_cast<unsigned char>(c);
            }
        }
        if (!Refill()) return kEnd;
    }
}

int JsonReader::PeekInLine() {
    for (;;) {
        const int c = Current();
        if (c != ' ' && c != '\t' && c != '\r') return c;
        ++pos_;
    }
}

void JsonReader::ExpectAfterBlanks(char c) {
    if (Peek() != static_cast<unsigned char>(c)) Unexpected();
    ++pos_;
}

void JsonReader::ReadString(std::string& out) {
    out.clear();
    String(&out, false);
}

void JsonReader::ReadValue(std::string& out) {
    out.clear();
    Value(&out, false);
}

void JsonReader::SkipValue() {
    Value(nullptr, false);
}

void JsonReader::Fail(std::string_view what) {
    const std::size_t column =
        line_chars_ + CountChars(buffer_.data() + line_start_, pos_ - line_start_) + 1;
    throw DataSourceError(name_ + ": line " + std::to_string(line_) + ", column " +
                          std::to_string(column) + ": " + std::string(what));
}

void JsonReader::Malformed(std::string_view what) {
    Fail("malformed JSON: " + std::string(what));
}

void JsonReader::Unexpected() {
    if (!Ensure(12) && pos_ >= end_) Malformed("the text ends before the JSON does");
    std::string_view near(buffer_.data() + pos_, std::min<std::size_t>(12, end_ - pos_));
    near = near.substr(0, near.find_first_of("\r\n"));
    // No character cut in two.
    std::size_t whole = near.size();
    while (whole > 0 && whole < end_ - pos_ &&
           (static_cast<unsigned char>(buffer_[pos_ + whole]) & 0xC0) == 0x80) {
        --whole;
    }
    near = near.substr(0, whole);
    if (near.empty()) Malformed("unexpected line end");
    Malformed("unexpected \"" + std::string(near) + "\"");
}

void JsonReader::String(std::string* out, bool raw) {
    raw = raw && out != nullptr;
    ++pos_;  // the opening quote
    if (raw) out->push_back('"');
    for (;;) {
        const char* start = buffer_.data() + pos_;
        const char* stop = PlainRun(start, buffer_.data() + end_);
        if (out != nullptr) out->append(start, static_cast<std::size_t>(stop - start));
        pos_ += static_cast<std::size_t>(stop - start);
        const int c = Current();
        if (c == kEnd) Malformed("the text ends inside a string");
        if (c == '"') {
            ++pos_;
            if (raw) out->push_back('"');
            return;
        }
        if (c == '\\') {
            Escape(out, raw);
        } else if (c < 0x20) {
            Malformed(c == '\n' ? "a line end inside a string (a string not closed?)"
                                : "a control character inside a string (write it as an escape)");
        } else if (c >= 0x80) {
            Utf8Sequence(out, static_cast<unsigned char>(c));
        }
    }
}

void JsonReader::Escape(std::string* out, bool raw) {
    if (!Ensure(2)) Malformed("the text ends inside a string");
    const char kind = buffer_[pos_ + 1];
    char plain = 0;
    switch (kind) {
        case '"':
            plain = '"';
            break;
        case '\\':
            plain = '\\';
            break;
        case '/':
            plain = '/';
            break;
        case 'b':
            plain = '\b';
            break;
        case 'f':
            plain = '\f';
            break;
        case 'n':
            plain = '\n';
            break;
        case 'r':
            plain = '\r';
            break;
        case 't':
            plain = '\t';
            break;
        case 'u':
            break;
        default:
            Malformed("unknown escape \"\\" + std::string(1, kind) + "\" in a string");
    }
    if (plain != 0) {
        if (out != nullptr) {
            if (raw) {
                out->append(buffer_.data() + pos_, 2);
            } else {
                out->push_back(plain);
            }
        }
        pos_ += 2;
        return;
    }
    const long high = Ensure(6) ? Hex4(buffer_.data() + pos_ + 2) : -1;
    if (high < 0) Malformed("a \\u escape needs four hex digits");
    std::size_t length = 6;
    long cp = high;
    if (high >= 0xDC00 && high <= 0xDFFF) Malformed("a \\u escape of a lone low surrogate");
    if (high >= 0xD800 && high <= 0xDBFF) {
        const long low = Ensure(12) && buffer_[pos_ + 6] == '\\' && buffer_[pos_ + 7] == 'u'
                             ? Hex4(buffer_.data() + pos_ + 8)
                             : -1;
        if (low < 0xDC00 || low > 0xDFFF) {
            Malformed("a \\u escape of a high surrogate without its low surrogate");
        }
        cp = 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
        length = 12;
    }
    if (out != nullptr) {
        if (raw) {
            out->append(buffer_.data() + pos_, length);
        } else {
            AppendUtf8(*out, cp);
        }
    }
    pos_ += length;
}

void JsonReader::Utf8Sequence(std::string* out, unsigned char lead) {
    std::size_t length = 0;
    unsigned char low = 0x80;  // bounds of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong form
        if (lead == 0xED) high = 0x9F;  // no surrogate
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        Malformed("a string that is not UTF-8");
    }
    if (!Ensure(length)) Malformed("a string that is not UTF-8");
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(buffer_[pos_ + i]);
        const bool fits = i == 1 ? b >= low && b <= high : b >= 0x80 && b <= 0xBF;
        if (!fits) Malformed("a string that is not UTF-8");
    }
    if (out != nullptr) out->append(buffer_.data() + pos_, length);
    pos_ += length;
}

void JsonReader::Number(std::string* out) {
    // Mostly the whole number is in the block and is taken from there.
    bool exponent = false;
    const char* start = buffer_.data() + pos_;
    const char* stop = NumberEnd(start, buffer_.data() + end_, exponent);
    std::string_view number;
    if (stop != nullptr) {
        number = std::string_view(start, static_cast<std::size_t>(stop - start));
        pos_ += number.size();
    } else {
        NumberAcrossBlocks();
        number = number_;
        exponent = number.find_first_of("eE") != std::string_view::npos;
    }
    // Only an exponent or hundreds of digits can go beyond the range of a double.
    if (exponent || number.size() > 300) {
        double value = 0;
        const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
        if (result.ec == std::errc::result_out_of_range && Overflows(number)) {
            Malformed("the number " + std::string(number) + " is beyond the range of a double");
        }
    }
    if (out != nullptr) out->append(number);
}

void JsonReader::NumberAcrossBlocks() {
    number_.clear();
    const auto take = [this] { number_.push_back(buffer_[pos_++]); };
    if (Current() == '-') take();
    const int c = Current();
    if (c == '0') {
        take();
    } else if (IsDigit(c)) {
        while (IsDigit(Current())) take();
    } else {
        Malformed("a minus sign without a number");
    }
    if (Current() == '.') {
        take();
        if (!IsDigit(Current())) Malformed("a number without digits after its decimal point");
        while (IsDigit(Current())) take();
    }
    if (Current() == 'e' || Current() == 'E') {
        take();
        if (Current() == '+' || Current() == '-') take();
        if (!IsDigit(Current())) Malformed("a number without digits in its exponent");
        while (IsDigit(Current())) take();
    }
}

void JsonReader::Literal(std::string_view word, std::string* out) {
    if (!Ensure(word.size()) || std::string_view(buffer_.data() + pos_, word.size()) != word) {
        Unexpected();
    }
    pos_ += word.size();
    if (out != nullptr) out->append(word);
}

void JsonReader::Scalar(int c, std::string* out, bool raw) {
    switch (c) {
        case '"':
            String(out, raw);
            return;
        case 't':
            Literal("true", out);
            return;
        case 'f':
            Literal("false", out);
            return;
        case 'n':
            Literal("null", raw ? out : nullptr);
            return;
        case kEnd:
            Malformed("the text ends before the JSON does");
        default:
            if (c == '-' || IsDigit(c)) {
                Number(out);
                return;
            }
            Unexpected();
    }
}

void JsonReader::Value(std::string* out, bool raw) {
    int c = Peek();
    if (c != '{' && c != '[') {
        Scalar(c, out, raw);
        return;
    }
    const auto put = [out](char ch) {
        if (out != nullptr) out->push_back(ch);
    };
    open_.clear();
    bool first = true;  // right after an opening bracket
    ++pos_;
    put(static_cast<char>(c));
    open_.push_back(static_cast<char>(c));
    while (!open_.empty()) {
        const char kind = open_.back();
        c = Peek();
        if (c == (kind == '{' ? '}' : ']')) {
            ++pos_;
            put(static_cast<char>(c));
            open_.pop_back();
            first = false;
            continue;
        }
        if (!first) {
            if (c != ',') Unexpected();
            ++pos_;
            put(',');
            c = Peek();
        }
        first = false;
        if (kind == '{') {
            if (c != '"') Unexpected();
            String(out, true);
            Expect(':');
            put(':');
            c = Peek();
        }
        if (c == '{' || c == '[') {
            if (open_.size() >= kMaxDepth) Malformed("values nested too deeply");
            ++pos_;
            put(static_cast<char>(c));
            open_.push_back(static_cast<char>(c));
            first = true;
        } else {
            Scalar(c, out, true);
        }
    }
}

}  // namespace quillon::data
