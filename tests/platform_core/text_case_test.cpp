// Case changes without a locale: one character for one, in the scripts reports use.

#include <gtest/gtest.h>

#include "platform/core/text_case.h"

namespace quillon::text {
namespace {

TEST(TextCase, PairsRoundTripInEveryCoveredScript) {
    const std::u32string lower = U"abcz àéîõüþÿ āčďęğıķĺľňőœřšůžſ αβγωάέήί абвяёђџ";
    const std::u32string upper = U"ABCZ ÀÉÎÕÜÞŸ ĀČĎĘĞIĶĹĽŇŐŒŘŠŮŽS ΑΒΓΩΆΈΉΊ АБВЯЁЂЏ";
    std::u32string s = lower;
    ChangeCase(s, CaseChange::Upper);
    EXPECT_EQ(s, upper);
    // Back down: ı and ſ have no way back, the rest does.
    ChangeCase(s, CaseChange::Lower);
    std::u32string expected = lower;
    expected[expected.find(U'ı')] = U'i';
    expected[expected.find(U'ſ')] = U's';
    EXPECT_EQ(s, expected);
}

TEST(TextCase, LettersWithoutAPairAndOtherScriptsStay) {
    for (char32_t c : {U'ß', U'ĸ', U'ŉ', U'×', U'÷', U'1', U'€', U'中', U'ש'}) {
        EXPECT_EQ(ToUpper(c), c) << static_cast<unsigned>(c);
        EXPECT_EQ(ToLower(c), c) << static_cast<unsigned>(c);
    }
    EXPECT_EQ(ToUpper(U'ς'), U'Σ');
    EXPECT_EQ(ToUpper(U'µ'), U'Μ');
}

TEST(TextCase, CapitalizeStartsEveryWord) {
    std::u32string s = U"café mozart\u00a0wien and ÿves";
    ChangeCase(s, CaseChange::Capitalize);
    EXPECT_EQ(s, U"Café Mozart\u00a0Wien And Ÿves");
    std::u32string rest = U"de la rue";
    ChangeCase(rest, CaseChange::Capitalize, false);  // goes on inside a word
    EXPECT_EQ(rest, U"de La Rue");
}

}  // namespace
}  // namespace quillon::text
