#include "platform/mail/mime_encoding.h"

#include <algorithm>
#include <vector>

#include "platform/core/text_encoding.h"

namespace quillon::mail {

namespace {

constexpr std::string_view kBase64 =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kHex = "0123456789ABCDEF";
constexpr std::size_t kLineLimit = 76;

std::string Base64(std::string_view data) {
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= data.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(data[i]) << 16 |
                           static_cast<unsigned char>(data[i + 1]) << 8 |
                           static_cast<unsigned char>(data[i + 2]);
        out += kBase64[v >> 18];
        out += kBase64[(v >> 12) & 63];
        out += kBase64[(v >> 6) & 63];
        out += kBase64[v & 63];
    }
    const std::size_t rest = data.size() - i;
    if (rest > 0) {
        unsigned v = static_cast<unsigned char>(data[i]) << 16;
        if (rest == 2) v |= static_cast<unsigned char>(data[i + 1]) << 8;
        out += kBase64[v >> 18];
        out += kBase64[(v >> 12) & 63];
        out += rest == 2 ? kBase64[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

void AppendHex(std::string& out, char prefix, unsigned char c) {
    out += prefix;
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

// Replaces control characters (line breaks above all) with blanks.
std::string WithoutControls(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) c = ' ';
    }
    return out;
}

bool IsPrintableAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

// UTF-8 text as encoded words of at most `chunk` bytes each (never splitting a character),
// separated by a fold.
std::string EncodedWords(std::string_view utf8) {
    constexpr std::size_t kChunk = 39;  // 52 base64 characters: a word of 64
    std::string out;
    while (!utf8.empty()) {
        std::size_t n = 0;
        while (n < utf8.size()) {
            const std::size_t len =
                std::max<std::size_t>(1, text::Utf8SequenceLength(utf8.substr(n)));
            if (n > 0 && n + len > kChunk) break;
            n += len;
        }
        if (!out.empty()) out += "\r\n ";
        out += "=?UTF-8?B?" + Base64(utf8.substr(0, n)) + "?=";
        utf8.remove_prefix(n);
    }
    return out;
}

}  // namespace

std::string AsUtf8(std::string_view text) {
    return text::IsValidUtf8(text) ? std::string(text) : text::Cp1252ToUtf8(text);
}

std::string Base64Lines(std::string_view data) {
    const std::string encoded = Base64(data);
    std::string out;
    out.reserve(encoded.size() + encoded.size() / kLineLimit * 2 + 2);
    for (std::size_t i = 0; i < encoded.size(); i += kLineLimit) {
        out.append(encoded, i, kLineLimit);
        out += "\r\n";
    }
    return out;
}

std::string QuotedPrintable(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::size_t column = 0;
    auto append = [&](std::string_view piece) {
        // A soft break keeps every line within the limit, counting its "=".
        if (column + piece.size() > kLineLimit - 1) {
            out += "=\r\n";
            column = 0;
        }
        out += piece;
        column += piece.size();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
            column = 0;
            continue;
        }
        const bool line_end = i + 1 == text.size() || text[i + 1] == '\r' || text[i + 1] == '\n';
        std::string piece;
        if ((c == ' ' || c == '\t') && !line_end) {
            piece = static_cast<char>(c);
        } else if (c > 0x20 && c < 0x7F && c != '=') {
            piece = static_cast<char>(c);
        } else {
            AppendHex(piece, '=', c);
        }
        append(piece);
    }
    return out;
}

std::string HeaderText(std::string_view text, std::size_t used) {
    const std::string clean = WithoutControls(AsUtf8(text));
    // Plain text that cannot be mistaken for encoded words, with no word longer than a
    // line may be, is folded at its blanks.
    constexpr std::size_t kLongestWord = 900;
    bool plain = IsPrintableAscii(clean) && clean.find("=?") == std::string::npos;
    if (plain) {
        std::size_t word = 0;
        for (char c : clean) {
            word = c == ' ' ? 0 : word + 1;
            if (word > kLongestWord) plain = false;
        }
    }
    if (!plain) return EncodedWords(clean);
    std::string out;
    std::size_t column = used;
    std::size_t start = 0;
    while (start < clean.size()) {
        // A piece is a run of blanks followed by a word; a fold goes before its blanks.
        std::size_t end = clean.find_first_not_of(' ', start);
        end = end == std::string::npos ? clean.size() : clean.find(' ', end);
        if (end == std::string::npos) end = clean.size();
        const std::size_t len = end - start;
        if (column + len > 78 && column > used && clean[start] == ' ') {
            out += "\r\n";
            column = 0;
        }
        out.append(clean, start, len);
        column += len;
        start = end;
    }
    return out;
}

std::string HeaderPhrase(std::string_view name) {
    const std::string clean = WithoutControls(AsUtf8(name));
    if (clean.empty()) return {};
    // Encoded words also for a long name: they fold, a quoted string cannot.
    if (!IsPrintableAscii(clean) || clean.size() > 60) return EncodedWords(clean);
    constexpr std::string_view kSpecials = "()<>[]:;@\\,.\"";
    if (clean.find_first_of(kSpecials) == std::string::npos &&
        clean.find("=?") == std::string::npos)
        return clean;
    std::string out = "\"";
    for (char c : clean) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string FileNameParameter(std::string_view param, std::string_view value) {
    const std::string utf8 = WithoutControls(AsUtf8(value));
    std::string out;
    const bool quotable = IsPrintableAscii(utf8) &&
                          utf8.find_first_of("\"\\") == std::string::npos && utf8.size() <= 60;
    if (quotable) return "; " + std::string(param) + "=\"" + utf8 + "\"";
    // Extended form: UTF-8'' then the bytes, attribute characters as they are and every
    // other byte as %XX; sections of at most 40 characters, never splitting a %XX.
    auto attribute_char = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               std::string_view("!#$&+-.^_`|~").find(static_cast<char>(c)) !=
                   std::string_view::npos;
    };
    std::vector<std::string> sections{"UTF-8''"};
    for (char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        std::string piece;
        if (attribute_char(c)) {
            piece = ch;
        } else {
            AppendHex(piece, '%', c);
        }
        if (sections.back().size() + piece.size() > 40) sections.emplace_back();
        sections.back() += piece;
    }
    if (sections.size() == 1) return ";\r\n " + std::string(param) + "*=" + sections.front();
    for (std::size_t i = 0; i < sections.size(); ++i) {
        out += ";\r\n " + std::string(param) + "*" + std::to_string(i) + "*=" + sections[i];
    }
    return out;
}

}  // namespace quillon::mail
