// Which characters of a line are coloured: the loading reading, the typing map with its
// markers, and lines longer than any fixed map.

#include <gtest/gtest.h>

#include <string>

#include "design/colour_spans.h"

namespace quillon::design {
namespace {

using V = MapValue;

std::vector<Span> Load(std::u16string_view line) {
    return LoadSpans(line, u'<', u'>');
}

// The map written as one character per entry: '.' normal, 'g' in a span, 'k' kept.
std::string Picture(std::u16string_view line) {
    std::string out;
    for (MapValue v : TypingColourMap(line, u'<', u'>')) {
        out += v == V::Normal ? '.' : v == V::InSpan ? 'g' : 'k';
    }
    return out;
}

TEST(LoadSpansTest, TagsOfALine) {
    EXPECT_EQ(Load(u"<b>bold</b>"), (std::vector<Span>{{0, 2}, {7, 10}}));
    EXPECT_EQ(Load(u"<HTML>"), (std::vector<Span>{{0, 5}}));
    EXPECT_TRUE(Load(u"plain text").empty());
    EXPECT_TRUE(Load(u"").empty());
    // An opening character without a later closing one colours nothing.
    EXPECT_EQ(Load(u"<a> x < y"), (std::vector<Span>{{0, 2}}));
    // Once a closing character comes first, the line has no span at all.
    EXPECT_TRUE(Load(u"a > b <i>x</i>").empty());
    // After a span, the next span runs from the first opening character on.
    EXPECT_EQ(Load(u"<a> <b <c>"), (std::vector<Span>{{0, 2}, {4, 9}}));
    // Any pair of characters can delimit.
    EXPECT_EQ(LoadSpans(u"x[a]y{b}", u'[', u']'), (std::vector<Span>{{1, 3}}));
}

TEST(TypingColourMapTest, SpansAndMarkers) {
    EXPECT_EQ(Picture(u"<b>x</b>"), "ggg.gggg");
    // After the first span, a span starts at the last opening character before its
    // closing one.
    EXPECT_EQ(Picture(u"<a> <b <c>"), "ggg....ggg");
    // The first span is not adjusted.
    EXPECT_EQ(Picture(u"<a <b>"), "gggggg");
    EXPECT_EQ(Picture(u"a > b <i>"), ".........");
    // "?" and "^?" are kept, inside spans or not; a lone "^" is ordinary text.
    EXPECT_EQ(Picture(u"??^?? <a?^b>^"), "kkkkk.ggkggg.");
    EXPECT_EQ(Picture(u""), "");
}

TEST(TypingColourMapTest, LinesLongerThan4095CharactersColourToTheEnd) {
    std::u16string line(5000, u'x');
    line += u"<tag>";
    line += std::u16string(3000, u'y');
    line += u"<b>";
    const auto map = TypingColourMap(line, u'<', u'>');
    ASSERT_EQ(map.size(), line.size());
    EXPECT_EQ(map[4999], V::Normal);
    for (std::size_t k = 5000; k < 5005; ++k) EXPECT_EQ(map[k], V::InSpan) << k;
    EXPECT_EQ(map[5005], V::Normal);
    EXPECT_EQ(map[8005], V::InSpan);
    EXPECT_EQ(map.back(), V::InSpan);
    EXPECT_EQ(Load(line), (std::vector<Span>{{5000, 5004}, {8005, 8007}}));
}

TEST(MapRunsTest, MaximalRunsOfEqualValues) {
    EXPECT_EQ(MapRuns(TypingColourMap(u"a<b?>c", u'<', u'>')),
              (std::vector<MapRun>{{0, 1, V::Normal},
                                   {1, 2, V::InSpan},
                                   {3, 1, V::Keep},
                                   {4, 1, V::InSpan},
                                   {5, 1, V::Normal}}));
    EXPECT_TRUE(MapRuns({}).empty());
}

}  // namespace
}  // namespace quillon::design
