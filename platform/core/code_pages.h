#pragma once
// Single-byte code pages of character printers: Windows-1250, -1251, -1252, -1257, the
// IBM PC pages 437, 775, 850, 852 and 866, and ISO-8859-1, -2 and -15. Bytes below 0x80
// are ASCII in all of them.
//
//   const text::CodePage* page = text::CodePage::Find("cp850");
//   std::optional<unsigned char> byte = page->Encode(U'é');  // 0x82

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quillon::text {

class CodePage {
  public:
    // The code page of a name, compared without regard to case: "Windows-1252", "cp1252",
    // "1252", "IBM850", "cp850", "850", "ISO-8859-15", "iso8859-15", "latin1" (ISO-8859-1),
    // "latin9" (ISO-8859-15). nullptr for a name that is none of them.
    static const CodePage* Find(std::string_view name);
    static const CodePage& Windows1252();

    // The name it is listed under ("Windows-1252").
    const std::string& Name() const { return name_; }
    // The byte of c, or nullopt when the code page has no such character.
    std::optional<unsigned char> Encode(char32_t c) const;
    // The character of a byte; 0 for a byte the code page leaves undefined.
    char32_t Decode(unsigned char byte) const;

    // Only the registry of code pages makes them.
    class Key {
        Key() = default;
        friend class CodePageRegistry;
    };
    CodePage(Key, std::string name, const char32_t* upper);
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

  private:
    std::string name_;
    const char32_t* upper_;
    std::unordered_map<char32_t, unsigned char> bytes_;  // characters above 0x7F -> byte
};

}  // namespace quillon::text
