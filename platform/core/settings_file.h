#pragma once
// Reader for the settings file QUILDOC.INI (an INI file: [SECTION] headers, KEY=VALUE lines,
// ";" comments). Section names and keys are case-insensitive. Sections keep their order,
// and each section keeps its raw lines as written, in order, for the rules that read a
// section line by line.
//
// A missing or unreadable file is an empty settings file: every lookup gives its default.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

class SettingsFile {
  public:
    struct Entry {
        std::string key;    // trimmed, as written
        std::string value;  // trimmed, one pair of enclosing quotes removed
    };
    struct Section {
        std::string name;                    // as written
        std::vector<std::string> raw_lines;  // trimmed non-comment lines, in order
        std::vector<Entry> entries;          // KEY=VALUE lines, in order
    };

    SettingsFile() = default;

    // Reads the file at path; a missing or unreadable file gives an empty settings file.
    static SettingsFile Load(const std::filesystem::path& path);
    // Parses settings text.
    static SettingsFile Parse(std::string_view text);

    // Where QUILDOC.INI is looked up: $QUILDOC_INI when set; else QUILDOC.INI in the current
    // directory when it exists; else $XDG_CONFIG_HOME/quillon/QUILDOC.INI (XDG_CONFIG_HOME
    // defaults to ~/.config).
    static std::filesystem::path Locate();
    // Load(Locate()).
    static SettingsFile LoadDefault();

    bool HasSection(std::string_view section) const;
    // Section names in file order (a section that appears twice is listed once).
    std::vector<std::string> SectionNames() const;
    // The section, or nullptr.
    const Section* FindSection(std::string_view section) const;

    // The value of the first line of section with this key, or nullopt.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view default_value) const;
    // An integer value; the default when missing or not a whole decimal number.
    long ReadInteger(std::string_view section, std::string_view key, long default_value) const;

    // Raw lines of a section ("KEY=VALUE" as written); empty when the section is missing.
    const std::vector<std::string>& RawLines(std::string_view section) const;
    // Entries of a section in order; empty when the section is missing.
    const std::vector<Entry>& Entries(std::string_view section) const;

  private:
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> index_;  // upper-cased name -> sections_
};

}  // namespace quillon
