#include "platform/core/settings_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "tests/common/temp_dir.h"

namespace quillon {
namespace {

TEST(SettingsFile, SectionsAndKeysAreCaseInsensitiveAndOrdered) {
    const auto s = SettingsFile::Parse(
        "\xEF\xBB\xBF; comment\r\n"
        "orphan=1\r\n"
        "[Page]\r\n"
        "  Top = 1.5 \r\n"
        "PageBreak=<HR>\r\n"
        "[DEFAULT]\n"
        "Company=\"ACME Ltd\"\n"
        "Empty=\n"
        "Eq=a=b\n"
        "no equals sign\n"
        "[page]\n"
        "top=9\n"
        "bottom=2\n");
    EXPECT_EQ(s.SectionNames(), (std::vector<std::string>{"Page", "DEFAULT"}));
    EXPECT_EQ(s.ReadString("PAGE", "TOP", "*"), "1.5");   // the first line wins
    EXPECT_EQ(s.ReadString("page", "Bottom", "*"), "2");  // a repeated header continues
    EXPECT_EQ(s.ReadString("page", "left", "*"), "*");
    EXPECT_EQ(s.ReadString("default", "company", ""), "ACME Ltd");
    EXPECT_EQ(s.ReadString("default", "eq", ""), "a=b");
    EXPECT_EQ(s.Value("default", "empty"), std::optional<std::string>(""));
    EXPECT_FALSE(s.Value("none", "x").has_value());
    EXPECT_EQ(
        s.RawLines("DEFAULT"),
        (std::vector<std::string>{"Company=\"ACME Ltd\"", "Empty=", "Eq=a=b", "no equals sign"}));
    EXPECT_EQ(s.Entries("default").size(), 3u);
    EXPECT_TRUE(s.RawLines("missing").empty());
}

TEST(SettingsFile, IntegersAndMissingFiles) {
    const auto s = SettingsFile::Parse("[X]\nA=42\nB=4x\nC=+7\nD=\n");
    EXPECT_EQ(s.ReadInteger("x", "a", -1), 42);
    EXPECT_EQ(s.ReadInteger("x", "b", -1), -1);
    EXPECT_EQ(s.ReadInteger("x", "c", -1), 7);
    EXPECT_EQ(s.ReadInteger("x", "d", -1), -1);
    const auto missing = SettingsFile::Load("/nonexistent/dir/QUILDOC.INI");
    EXPECT_TRUE(missing.SectionNames().empty());
    const auto dir = SettingsFile::Load("/");  // a directory cannot be read as a file
    EXPECT_TRUE(dir.SectionNames().empty());
}

TEST(SettingsFile, LocateHonoursTheEnvironmentVariable) {
    const testing::TempDir dir;
    const std::string path = dir.Write("quildoc_locate.ini", "[PAGE]\nPAGEBREAK=<HR>\n").string();
    ::setenv("QUILDOC_INI", path.c_str(), 1);
    EXPECT_EQ(SettingsFile::Locate(), path);
    EXPECT_EQ(SettingsFile::LoadDefault().ReadString("PAGE", "PAGEBREAK", ""), "<HR>");
    ::setenv("QUILDOC_INI", "/nonexistent/QUILDOC.INI", 1);
}

}  // namespace
}  // namespace quillon
