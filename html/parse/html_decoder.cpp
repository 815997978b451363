#include "html/parse/html_decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {

namespace {

char LowerAscii(char c) {
    return text::AsciiLower(c);
}

enum class Declared { None, Utf8, Cp1252 };

// What a charset name means here: the names of UTF-8 and UTF-16 give UTF-8, those of
// Windows-1252, ISO-8859-1 and US-ASCII give Windows-1252; any other is not understood.
Declared CharsetMeaning(std::string_view name) {
    static constexpr std::string_view kUtf8[] = {
        "utf-8",         "utf8",          "unicode-1-1-utf-8",
        "unicode11utf8", "unicode20utf8", "x-unicode20utf8",
        "utf-16",        "utf-16le",      "utf-16be",
        "unicode",       "unicodefeff",   "unicodefffe",
        "ucs-2",         "csunicode",     "iso-10646-ucs-2"};
    static constexpr std::string_view kCp1252[] = {
        "windows-1252", "cp1252",         "x-cp1252",        "iso-8859-1", "iso8859-1",
        "iso88591",     "iso_8859-1",     "iso_8859-1:1987", "iso-ir-100", "l1",
        "latin1",       "csisolatin1",    "ibm819",          "cp819",      "us-ascii",
        "ascii",        "ansi_x3.4-1968", "iso-8859-1:1987", "csascii"};
    for (std::string_view n : kUtf8) {
        if (name == n) return Declared::Utf8;
    }
    for (std::string_view n : kCp1252) {
        if (name == n) return Declared::Cp1252;
    }
    return Declared::None;
}

// The charset the first <META ...> tag of `s` that names one declares, as CHARSET=name or
// inside a CONTENT value ("text/html; charset=name").
Declared MetaCharset(std::string_view s) {
    std::string lower(s.size(), ' ');
    std::transform(s.begin(), s.end(), lower.begin(), LowerAscii);
    std::size_t p = 0;
    while ((p = lower.find("<meta", p)) != std::string::npos) {
        const std::size_t end = std::min(lower.find('>', p), lower.size());
        const std::string_view tag = std::string_view(lower).substr(p, end - p);
        if (auto c = tag.find("charset"); c != std::string_view::npos) {
            std::size_t i = c + 7;
            const auto separator = [](char ch) {
                return ch == ' ' || ch == '=' || ch == '"' || ch == '\'' || ch == '\t' ||
                       ch == '\r' || ch == '\n' || ch == '\f';
            };
            while (i < tag.size() && separator(tag[i])) ++i;
            std::size_t j = i;
            while (j < tag.size() && !separator(tag[j]) && tag[j] != ';' && tag[j] != '/') ++j;
            if (j > i) return CharsetMeaning(tag.substr(i, j - i));
        }
        p = end;
    }
    return Declared::None;
}

// Valid UTF-8, except that a sequence cut short by the end of `s` is accepted when more
// input follows (`complete` false).
bool ValidUtf8Window(std::string_view s, bool complete) {
    std::size_t i = 0;
    while (i < s.size()) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = text::Utf8SequenceLength(s.substr(i));
        if (n == 0) {
            // A sequence cut by the end of the window: valid when some completion is.
            const std::string tail(s.substr(i));
            return !complete && tail.size() < 4 &&
                   (text::Utf8SequenceLength(tail + "\x80\x80\x80") > 0 ||
                    text::Utf8SequenceLength(tail + "\xBF\xBF\xBF") > 0);
        }
        i += n;
    }
    return true;
}

// Widens the leading ASCII bytes of `src` (at most `n`) into `dst`; returns their count.
std::size_t WidenAscii(const unsigned char* src, std::size_t n, char32_t* dst) {
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time while none has the high bit set.
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        if (_mm_movemask_epi8(v) != 0) break;
        const __m128i lo = _mm_unpacklo_epi8(v, zero);
        const __m128i hi = _mm_unpackhi_epi8(v, zero);
        auto* d = reinterpret_cast<__m128i*>(dst + i);
        _mm_storeu_si128(d, _mm_unpacklo_epi16(lo, zero));
        _mm_storeu_si128(d + 1, _mm_unpackhi_epi16(lo, zero));
        _mm_storeu_si128(d + 2, _mm_unpacklo_epi16(hi, zero));
        _mm_storeu_si128(d + 3, _mm_unpackhi_epi16(hi, zero));
    }
#else
    for (; i + 8 <= n; i += 8) {  // eight bytes at a time while none has the high bit set
        std::uint64_t w;
        std::memcpy(&w, src + i, 8);
        if (w & 0x8080808080808080u) break;
        for (std::size_t k = 0; k < 8; ++k) dst[i + k] = src[i + k];
    }
#endif
    while (i < n && src[i] < 0x80) {
        dst[i] = src[i];
        ++i;
    }
    return i;
}

}  // namespace

