#include "platform/core/code_pages.h"

#include <memory>
#include <vector>

#include "platform/core/code_page_tables.h"
#include "platform/core/text_encoding.h"

namespace quillon::text {

namespace {

// A name reduced for comparison: upper case, without blanks, hyphens and underscores.
std::string NameKey(std::string_view name) {
    std::string key;
    for (const char c : Trim(name)) {
        if (c != ' ' && c != '-' && c != '_') key += AsciiUpper(c);
    }
    return key;
}

}  // namespace

// Every code page once, with the names it is found under.
class CodePageRegistry {
  public:
    CodePageRegistry() {
        for (std::size_t i = 0; i < kCodePageDefCount; ++i) {
            const CodePageDef& def = kCodePageDefs[i];
            pages_.push_back(
                std::make_unique<CodePage>(CodePage::Key(), def.name, def.upper->data()));
            const CodePage* page = pages_.back().get();
            const std::string number = std::to_string(def.number);
            names_[NameKey(def.name)] = page;
            names_["CP" + number] = page;
            if (def.number < 28000) names_[number] = page;
        }
        Alias("LATIN1", "ISO88591");
        Alias("LATIN2", "ISO88592");
        Alias("LATIN9", "ISO885915");
        Alias("ISO8859", "ISO88591");
    }

    const CodePage* Find(std::string_view name) const {
        const auto it = names_.find(NameKey(name));
        return it == names_.end() ? nullptr : it->second;
    }

  private:
    void Alias(const std::string& alias, const std::string& target) {
        if (const auto it = names_.find(target); it != names_.end()) names_[alias] = it->second;
    }

    std::vector<std::unique_ptr<CodePage>> pages_;
    std::unordered_map<std::string, const CodePage*> names_;
};

namespace {

const CodePageRegistry& Registry() {
    static const CodePageRegistry registry;
    return registry;
}

}  // namespace

CodePage::CodePage(Key, std::string name, const char32_t* upper)
    : name_(std::move(name)), upper_(upper) {
    for (int i = 0; i < 128; ++i) {
        if (upper_[i] != 0) bytes_.emplace(upper_[i], static_cast<unsigned char>(0x80 + i));
    }
}

const CodePage* CodePage::Find(std::string_view name) {
    return Registry().Find(name);
}

const CodePage& CodePage::Windows1252() {
    static const CodePage* page = Find("Windows-1252");
    return *page;
}

std::optional<unsigned char> CodePage::Encode(char32_t c) const {
    if (c < 0x80) return static_cast<unsigned char>(c);
    const auto it = bytes_.find(c);
    if (it == bytes_.end()) return std::nullopt;
    return it->second;
}

char32_t CodePage::Decode(unsigned char byte) const {
    return byte < 0x80 ? char32_t{byte} : upper_[byte - 0x80];
}

}  // namespace quillon::text
