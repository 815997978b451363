// The four kinds of source and the decoding of their bytes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/common/temp_dir.h"
#include "tests/html_parse/token_helpers.h"

namespace quillon::testing {
namespace {

using ::testing::ElementsAre;

TEST(TokenizerSources, AllKindsGiveTheSameTokens) {
    const std::string doc = "<P>one\r\ntwo &amp; three</P>\r\n";
    const auto expected = Tokens(doc);

    const TempDir dir;
    HtmlTokenizer file(MakeFileSource(dir.Write("source.htm", doc).string()));
    EXPECT_EQ(file.SourceKind(), LoadStyleType::lsFile);
    EXPECT_EQ(Drain(file), expected);

    const std::vector<std::string> lines = {"<P>one", "two &amp; three</P>"};
    HtmlTokenizer strings(MakeStringsSource(lines));
    EXPECT_EQ(strings.SourceKind(), LoadStyleType::lsStrings);
    EXPECT_EQ(Drain(strings), expected);

    std::istringstream in(doc);
    in.seekg(5);  // the stream is read from its start
    HtmlTokenizer stream(MakeStreamSource(in, 7), 7);
    EXPECT_EQ(stream.SourceKind(), LoadStyleType::lsStream);
    EXPECT_EQ(Drain(stream), expected);
}

TEST(TokenizerSources, MissingFileRaises) {
    EXPECT_THROW(MakeFileSource("/nonexistent/dir/x.htm"), std::ios_base::failure);
}

TEST(TokenizerDecoding, Utf8AndWindows1252) {
    EXPECT_EQ(JoinedText(Tokens("caf\xC3\xA9")), "caf\xC3\xA9");                // valid UTF-8
    EXPECT_EQ(JoinedText(Tokens("caf\xE9 \x80")), "caf\xC3\xA9 \xE2\x82\xAC");  // 1252
    // A BOM makes UTF-8 even with a stray byte; the stray byte reads as Windows-1252.
    EXPECT_EQ(JoinedText(Tokens("\xEF\xBB\xBF"
                                "a\xC3\xA9\xE9")),
              "a\xC3\xA9\xC3\xA9");
    // A META charset makes UTF-8 too.
    EXPECT_EQ(JoinedText(Tokens("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                                "charset=UTF-8\">\xC3\xA9\xFF")),
              "\xC3\xA9\xC3\xBF");
    HtmlTokenizer tok(MakeBufferSource("\xE9"));
    Drain(tok);
    EXPECT_EQ(tok.Encoding(), text::TextEncoding::Cp1252);
}

// UTF-16 `text` (ASCII and the few characters used below) with a byte-order mark.
std::string Utf16(std::u16string_view text, bool little_endian) {
    std::string out = little_endian ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t u : text) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += little_endian ? std::string{lo, hi} : std::string{hi, lo};
    }
    return out;
}

TEST(TokenizerDecoding, Utf16ByteOrderMarks) {
    const std::u16string doc = u"<P>caf\u00E9 \u20AC \xD83D\xDE00</P>";
    for (bool le : {true, false}) {
        const std::string bytes = Utf16(doc, le);
        for (std::size_t chunk : {1u, 3u, 64u}) {
            EXPECT_THAT(
                ChunkedTokens(bytes, chunk),
                ElementsAre(Tok(Symb::PSy), Txt("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"),
                            Tok(Symb::PEndSy)))
                << le << " " << chunk;
        }
    }
    // Unpaired surrogates and an odd byte at the end give U+FFFD.
    EXPECT_EQ(JoinedText(Tokens(Utf16(u"a\xD800"
                                      u"b\xDC00",
                                      true) +
                                "c")),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(TokenizerDecoding, MetaCharsetChoosesTheEncoding) {
    // Windows-1252 and its aliases win over bytes that happen to be valid UTF-8.
    for (const char* meta : {"<meta charset=\"windows-1252\">", "<META CHARSET=ISO-8859-1>",
                             "<meta http-equiv=\"Content-Type\" content=\"text/html; "
                             "charset=iso-8859-1\">",
                             "<meta charset='us-ascii'/>"}) {
        EXPECT_EQ(JoinedText(Tokens(std::string(meta) + "\xC3\xA9")), "\xC3\x83\xC2\xA9") << meta;
    }
    // UTF-8, also when declared as UTF-16 (the declaration itself was read as ASCII).
    for (const char* meta :
         {"<meta charset=\"utf-8\">", "<meta charset=utf8>", "<meta charset=\"UTF-16\">"}) {
        EXPECT_EQ(JoinedText(Tokens(std::string(meta) + "\xC3\xA9\xFF")), "\xC3\xA9\xC3\xBF")
            << meta;
    }
    // An unknown charset leaves the choice to the bytes; a byte-order mark beats the META.
    EXPECT_EQ(JoinedText(Tokens("<meta charset=\"koi8-r\">\xC3\xA9")), "\xC3\xA9");
    EXPECT_EQ(JoinedText(Tokens("<meta charset=\"koi8-r\">\xE9")), "\xC3\xA9");
    EXPECT_EQ(JoinedText(Tokens("\xEF\xBB\xBF<meta charset=\"windows-1252\">\xC3\xA9")),
              "\xC3\xA9");
}

// Every chunk size gives the same characters, whatever sequence a chunk boundary cuts.
TEST(TokenizerDecoding, ChunkBoundariesDoNotSplitCharacters) {
    std::string utf8 = "<B>\xE2\x82\xAC \xF0\x9F\x98\x80 caf\xC3\xA9</B>\r\n";
    std::string doc;
    for (int i = 0; i < 40; ++i) doc += utf8;
    const auto expected = Tokens(doc);
    EXPECT_NE(JoinedText(expected).find("\xE2\x82\xAC \xF0\x9F\x98\x80"), std::string::npos);
    for (std::size_t chunk : {1u, 2u, 3u, 5u, 7u, 64u}) {
        EXPECT_EQ(ChunkedTokens(doc, chunk), expected) << chunk;
    }
    std::string latin = "caf\xE9 na\xEFve \x93quoted\x94";
    for (std::size_t chunk : {1u, 3u}) {
        EXPECT_EQ(JoinedText(ChunkedTokens(latin, chunk)),
                  "caf\xC3\xA9 na\xC3\xAFve \xE2\x80\x9Cquoted\xE2\x80\x9D");
    }
    // A BOM split over chunks.
    EXPECT_EQ(JoinedText(ChunkedTokens("\xEF\xBB\xBFx\xE9", 1)), "x\xC3\xA9");
}

// The choice is made at the first non-ASCII byte, looking ahead over the rest.
TEST(TokenizerDecoding, LateInvalidByteMakesWindows1252) {
    std::string doc = "\xC3\xA9";
    doc += std::string(5000, 'a');
    doc += "\xE9";
    const auto text = JoinedText(ChunkedTokens(doc, 100));
    EXPECT_EQ(text.substr(0, 4), "\xC3\x83\xC2\xA9");  // "Ã©"
    EXPECT_EQ(text.substr(text.size() - 2), "\xC3\xA9");
}

}  // namespace
}  // namespace quillon::testing
