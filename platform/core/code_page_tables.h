#pragma once
// The mapping tables behind text::CodePage (code_pages.h), one per supported code page.

#include <array>
#include <cstddef>

namespace quillon::text {

// The characters of bytes 0x80 to 0xFF; 0 for a byte the code page leaves undefined.
using CodePageHalf = std::array<char32_t, 128>;

struct CodePageDef {
    const char* name;  // the name the code page is listed under, e.g. "Windows-1252"
    int number;        // its number, e.g. 1252 or 437 (28591 for ISO-8859-1)
    const CodePageHalf* upper;
};

extern const CodePageDef kCodePageDefs[];
extern const std::size_t kCodePageDefCount;

}  // namespace quillon::text
