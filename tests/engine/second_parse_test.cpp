#include "engine/second_parse.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "tests/common/temp_dir.h"

namespace quillon {
namespace {

using text::TextEncoding;

// The pass's rules applied to the whole output at once, as the reference.
std::string WholeSubstitution(std::string out, const SecondParseMarker& m,
                              const std::map<std::string, std::string>& values) {
    std::size_t from = 0;
    while (true) {
        const std::size_t at = out.find(m.marker, from);
        if (at == std::string::npos) break;
        const std::size_t amp = at + m.marker.size() - 1;
        out[amp] = '\\';
        const std::size_t s = out.find('?', amp + 1);
        if (s == std::string::npos) break;
        std::size_t e = s;
        while (e < out.size() && (out[e] == '?' || out[e] == '^')) ++e;
        const std::size_t term = amp + 2 <= s ? out.find(m.name_end, amp + 2) : std::string::npos;
        if (term == std::string::npos || term >= s || term - amp - 1 > kMaxSecondParseName) {
            from = e;
            continue;
        }
        std::string name = "&";
        name.append(out, amp + 1, term - amp - 1);
        const auto it = values.find(name);
        std::string value = it == values.end() ? "" : it->second;
        const std::size_t width = e - s;
        std::string text = value.substr(0, text::PrefixBytes(value, width, m.encoding));
        const std::size_t chars = text::CharCount(text, m.encoding);
        if (chars < width) text.append(width - chars, ' ');
        out.replace(s, width, text);
        from = s + text.size();
    }
    return out;
}

SecondParseLookup Lookup(const std::map<std::string, std::string>& values) {
    return [&values](std::string_view name) {
        const auto it = values.find(std::string(name));
        return it == values.end() ? std::string() : it->second;
    };
}

std::string Pass(const std::string& output, const SecondParseMarker& m,
                 const std::map<std::string, std::string>& values, std::size_t chunk) {
    TMemoryStream stream(output);
    EXPECT_TRUE(RunSecondParse(stream, m, Lookup(values), chunk));
    return stream.Data();
}

const SecondParseMarker kHtml = MakeSecondParseMarker(false, "strike", TextEncoding::Cp1252);
const SecondParseMarker kRtf = MakeSecondParseMarker(true, "strike", TextEncoding::Cp1252);
const SecondParseMarker kUtf8 = MakeSecondParseMarker(false, "strike", TextEncoding::Utf8);

TEST(SecondParse, FillsThePlaceholders) {
    const std::map<std::string, std::string> values{{"&TOTAL", "12"}, {"&N", "abcdef"}};
    EXPECT_EQ(Pass("x <\xBF&TOTAL>???^?? y\r\n", kHtml, values, 4096),
              "x <\xBF\\TOTAL>12     y\r\n");
    EXPECT_EQ(Pass("{\\strike &N}??? {\\strike &TOTAL}?????", kRtf, values, 4096),
              "{\\strike \\N}abc {\\strike \\TOTAL}12   ");
    // An unknown field is filled with blanks.
    EXPECT_EQ(Pass("<\xBF&X>??", kHtml, values, 4096), "<\xBF\\X>  ");
}

TEST(SecondParse, PassesOverAMarkerWithoutFillRunAndEnds) {
    const std::map<std::string, std::string> values{{"&A", "1"}};
    EXPECT_EQ(Pass("<\xBF&A>?? <\xBF&A> no run", kHtml, values, 3), "<\xBF\\A>1  <\xBF\\A> no run");
    EXPECT_EQ(Pass("<\xBF&", kHtml, values, 1), "<\xBF\\");
    // Without a name before the run, the run is left as it is.
    EXPECT_EQ(Pass("<\xBF&???", kHtml, values, 2), "<\xBF\\???");
}

TEST(SecondParse, ValuesAreNotSearchedAgain) {
    const std::map<std::string, std::string> values{{"&A", "<\xBF&A>?"}, {"&B", "?"}};
    EXPECT_EQ(Pass("<\xBF&A>?????"
                   "<\xBF&B>??",
                   kHtml, values, 4096),
              "<\xBF\\A><\xBF&A><\xBF\\B>? ");
}

TEST(SecondParse, ChunkingDoesNotChangeTheResult) {
    std::mt19937 rng(1234);
    const std::map<std::string, std::string> values{
        {"&A", "alpha"}, {"&BB", "12.50"}, {"&C", ""}, {"&LONGNAME", "x y z"}};
    const char* pieces[] = {"<\xBF&A>", "<\xBF&BB>", "<\xBF&C>",  "<\xBF&LONGNAME>",
                            "<\xBF&",   "<\xBF",     "<",         "???",
                            "??^?",     "?",         "^",         ">",
                            "text ",    "\r\n",      "<<\xBF&A>", "\xBF&A>??",
                            "&",        "<\xBF&?"};
    for (int round = 0; round < 200; ++round) {
        std::string output;
        const int count = 20 + static_cast<int>(rng() % 400);
        for (int i = 0; i < count; ++i) output += pieces[rng() % std::size(pieces)];
        const std::string expected = WholeSubstitution(output, kHtml, values);
        for (std::size_t chunk : {1u, 2u, 3u, 5u, 7u, 64u, 4096u}) {
            ASSERT_EQ(Pass(output, kHtml, values, chunk), expected)
                << "chunk " << chunk << " output " << output;
        }
    }
}

TEST(SecondParse, MarkersOnChunkBoundariesOfLargeOutputs) {
    const std::map<std::string, std::string> values{{"&PAGES", "17"}};
    const std::string field = "<\xBF&PAGES>????";
    // Every position of the field relative to a 4096-byte chunk boundary, in an output of
    // several chunks.
    for (std::size_t shift = 0; shift < field.size() + 2; ++shift) {
        std::string output(3 * kSecondParseChunk - shift - 3, 'x');
        output += field;
        output += std::string(kSecondParseChunk + 100, 'y');
        output += field;
        const std::string expected = WholeSubstitution(output, kHtml, values);
        ASSERT_NE(expected, output);
        ASSERT_EQ(Pass(output, kHtml, values, kSecondParseChunk), expected) << shift;
    }
}

TEST(SecondParse, Utf8ValuesRewriteTheOutput) {
    const std::map<std::string, std::string> values{{"&A", "\xC3\xA4\xC3\xB6"}, {"&B", "b"}};
    const std::string tail(10000, 't');
    const std::string output = "<\xC2\xBF&B>?? <\xC2\xBF&A>???" + tail + "<\xC2\xBF&B>??end";
    const std::string expected = WholeSubstitution(output, kUtf8, values);
    EXPECT_EQ(expected,
              "<\xC2\xBF\\B>b  <\xC2\xBF\\A>\xC3\xA4\xC3\xB6 " + tail + "<\xC2\xBF\\B>b end");
    for (std::size_t chunk : {3u, 4096u}) {
        EXPECT_EQ(Pass(output, kUtf8, values, chunk), expected);
    }
    // A value cut to its run can still take more bytes than the run.
    const std::map<std::string, std::string> cut{{"&A", "\xC3\xA4\xC3\xB6\xC3\xBC"}};
    EXPECT_EQ(Pass("<\xC2\xBF&A>??" + tail, kUtf8, cut, 4096),
              "<\xC2\xBF\\A>\xC3\xA4\xC3\xB6" + tail);
}

TEST(SecondParse, WorksOnFiles) {
    const testing::TempDir dir;
    std::string output;
    for (int i = 0; i < 2000; ++i) output += "line <\xC2\xBF&N>??? of <\xC2\xBF&M>???\r\n";
    const std::filesystem::path path = dir.Write("second_parse.htm", output);
    const std::map<std::string, std::string> values{{"&N", "7"},
                                                    {"&M",
                                                     "\xE2\x82\xAC"
                                                     "9"}};
    {
        TFileStream file(path, TFileStream::Mode::kReadWrite);
        ASSERT_TRUE(file.IsOpen());
        ASSERT_TRUE(RunSecondParse(file, kUtf8, Lookup(values)));
        ASSERT_TRUE(file.Close());
    }
    EXPECT_EQ(testing::ReadFile(path), WholeSubstitution(output, kUtf8, values));
}

// A stream whose writes fail.
class ReadOnlyStream : public TMemoryStream {
  public:
    using TMemoryStream::TMemoryStream;
    bool Write(std::string_view) override { return false; }
};

TEST(SecondParse, AFailedWriteIsAFailure) {
    ReadOnlyStream stream("<\xBF&A>??");
    EXPECT_FALSE(RunSecondParse(stream, kHtml, [](std::string_view) { return "x"; }));
    ReadOnlyStream untouched("no fields here");
    EXPECT_TRUE(RunSecondParse(untouched, kHtml, [](std::string_view) { return "x"; }));
}

}  // namespace
}  // namespace quillon