InputDecoder::InputDecoder(std::unique_ptr<ByteSource> source, std::size_t chunk)
    : source_(std::move(source)), chunk_(std::max<std::size_t>(chunk, 1)) {
    Fill(kMetaScan);
    const std::string_view head = Bytes();
    if (head.starts_with("\xEF\xBB\xBF")) {
        pos_ = 3;
        mode_ = Mode::Utf8;
    } else if (head.starts_with("\xFF\xFE")) {
        pos_ = 2;
        mode_ = Mode::Utf16Le;
    } else if (head.starts_with("\xFE\xFF")) {
        pos_ = 2;
        mode_ = Mode::Utf16Be;
    } else {
        switch (MetaCharset(head.substr(0, kMetaScan))) {
            case Declared::Utf8:
                mode_ = Mode::Utf8;
                break;
            case Declared::Cp1252:
                mode_ = Mode::Cp1252;
                break;
            case Declared::None:
                break;
        }
    }
}

void InputDecoder::Fill(std::size_t want) {
    if (Available() >= want || eof_) return;
    if (pos_ > 0) {  // move the unread bytes to the front
        std::memmove(bytes_.get(), bytes_.get() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    while (end_ < want && !eof_) {
        Reserve(end_ + chunk_);
        const std::size_t n = source_->Read(bytes_.get() + end_, chunk_);
        end_ += n;
        if (n == 0) eof_ = true;
    }
}

void InputDecoder::Reserve(std::size_t need) {
    if (need <= capacity_) return;
    const std::size_t capacity = std::max(need, capacity_ * 2);
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    if (end_ > 0) std::memcpy(grown.get(), bytes_.get(), end_);
    bytes_ = std::move(grown);
    capacity_ = capacity;
}

void InputDecoder::DecideAtNonAscii() {
    Fill(kLookAhead);
    mode_ = ValidUtf8Window(Bytes().substr(pos_), eof_) ? Mode::Utf8 : Mode::Cp1252;
}

std::size_t InputDecoder::DecodeUtf16(char32_t* out, std::size_t max) {
    constexpr char32_t kReplacement = 0xFFFD;
    const bool le = mode_ == Mode::Utf16Le;
    std::size_t n = 0;
    while (n < max) {
        if (Available() < 4 && !eof_) Fill(4);  // a surrogate pair is whole, or the input ends
        const std::size_t available = Available();
        if (available == 0) break;
        if (available == 1) {  // an odd byte at the end
            out[n++] = kReplacement;
            ++pos_;
            continue;
        }
        const auto* p = reinterpret_cast<const unsigned char*>(bytes_.get()) + pos_;
        const auto unit = [p, le](std::size_t i) -> char32_t {
            return le ? p[i] | (char32_t{p[i + 1]} << 8) : (char32_t{p[i]} << 8) | p[i + 1];
        };
        const char32_t u = unit(0);
        pos_ += 2;
        if (u < 0xD800 || u > 0xDFFF) {
            out[n++] = u;
        } else if (u <= 0xDBFF && available >= 4 && unit(2) >= 0xDC00 && unit(2) <= 0xDFFF) {
            out[n++] = 0x10000 + ((u - 0xD800) << 10) + (unit(2) - 0xDC00);
            pos_ += 2;
        } else {
            out[n++] = kReplacement;
        }
    }
    return n;
}

std::size_t InputDecoder::Decode(char32_t* out, std::size_t max) {
    if (mode_ == Mode::Utf16Le || mode_ == Mode::Utf16Be) return DecodeUtf16(out, max);
    std::size_t n = 0;
    while (n < max) {
        if (Available() < 4 && !eof_) Fill(chunk_);
        if (Available() == 0) break;
        const auto* p = reinterpret_cast<const unsigned char*>(bytes_.get());
        const std::size_t end = end_;
        // ASCII is the same in every mode.
        const std::size_t ascii = WidenAscii(p + pos_, std::min(end - pos_, max - n), out + n);
        n += ascii;
        pos_ += ascii;
        if (n == max || pos_ == end) continue;
        if (mode_ == Mode::Undecided) {
            DecideAtNonAscii();
            continue;
        }
        if (mode_ == Mode::Cp1252) {
            while (n < max && pos_ < end) out[n++] = text::Cp1252ToUnicode(p[pos_++]);
            continue;
        }
        // UTF-8: decode whole sequences; refill first when one may be cut by the chunk end.
        while (n < max && pos_ < end) {
            const unsigned char c = p[pos_];
            if (c < 0x80) {
                out[n++] = c;
                ++pos_;
                continue;
            }
            if (end - pos_ < 4 && !eof_) break;
            const std::size_t len = text::Utf8SequenceLength(Bytes().substr(pos_, 4));
            if (len == 0) {
                out[n++] = text::Cp1252ToUnicode(c);
                ++pos_;
                continue;
            }
            char32_t cp = len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
            for (std::size_t k = 1; k < len; ++k) cp = (cp << 6) | (p[pos_ + k] & 0x3F);
            out[n++] = cp;
            pos_ += len;
        }
        if (n < max && pos_ < end && end - pos_ < 4 && !eof_) Fill(4);
    }
    return n;
}

}  // namespace quillon
