// Character references: named ones with and without ';', the rule for attribute values,
// and numeric ones at the edges of Unicode.

#include <gtest/gtest.h>

#include <string>

#include "html/parse/html_entity_table.h"
#include "tests/html_parse/token_helpers.h"

namespace quillon::testing {
namespace {

// The value of attribute `sym` of the first tag of `html`, as UTF-8.
std::string AttrText(const std::string& html, Symb sym = Symb::HrefSy) {
    HtmlTokenizer tok(MakeBufferSource(html));
    tok.NextChar();
    tok.NextSymbol();
    const TAttribute* a = tok.Attributes().Find(sym);
    return a ? a->TextUtf8() : "<missing>";
}

TEST(EntityTable, SortedCompleteAndFindsEveryName) {
    std::size_t bare = 0;
    for (std::size_t i = 0; i < kEntityCount; ++i) {
        const EntityEntry& e = kEntities[i];
        if (i > 0) {
            ASSERT_LT(EntityName(kEntities[i - 1]), EntityName(e)) << i;
        }
        ASSERT_EQ(FindEntity(EntityName(e)), &e) << EntityName(e);
        ASSERT_LE(e.length, kMaxEntityNameLength);
        if (e.flags & kBare) {
            ++bare;
            ASSERT_LE(e.length, kMaxBareEntityNameLength);
        }
    }
    // 2,231 names in all: every name with ';', 106 of them also without.
    EXPECT_EQ(kEntityCount + bare, 2231u);
    EXPECT_EQ(bare, 106u);
    EXPECT_EQ(FindEntity(""), nullptr);
    EXPECT_EQ(FindEntity("amp;"), nullptr);
    EXPECT_EQ(FindEntity("AMp"), nullptr);
    EXPECT_EQ(FindEntity(std::string(40, 'a')), nullptr);
}

TEST(TokenizerEntities, NamesWithSemicolon) {
    EXPECT_EQ(JoinedText(Tokens("&lt;&gt;&quot;&amp;&nbsp;&yuml;")), "<>\"&\xC2\xA0\xC3\xBF");
    EXPECT_EQ(JoinedText(Tokens("&times;&divide;&euro;&mdash;&hellip;")),
              "\xC3\x97\xC3\xB7\xE2\x82\xAC\xE2\x80\x94\xE2\x80\xA6");
    EXPECT_EQ(JoinedText(Tokens("&COPY;&Eacute;")), "\xC2\xA9\xC3\x89");  // case matters
    // The longest name, and a name that stands for two characters.
    EXPECT_EQ(JoinedText(Tokens("&CounterClockwiseContourIntegral;")), "\xE2\x88\xB3");
    EXPECT_EQ(JoinedText(Tokens("&NotEqualTilde;")), "\xE2\x89\x82\xCC\xB8");
    EXPECT_EQ(JoinedText(Tokens("&fjlig;")), "fj");
}

// Only the older names may go without ';'; the longest such name that starts the text is
// taken and what follows it is text.
TEST(TokenizerEntities, NamesWithoutSemicolonInText) {
    EXPECT_EQ(JoinedText(Tokens("&amp &lt &copy &eacute")), "& < \xC2\xA9 \xC3\xA9");
    EXPECT_EQ(JoinedText(Tokens("Caf&eacute!")), "Caf\xC3\xA9!");
    EXPECT_EQ(JoinedText(Tokens("&notit;")), "\xC2\xACit;");
    EXPECT_EQ(JoinedText(Tokens("&copy2026")),
              "\xC2\xA9"
              "2026");
    EXPECT_EQ(JoinedText(Tokens("&ampamp;")), "&amp;");
    // Newer names need their ';'.
    EXPECT_EQ(JoinedText(Tokens("&euro &mdash")), "&euro &mdash");
    // Unknown names, a lone '&' and names longer than any stay as written.
    EXPECT_EQ(JoinedText(Tokens("&foo; & b &;")), "&foo; & b &;");
    const std::string longest(40, 'x');
    EXPECT_EQ(JoinedText(Tokens("&" + longest + ";")), "&" + longest + ";");
}

// In an attribute value a name without ';' followed by '=' or a letter or digit is text,
// so that the parameters of a URL survive.
TEST(TokenizerEntities, AttributeValueException) {
    EXPECT_EQ(AttrText("<A HREF=\"?a=1&copy=2&not\">"), "?a=1&copy=2\xC2\xAC");
    EXPECT_EQ(AttrText("<A HREF=\"?x&amp;y&ampz&amp=1\">"), "?x&y&ampz&amp=1");
    EXPECT_EQ(AttrText("<A HREF=\"&lt;&lt!&euro;\">"), "<<!\xE2\x82\xAC");
    // The same in a value without quotes (the characters after it are read as text).
    EXPECT_EQ(AttrText("<A HREF=x?a=1&copy=2&amp;b&lt>"), "x?a=1&copy=2&b<");
    // In text the exception does not apply.
    EXPECT_EQ(JoinedText(Tokens("a&copy=2")), "a\xC2\xA9=2");
}

TEST(TokenizerEntities, NumericReferences) {
    EXPECT_EQ(JoinedText(Tokens("&#65;&#x42;&#X43&#0000000068;")), "ABCD");
    EXPECT_EQ(JoinedText(Tokens("&#8470; &#x20AC;")), "\xE2\x84\x96 \xE2\x82\xAC");
    EXPECT_EQ(JoinedText(Tokens("&#128512;")), "\xF0\x9F\x98\x80");
    EXPECT_EQ(JoinedText(Tokens("&#233x")), "\xC3\xA9x");
    // 128-159 are Windows-1252 characters; the five it leaves undefined stay as they are.
    EXPECT_EQ(JoinedText(Tokens("&#128;&#150;&#x9F;")), "\xE2\x82\xAC\xE2\x80\x93\xC5\xB8");
    EXPECT_EQ(JoinedText(Tokens("&#x81;")), "\xC2\x81");
    // Tab, form feed and carriage return are white space.
    EXPECT_EQ(JoinedText(Tokens("a&#9;b&#12;c&#13;d")), "a b c d");
}

TEST(TokenizerEntities, NumericReferencesOutsideUnicodeGiveReplacement) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(JoinedText(Tokens("&#0;")), fffd);
    EXPECT_EQ(JoinedText(Tokens("&#xD800;&#xDFFF;")), fffd + fffd);
    EXPECT_EQ(JoinedText(Tokens("&#x110000;")), fffd);
    EXPECT_EQ(JoinedText(Tokens("&#x10FFFF;")), "\xF4\x8F\xBF\xBF");
    // However many digits: no overflow wraps round to a valid character.
    EXPECT_EQ(JoinedText(Tokens("&#123456789012345678901234567890;x")), fffd + "x");
    EXPECT_EQ(JoinedText(Tokens("&#x100000000041;")), fffd);
    // Without digits nothing is decoded.
    EXPECT_EQ(JoinedText(Tokens("&#;&#xZ&#x;")), "&#;&#xZ&#x;");
}

// A reference split across the chunks of a stream reads the same.
TEST(TokenizerEntities, ReferencesAcrossChunks) {
    const std::string doc = "&eacute;&CounterClockwiseContourIntegral;&#x1F600;&copy2";
    const std::string expected = JoinedText(Tokens(doc));
    EXPECT_EQ(expected,
              "\xC3\xA9\xE2\x88\xB3\xF0\x9F\x98\x80\xC2\xA9"
              "2");
    for (std::size_t chunk : {1u, 2u, 5u}) {
        EXPECT_EQ(JoinedText(ChunkedTokens(doc, chunk)), expected) << chunk;
    }
}

}  // namespace
}  // namespace quillon::testing
