#include "apps/quillon/burst_output.h"

#include <charconv>
#include <cstdio>
#include <filesystem>

#include "platform/core/text_encoding.h"

namespace quillon::app {

namespace {

// File systems take names of up to 255 bytes; leave room for the pattern and a suffix.
constexpr std::size_t kMaxValueBytes = 160;

void AppendEscaped(std::string& out, unsigned char c) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned>(c));
    out += buf;
}

void AppendJsonString(std::string& out, std::string_view s) {
    out += '"';
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            out += buf;
        } else {
            out += ch;
        }
    }
    out += '"';
}

}  // namespace

std::optional<BurstPattern> ParseBurstPattern(std::string_view out, std::string_view column,
                                              std::string& error) {
    const std::string wanted = "{" + text::AsciiUpperCase(column) + "}";
    std::optional<BurstPattern> pattern;
    for (std::size_t open = out.find('{'); open != std::string_view::npos;
         open = out.find('{', open + 1)) {
        const std::size_t close = out.find('}', open);
        const std::string_view name = out.substr(
            open, close == std::string_view::npos ? std::string_view::npos : close - open + 1);
        if (text::AsciiUpperCase(name) != wanted) {
            error = "--out: " + std::string(name) + " is not the --split column; write {" +
                    std::string(column) + "} where each file's group value goes";
            return std::nullopt;
        }
        if (pattern) {
            error = "--out: {" + std::string(column) + "} may stand only once in the file name";
            return std::nullopt;
        }
        pattern =
            BurstPattern{std::string(out.substr(0, open)), std::string(out.substr(close + 1))};
    }
    if (!pattern) {
        error = "--split writes one file per group: --out needs {" + std::string(column) +
                "} in the file name, e.g. --out 'report-{" + std::string(column) + "}.htm'";
    }
    return pattern;
}

std::string SafeFileNamePart(std::string_view value) {
    if (value.empty()) return "%20";
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        const bool unsafe =
            c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == '%' || (i == 0 && c == '.');
        // Cut before a character (not inside one) once the name is long enough.
        if (out.size() >= kMaxValueBytes && (c & 0xC0) != 0x80) break;
        if (unsafe) {
            AppendEscaped(out, c);
        } else {
            out += value[i];
        }
    }
    return out;
}

std::string BurstNames::For(std::string_view value) {
    const std::string part = SafeFileNamePart(value);
    std::string name = pattern_.before + part + pattern_.after;
    if (used_.insert(name).second) return name;
    // The suffix goes before the extension of the file name (not of a folder in the path).
    const std::filesystem::path path(name);
    const std::string ext = path.extension().string();
    const std::string stem = name.substr(0, name.size() - ext.size());
    for (int n = 2;; ++n) {
        std::string candidate = stem + "-" + std::to_string(n) + ext;
        if (used_.insert(candidate).second) return candidate;
    }
}

std::optional<Shard> ParseShard(std::string_view text, std::string& error) {
    const std::size_t slash = text.find('/');
    Shard shard;
    const auto number = [](std::string_view s, std::uint64_t& v) {
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        return ec == std::errc() && end == s.data() + s.size() && !s.empty();
    };
    if (slash == std::string_view::npos || !number(text.substr(0, slash), shard.index) ||
        !number(text.substr(slash + 1), shard.count) || shard.count == 0 ||
        shard.index >= shard.count) {
        error = "--shard " + std::string(text) +
                ": write K/N with 0 <= K < N (this run's number K counted from 0, of N runs)";
        return std::nullopt;
    }
    return shard;
}

bool InShard(std::string_view value, const Shard& shard) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : value) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h % shard.count == shard.index;
}

std::string ManifestLine(std::string_view file, std::string_view group, std::size_t records,
                         int pages) {
    std::string line = "{\"file\":";
    AppendJsonString(line, file);
    line += ",\"group\":";
    AppendJsonString(line, group);
    line +=
        ",\"records\":" + std::to_string(records) + ",\"pages\":" + std::to_string(pages) + "}\n";
    return line;
}

}  // namespace quillon::app
