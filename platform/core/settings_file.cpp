#include "platform/core/settings_file.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

std::string_view StripQuotes(std::string_view v) {
    if (v.size() >= 2 &&
        ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\''))) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

const std::vector<std::string> kNoLines;
const std::vector<SettingsFile::Entry> kNoEntries;

}  // namespace

SettingsFile SettingsFile::Parse(std::string_view text) {
    SettingsFile result;
    Section* current = nullptr;
    std::size_t pos = 0;
    // A UTF-8 byte order mark at the start is not part of the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text::Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view name = text::Trim(
                line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            const std::string key = text::AsciiUpperCase(name);
            auto it = result.index_.find(key);
            if (it == result.index_.end()) {
                it = result.index_.emplace(key, result.sections_.size()).first;
                result.sections_.push_back(Section{std::string(name), {}, {}});
            }
            current = &result.sections_[it->second];
            continue;
        }
        if (current == nullptr) continue;  // lines before the first section belong to none
        current->raw_lines.emplace_back(line);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        current->entries.push_back(
            Entry{std::string(text::Trim(line.substr(0, eq))),
                  std::string(StripQuotes(text::Trim(line.substr(eq + 1))))});
    }
    return result;
}

SettingsFile SettingsFile::Load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return {};
    return Parse(buffer.str());
}

std::filesystem::path SettingsFile::Locate() {
    if (const char* env = std::getenv("QUILDOC_INI"); env != nullptr && *env != '\0') {
        return env;
    }
    std::error_code ec;
    if (std::filesystem::is_regular_file("QUILDOC.INI", ec)) return "QUILDOC.INI";
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        config = std::filesystem::path(home) / ".config";
    } else {
        return "QUILDOC.INI";
    }
    return config / "quillon" / "QUILDOC.INI";
}

SettingsFile SettingsFile::LoadDefault() {
    return Load(Locate());
}

const SettingsFile::Section* SettingsFile::FindSection(std::string_view section) const {
    const auto it = index_.find(text::AsciiUpperCase(text::Trim(section)));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

bool SettingsFile::HasSection(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::vector<std::string> SettingsFile::SectionNames() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const auto& s : sections_) names.push_back(s.name);
    return names;
}

std::optional<std::string> SettingsFile::Value(std::string_view section,
                                               std::string_view key) const {
    const Section* s = FindSection(section);
    if (s == nullptr) return std::nullopt;
    const std::string_view k = text::Trim(key);
    for (const auto& e : s->entries) {
        if (text::EqualsIgnoreCase(e.key, k)) return e.value;
    }
    return std::nullopt;
}

std::string SettingsFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view default_value) const {
    auto v = Value(section, key);
    return v ? std::move(*v) : std::string(default_value);
}

long SettingsFile::ReadInteger(std::string_view section, std::string_view key,
                               long default_value) const {
    const auto v = Value(section, key);
    if (!v) return default_value;
    long result = 0;
    const char* first = v->data();
    const char* last = v->data() + v->size();
    if (first != last && *first == '+') ++first;
    const auto [ptr, ec] = std::from_chars(first, last, result);
    if (ec != std::errc() || ptr != last || first == last) return default_value;
    return result;
}

const std::vector<std::string>& SettingsFile::RawLines(std::string_view section) const {
    const Section* s = FindSection(section);
    return s == nullptr ? kNoLines : s->raw_lines;
}

const std::vector<SettingsFile::Entry>& SettingsFile::Entries(std::string_view section) const {
    const Section* s = FindSection(section);
    return s == nullptr ? kNoEntries : s->entries;
}

}  // namespace quillon
