#pragma once
// Upper and lower case of Unicode text without a locale: ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic, one character for one (so that positions in the text do not move).
// Characters of other scripts stay as they are.

#include <string>

namespace quillon::text {

char32_t ToUpper(char32_t c);
char32_t ToLower(char32_t c);

enum class CaseChange { Upper, Lower, Capitalize };
// Capitalize puts the first letter of every word (after a space or the start of `s` when
// `at_word_start`) in upper case.
void ChangeCase(std::u32string& s, CaseChange change, bool at_word_start = true);

}  // namespace quillon::text
