// What the editor colours in a template line: slots, level lines, format headers, RTF
// markup around the visible text; colours carried over an edit; the Run window's page.

#include <gtest/gtest.h>

#include <string>

#include "design/template_colours.h"
#include "design/template_levels.h"

namespace quillon::design {
namespace {

// The map as letters: . normal, g span, s slot, L level, F format name, m markup.
std::string Letters(const std::vector<TemplateColour>& map) {
    std::string out;
    for (const TemplateColour c : map) out += ".gsLFm"[static_cast<int>(c)];
    return out;
}

std::string Html(std::u16string_view line) {
    std::vector<TemplateColour> map = LoadSpanColours(line, u'<', u'>');
    MarkTemplateFields(line, map);
    return Letters(map);
}

TEST(TemplateColoursTest, SlotsLevelLinesAndFormatHeaders) {
    EXPECT_EQ(Html(u"<b>??^?? x ^ y?</b>"), "gggsssss......sgggg");
    EXPECT_EQ(Html(u"@3 detail <BR>"), "LLLLLLLLLLLLLL");      // the whole line is consumed
    EXPECT_EQ(Html(u"^^SALES 2<BR> ??"), "FFFFFFFFFgggg...");  // no slots in a header
}

TEST(TemplateColoursTest, RtfIsColouredOnItsVisibleText) {
    RtfLineState state;
    EXPECT_EQ(Letters(RtfLineColours(u"{\\rtf1 ^^INV", state)), "mmmmmmmFFFFF");
    EXPECT_EQ(Letters(RtfLineColours(u"{\\fonttbl{\\f0 A?;}", state)), "mmmmmmmmmmmmmmmmmm");
    EXPECT_EQ(state.hidden_from, 2);  // the font table goes on over the line end
    EXPECT_EQ(Letters(RtfLineColours(u"{\\f1 B;}}x?", state)), "mmmmmmmmm.s");
    EXPECT_EQ(state, (RtfLineState{1, 0, false}));
    EXPECT_EQ(Letters(RtfLineColours(u"@3\\par", state)), "LLmmmm");
    // A strike-through name is a field name; a \uN escape's stand-in is not a slot.
    EXPECT_EQ(Letters(RtfLineColours(u"{\\strike QTY}??\\u8364?", state)),
              "mmmmmmmmmgggmssmmmmmmm");
    EXPECT_EQ(DecodeRtfLineState(EncodeRtfLineState({3, 2, true})), (RtfLineState{3, 2, true}));
    EXPECT_EQ(DecodeRtfLineState(-1), RtfLineState{});
    EXPECT_TRUE(IsRtfTemplateName("Invoice.Rtf"));
    EXPECT_FALSE(IsRtfTemplateName("invoice.htm"));
}

TEST(TemplateColoursTest, ColoursAreCarriedOverAnEdit) {
    const std::vector<TemplateColour> old = LoadSpanColours(u"<a>b<c>", u'<', u'>');
    EXPECT_EQ(Letters(CarryColours(u"<a>b<c>", old, u"<a>bx<c>")), "ggg..ggg");
    EXPECT_EQ(Letters(CarryColours(u"<a>b<c>", old, u"<ab<c>")), "gg.ggg");
    EXPECT_EQ(Letters(CarryColours(u"<a>b<c>", old, u"")), "");
}

TEST(TemplateColoursTest, LevelsPageShowsSlotsInPlaceAndRealLineBreaks) {
    TemplateLevels levels{"t.htm", "R", "HTML", "UTF-8", {}};
    levels.levels.push_back({3,
                             "detail line",
                             {{1, 4, 0, "QTY", "", std::make_pair(0, 1)}},
                             {"<TD>", "</TD>\r\nnext"}});
    const std::string html = LevelsHtml(levels);
    EXPECT_NE(html.find("@3 detail line (1 slot)"), std::string::npos) << html;
    EXPECT_NE(html.find("&lt;TD&gt;<span"), std::string::npos) << html;
    EXPECT_NE(html.find("[1 QTY]</span>&lt;/TD&gt;\nnext"), std::string::npos) << html;
    EXPECT_NE(html.find("@0 slot 1"), std::string::npos) << html;
    EXPECT_EQ(html.find('\r'), std::string::npos);
}

}  // namespace
}  // namespace quillon::design
