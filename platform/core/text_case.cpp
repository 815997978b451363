#include "platform/core/text_case.h"

namespace quillon::text {

namespace {

// Latin Extended-A pairs upper case at the even code point, except in these two runs.
bool OddIsUpper(char32_t c) {
    return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
}

}  // namespace

char32_t ToUpper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c < 0xB5) return c;
    if (c == 0xB5) return 0x39C;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
        c != 0x178 && c != 0x17F) {
        const bool odd = (c & 1) != 0;
        if (OddIsUpper(c) || OddIsUpper(c - 1)) return odd ? c : c - 1;
        return odd ? c - 1 : c;
    }
    if (c == 0x131) return U'I';
    if (c == 0x17F) return U'S';
    if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? 0x3A3 : c - 0x20;
    if (c >= 0x3AC && c <= 0x3AF) return c == 0x3AC ? 0x386 : c - 0x25;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

char32_t ToLower(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c < 0xC0) return c;
    if (c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
        c != 0x17F) {
        const bool odd = (c & 1) != 0;
        if (OddIsUpper(c) || OddIsUpper(c + 1)) return odd ? c + 1 : c;
        return odd ? c : c + 1;
    }
    if (c == 0x130) return U'i';
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

void ChangeCase(std::u32string& s, CaseChange change, bool at_word_start) {
    bool word_start = at_word_start;
    for (char32_t& c : s) {
        switch (change) {
            case CaseChange::Upper:
                c = ToUpper(c);
                break;
            case CaseChange::Lower:
                c = ToLower(c);
                break;
            case CaseChange::Capitalize:
                if (word_start) c = ToUpper(c);
                break;
        }
        word_start = c == U' ' || c == 0xA0 || c == U'\t' || c == U'\n';
    }
}

}  // namespace quillon::text
