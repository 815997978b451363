// Template files in and out of the editor: lines, encodings, line breaks, and saving with
// the previous version kept.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "design/template_file.h"
#include "design/template_text.h"

namespace quillon::design {
namespace {

namespace fs = std::filesystem;

std::u16string Joined(const TemplateText& t) {
    std::u16string out;
    for (std::size_t n = 0; n < t.lines.size(); ++n) {
        if (n > 0) out += u'\n';
        out += t.lines[n];
    }
    return out;
}

TEST(TemplateTextTest, LinesAndLineBreaks) {
    EXPECT_TRUE(DecodeTemplate("").lines.empty());
    EXPECT_EQ(DecodeTemplate("\n").lines, std::vector<std::u16string>{u""});
    EXPECT_EQ(DecodeTemplate("a\r\nb\nc\rd").lines,
              (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
    const TemplateText crlf = DecodeTemplate("<HTML>\r\n\r\n@0\r\n");
    EXPECT_EQ(crlf.lines, (std::vector<std::u16string>{u"<HTML>", u"", u"@0"}));
    EXPECT_EQ(crlf.style.line_break, "\r\n");
    EXPECT_TRUE(crlf.style.final_line_break);
    const TemplateText lf = DecodeTemplate("x\ny");
    EXPECT_EQ(lf.style.line_break, "\n");
    EXPECT_FALSE(lf.style.final_line_break);
}

TEST(TemplateTextTest, EncodingsAreReadAsTheEngineReadsThem) {
    const TemplateText utf8 = DecodeTemplate("caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(utf8.style.encoding, text::TextEncoding::Utf8);
    EXPECT_EQ(utf8.lines[0], u"caf\u00E9 \U0001F600");
    // One invalid byte makes the whole file Windows-1252, including a line that alone
    // would be valid UTF-8.
    const TemplateText cp = DecodeTemplate("caf\xC3\xA9\n\x80 5");
    EXPECT_EQ(cp.style.encoding, text::TextEncoding::Cp1252);
    EXPECT_EQ(cp.lines, (std::vector<std::u16string>{u"caf\u00C3\u00A9", u"\u20AC 5"}));
    const TemplateText bom = DecodeTemplate("\xEF\xBB\xBFx");
    EXPECT_TRUE(bom.style.utf8_bom);
    EXPECT_EQ(bom.lines[0], u"x");
}

TEST(TemplateTextTest, UneditedTextIsWrittenBackByteForByte) {
    for (const std::string bytes : {"", "\n", "\r\n\r\n", "<HTML>\r\n^^R<BR>\r\n@0<BR>\r\n", "a\nb",
                                    "a\rb\r", "caf\xC3\xA9\n", "\xEF\xBB\xBF<p>\xE2\x82\xAC</p>\n",
                                    "\x80\xE9\xFF\r\n", "\xF0\x9F\x98\x80"}) {
        const TemplateText t = DecodeTemplate(bytes);
        bool fallback = true;
        EXPECT_EQ(EncodeTemplate(Joined(t), t.style, &fallback), bytes);
        EXPECT_FALSE(fallback);
    }
}

TEST(TemplateTextTest, Cp1252TextWithNewCharactersIsSavedAsUtf8WithoutLoss) {
    const TemplateText t = DecodeTemplate("\xE9\r\n");
    bool fallback = false;
    EXPECT_EQ(EncodeTemplate(u"\u00E9 \u20AC", t.style, &fallback), "\xE9 \x80\r\n");
    EXPECT_FALSE(fallback);
    EXPECT_EQ(EncodeTemplate(u"\u00E9\n\u03A9", t.style, &fallback), "\xC3\xA9\r\n\xCE\xA9\r\n");
    EXPECT_TRUE(fallback);
    // Unpaired surrogates cannot be written; they become U+FFFD.
    EXPECT_EQ(EncodeTemplate(std::u16string(1, char16_t(0xD800)), TemplateFileStyle{}),
              "\xEF\xBF\xBD");
}

class TemplateFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quillon_design_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Write(const fs::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    fs::path dir_;
};

TEST_F(TemplateFileTest, SaveKeepsThePreviousVersion) {
    const fs::path file = dir_ / "report.htm";
    std::string error;
    ASSERT_TRUE(SaveWithBackup(file, "first", error)) << error;
    EXPECT_EQ(Read(file), "first");
    EXPECT_FALSE(fs::exists(BackupPath(file)));
    ASSERT_TRUE(SaveWithBackup(file, "second", error)) << error;
    ASSERT_TRUE(SaveWithBackup(file, "third", error)) << error;
    EXPECT_EQ(Read(file), "third");
    EXPECT_EQ(BackupPath(file), dir_ / "report.htm.bak");
    EXPECT_EQ(Read(BackupPath(file)), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(TemplateFileTest, AFailedSaveLeavesTheFileAsItWas) {
    const fs::path file = dir_ / "report.htm";
    Write(file, "old");
    // The new text cannot be written: a directory stands where it would go.
    fs::create_directory(dir_ / "report.htm.saving");
    std::string error;
    EXPECT_FALSE(SaveWithBackup(file, "new", error));
    EXPECT_NE(error.find("report.htm"), std::string::npos) << error;
    EXPECT_EQ(Read(file), "old");
    EXPECT_FALSE(fs::exists(BackupPath(file)));
}

TEST_F(TemplateFileTest, ReadingNamesTheFileThatFails) {
    std::string bytes, error;
    EXPECT_FALSE(ReadTemplateFile(dir_ / "missing.htm", bytes, error));
    EXPECT_NE(error.find("missing.htm"), std::string::npos) << error;
    EXPECT_FALSE(ReadTemplateFile(dir_, bytes, error));
    EXPECT_NE(error.find("directory"), std::string::npos) << error;
    Write(dir_ / "t.txt", "a\r\nb");
    ASSERT_TRUE(ReadTemplateFile(dir_ / "t.txt", bytes, error));
    EXPECT_EQ(bytes, "a\r\nb");
}

}  // namespace
}  // namespace quillon::design
