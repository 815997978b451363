// The change decisions that keep re-colouring to one line and most keystrokes to none.

#include <gtest/gtest.h>

#include "design/line_change.h"

namespace quillon::design {
namespace {

LineChange Same(std::u16string_view last, std::u16string_view now) {
    return DecideLineChange(true, last, now, u'<', u'>');
}

TEST(CompareStrPTest, FirstDifferenceOverTheShorterLength) {
    EXPECT_EQ(CompareStrP(u"abc", u"abd"), 3u);
    EXPECT_EQ(CompareStrP(u"x", u"y"), 1u);
    EXPECT_EQ(CompareStrP(u"ab", u"abc"), 0u);
    EXPECT_EQ(CompareStrP(u"abc", u"abc"), 0u);
    EXPECT_EQ(CompareStrP(u"", u"xyz"), 0u);
}

TEST(LineChangeTest, LinesThatAreNotExamined) {
    EXPECT_EQ(Same(u"abc", u""), LineChange::Ignore);
    EXPECT_EQ(Same(u"\t<a>", u"\t<ab>"), LineChange::Ignore);
    EXPECT_EQ(DecideLineChange(false, u"", u"\t<a>", u'<', u'>'), LineChange::Ignore);
    EXPECT_EQ(Same(u"<a>b", u"<a>b"), LineChange::Unchanged);
}

TEST(LineChangeTest, AnotherLineOrSeveralCharactersAreRecoloured) {
    EXPECT_EQ(DecideLineChange(false, u"<a>", u"<a>", u'<', u'>'), LineChange::Recolour);
    EXPECT_EQ(Same(u"<a>", u"<a>xy"), LineChange::Recolour);
    EXPECT_EQ(Same(u"<a>xyz", u"<a>x"), LineChange::Recolour);
    // Same length, one character replaced.
    EXPECT_EQ(Same(u"<a>", u"<b>"), LineChange::Recolour);
}

TEST(LineChangeTest, OneCharacterTypedOrDeleted) {
    // Between two tags, and at the end of the line: nothing to do.
    EXPECT_EQ(Same(u"<a>  <b>", u"<a> x <b>"), LineChange::OutsideSpan);
    EXPECT_EQ(Same(u"<a>", u"<a>x"), LineChange::OutsideSpan);
    EXPECT_EQ(Same(u"<a>xy", u"<a>x"), LineChange::OutsideSpan);
    EXPECT_EQ(Same(u"abc", u"abxc"), LineChange::OutsideSpan);
    // A delimiter typed or deleted, or the typed character lands where one stood.
    EXPECT_EQ(Same(u"<a><b>", u"<a>x<b>"), LineChange::Recolour);
    EXPECT_EQ(Same(u"ab", u"a<b"), LineChange::Recolour);
    EXPECT_EQ(Same(u"<a>b", u"<ab"), LineChange::Recolour);
    EXPECT_EQ(Same(u"<a>", u"<a>>"), LineChange::Recolour);
    // Inside a tag: a closing character follows before any opening one.
    EXPECT_EQ(Same(u"<a>", u"<ab>"), LineChange::Recolour);
    EXPECT_EQ(Same(u"<abc>", u"<ac>"), LineChange::Recolour);
    EXPECT_EQ(Same(u"x > y", u"xz > y"), LineChange::Recolour);
}

TEST(LineChangeTest, ASelectionReplacedByOneCharacterIsRecoloured) {
    // "bc>" selected and replaced by "xy": one character shorter, but a closing character
    // went with it, so the tag's colour must go.
    EXPECT_EQ(Same(u"<abc>", u"<axy"), LineChange::Recolour);
    // "ab" replaced by "xyz" outside any tag is still recoloured: more than one character
    // differs.
    EXPECT_EQ(Same(u"<a>ab", u"<a>xyz"), LineChange::Recolour);
}

}  // namespace
}  // namespace quillon::design
