// Raw printing to devices and files, and the code pages of character printers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/core/code_pages.h"
#include "platform/core/raw_printer.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class RawPrinterTest : public ::testing::Test {
  protected:
    RawPrinterTest() {
        std::string pattern = (fs::temp_directory_path() / "quillon_raw_XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
    }
    ~RawPrinterTest() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(RawPrinterTest, ADevicePortIsWrittenAnewAndClosedByFinishOrDestruction) {
    const fs::path file = dir_ / "lp0";
    std::ofstream(file) << "old contents that are longer";
    std::string error;
    {
        std::unique_ptr<RawPrintJob> job = OpenDevicePort(file.string(), error);
        ASSERT_NE(job, nullptr);
        EXPECT_EQ(job->Write(std::string("ab\0\x1b"
                                         "E\r\n",
                                         7)),
                  7u);
        EXPECT_TRUE(job->Finish());
        EXPECT_EQ(job->Write("late"), 0u);  // nothing after the end of the job
    }
    EXPECT_EQ(ReadAll(file), std::string("ab\0\x1b"
                                         "E\r\n",
                                         7));

    {
        DevicePrinters printers;
        std::unique_ptr<RawPrintJob> job = printers.Open(file.string(), "title", error);
        ASSERT_NE(job, nullptr);
        job->Write("unfinished");
    }
    EXPECT_EQ(ReadAll(file), "unfinished");
}

TEST_F(RawPrinterTest, DevicesThatFailSayWhy) {
    std::string error;
    EXPECT_EQ(OpenDevicePort((dir_ / "no" / "dir").string(), error), nullptr);
    EXPECT_EQ(error, "No such file or directory");

    std::unique_ptr<RawPrintJob> full = OpenDevicePort("/dev/full", error);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->Write("x"), 0u);

    // Without a print system, names in the form of printer ports are no files.
    DevicePrinters printers;
    for (const char* port : {"LPT1:", "LPT1", "lpt", "Laser:"}) {
        error.clear();
        EXPECT_EQ(printers.Open(port, "t", error), nullptr) << port;
        EXPECT_EQ(error, "no print queue of that name") << port;
    }
    EXPECT_FALSE(fs::exists("LPT1:"));
    EXPECT_FALSE(IsPrinterPortName("PRN"));
    EXPECT_FALSE(IsPrinterPortName("LPT12"));
    EXPECT_FALSE(IsPrinterPortName("/tmp/a:b"));
}

TEST(CodePageTest, NamesAndMappingsOfThePrinterCodePages) {
    EXPECT_EQ(text::CodePage::Find("cp1252"), &text::CodePage::Windows1252());
    EXPECT_EQ(text::CodePage::Find(" windows-1252 "), &text::CodePage::Windows1252());
    EXPECT_EQ(text::CodePage::Find("1252"), &text::CodePage::Windows1252());
    EXPECT_EQ(text::CodePage::Find("latin9")->Name(), "ISO-8859-15");
    EXPECT_EQ(text::CodePage::Find("IBM 437")->Name(), "IBM437");
    EXPECT_EQ(text::CodePage::Find("utf-8"), nullptr);
    EXPECT_EQ(text::CodePage::Find(""), nullptr);

    const text::CodePage& cp1252 = text::CodePage::Windows1252();
    EXPECT_EQ(cp1252.Encode(U'€'), 0x80);
    EXPECT_EQ(cp1252.Encode(U'\x81'), std::nullopt);  // undefined in the page
    EXPECT_EQ(cp1252.Decode(0x81), 0u);
    EXPECT_EQ(text::CodePage::Find("866")->Encode(U'Я'), 0x9F);
    EXPECT_EQ(text::CodePage::Find("cp1257")->Encode(U'Ą'), 0xC0);
    EXPECT_EQ(text::CodePage::Find("iso-8859-15")->Encode(U'€'), 0xA4);
    EXPECT_EQ(text::CodePage::Find("ISO-8859-1")->Encode(U'€'), std::nullopt);
    // Every page reads back what it writes, for all 256 bytes.
    for (const char* name : {"1250", "1251", "1252", "1257", "437", "775", "850", "852", "866",
                             "latin1", "latin2", "latin9"}) {
        const text::CodePage& page = *text::CodePage::Find(name);
        for (int b = 0; b < 256; ++b) {
            const char32_t c = page.Decode(static_cast<unsigned char>(b));
            if (c != 0 || b == 0) {
                EXPECT_EQ(page.Encode(c), b) << name << " byte " << b;
            }
        }
    }
}

}  // namespace
}  // namespace quillon
