#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include "platform/pdf/truetype_face.h"

namespace quillon::pdf {
namespace {

const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::uint32_t Be(std::string_view s, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

// The tables of a TrueType file by tag.
std::map<std::string, std::string> ReadTables(const std::string& file) {
    std::map<std::string, std::string> tables;
    const std::uint32_t n = Be(file, 4, 2);
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::size_t rec = 12 + 16 * i;
        tables[file.substr(rec, 4)] = file.substr(Be(file, rec + 8, 4), Be(file, rec + 12, 4));
    }
    return tables;
}

TableSource SourceOf(std::map<std::string, std::string> tables) {
    return [tables = std::move(tables)](std::string_view tag) {
        auto it = tables.find(std::string(tag));
        return it == tables.end() ? std::string() : it->second;
    };
}

std::string GlyphBytes(const std::map<std::string, std::string>& t, std::uint32_t g) {
    const bool long_loca = Be(t.at("head"), 50, 2) != 0;
    const std::string& loca = t.at("loca");
    auto at = [&](std::uint32_t i) {
        return long_loca ? Be(loca, 4 * i, 4) : 2 * Be(loca, 2 * i, 2);
    };
    return t.at("glyf").substr(at(g), at(g + 1) - at(g));
}

class TrueTypeFaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ifstream in(kFontFile, std::ios::binary);
        if (!in) GTEST_SKIP() << kFontFile << " is not installed";
        file_.assign(std::istreambuf_iterator<char>(in), {});
        tables_ = ReadTables(file_);
    }
    std::string file_;
    std::map<std::string, std::string> tables_;
};

TEST_F(TrueTypeFaceTest, SubsetKeepsUsedGlyphsAndTheirPartsWithTheirIds) {
    const TrueTypeFace face(SourceOf(tables_));
    ASSERT_GT(face.GlyphCount(), 1000);
    EXPECT_EQ(face.UnitsPerEm(), 2048);
    EXPECT_GT(face.Ascent(), 0);
    EXPECT_LT(face.Descent(), 0);
    // A composite glyph (an accented letter made of a letter and a mark) and a plain one.
    std::uint32_t composite = 0;
    for (std::uint32_t g = 1; g < static_cast<std::uint32_t>(face.GlyphCount()); ++g) {
        const std::string bytes = GlyphBytes(tables_, g);
        if (bytes.size() >= 10 && Be(bytes, 0, 2) >= 0x8000) {
            composite = g;
            break;
        }
    }
    ASSERT_NE(composite, 0u);
    const std::string composite_bytes = GlyphBytes(tables_, composite);
    const std::uint32_t part = Be(composite_bytes, 12, 2);
    const std::uint32_t plain = 36;
    std::vector<bool> used(static_cast<std::size_t>(face.GlyphCount()), false);
    used[composite] = used[plain] = true;

    const std::string subset = face.Subset(used);
    // A whole file's checksum, with the adjustment in head, is the fixed magic number.
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 4 <= subset.size(); i += 4) sum += Be(subset, i, 4);
    EXPECT_EQ(subset.size() % 4, 0u);
    EXPECT_EQ(sum, 0xB1B0AFBAu);
    EXPECT_LT(subset.size(), file_.size() / 4);

    const auto out = ReadTables(subset);
    const TrueTypeFace again(SourceOf(out));
    EXPECT_EQ(again.GlyphCount(), face.GlyphCount());
    for (const std::uint32_t g : {0u, plain, composite, part}) {
        EXPECT_EQ(GlyphBytes(out, g).substr(0, GlyphBytes(tables_, g).size()),
                  GlyphBytes(tables_, g))
            << "glyph " << g;
        EXPECT_EQ(again.Advance(static_cast<std::uint16_t>(g)),
                  face.Advance(static_cast<std::uint16_t>(g)));
    }
    EXPECT_TRUE(GlyphBytes(out, plain + 1).empty());
    EXPECT_TRUE(GlyphBytes(out, static_cast<std::uint32_t>(face.GlyphCount() - 1)).empty());
}

TEST_F(TrueTypeFaceTest, MalformedTablesAreRefusedOrCutNotReadBeyond) {
    auto without = tables_;
    without.erase("glyf");
    EXPECT_THROW(TrueTypeFace(SourceOf(without)), std::runtime_error);
    auto short_head = tables_;
    short_head["head"].resize(20);
    EXPECT_THROW(TrueTypeFace(SourceOf(short_head)), std::runtime_error);

    // Offsets that point beyond the outlines and a metrics count beyond hmtx.
    auto cut = tables_;
    cut["glyf"].resize(100);
    cut["hmtx"].resize(40);
    const TrueTypeFace face(SourceOf(cut));
    EXPECT_EQ(face.Advance(60000), 0);
    std::vector<bool> all(static_cast<std::size_t>(face.GlyphCount()), true);
    const auto out = ReadTables(face.Subset(all));
    EXPECT_LE(out.at("glyf").size(), 104u);
}

}  // namespace
}  // namespace quillon::pdf
