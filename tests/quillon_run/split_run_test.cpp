// quillon run --split: one report per group, files named safely, a manifest line per file,
// and --shard: N runs together write exactly the files of the whole run.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>

#include "tests/common/pdf_text.h"
#include "tests/quillon_run/command_runner.h"

namespace quillon::testing {
namespace {

using ::testing::HasSubstr;

// "<" and the inverted question mark (UTF-8): the name markup of a slot.
const std::string kName = "<\xC2\xBF";

struct ManifestEntry {
    std::string group;
    int records = 0;
    int pages = 0;
};

// A JSON string's text without its escapes (\" and \\ are all the tests' values need).
std::string Unescaped(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) out += s[i] == '\\' ? s[++i] : s[i];
    return out;
}

// file -> entry, from the JSON lines of a split run.
std::map<std::string, ManifestEntry> ReadManifest(const std::string& out) {
    static const std::regex line(
        R"re(\{"file":"((?:[^"\\]|\\.)*)","group":"((?:[^"\\]|\\.)*)","records":(\d+),"pages":(\d+)\})re");
    std::map<std::string, ManifestEntry> files;
    std::istringstream in(out);
    for (std::string text; std::getline(in, text);) {
        std::smatch m;
        EXPECT_TRUE(std::regex_match(text, m, line)) << text;
        if (m.empty()) continue;
        EXPECT_TRUE(files
                        .emplace(Unescaped(m[1]),
                                 ManifestEntry{Unescaped(m[2]), std::stoi(m[3]), std::stoi(m[4])})
                        .second)
            << "twice: " << m[1];
    }
    return files;
}

class SplitRunTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        // Customers sorted, with values that are no file names as they stand; each customer
        // has 1 to 7 records, the last 25 (three pages).
        const std::vector<std::string> customers = {
            "",    "%2Fx", ".hidden", "../up", "Alpha", "Caf\xC3\xA9 M\xC3\xBCller",
            "a/b", "a_b",  "c\\d",    "zeta"};
        std::string csv = "customer,item,qty\n";
        int item = 0;
        for (std::size_t c = 0; c < customers.size(); ++c) {
            for (std::size_t r = 0; r < (c + 1 == customers.size() ? 25 : 1 + (c * 3) % 7); ++r) {
                ++item;
                csv += "\"" + customers[c] + "\",I" + std::to_string(1000 + item) + "," +
                       std::to_string(item) + "\n";
                records_[customers[c]].push_back("I" + std::to_string(1000 + item));
            }
        }
        WriteWhole(dir_ / "sales.csv", csv);
        WriteWhole(dir_ / "list.txt",
                   "^^LIST\r\n@1\r\nPage " + kName + "PAGENO>???\r\n@2\r\n" + "Customer " + kName +
                       "CUSTOMER>??????????????\r\n@3\r\n" + kName + "ITEM>????? " + kName +
                       "QTY>???\r\n@4\r\n" + "Sum " + kName + "QTY>????\r\n@15\r\nEnd\r\n");
    }

    std::string Run(const std::string& folder, const std::string& extra, int expect = 0) {
        std::filesystem::create_directories(dir_ / folder);
        const CommandResult r =
            Quillon("run list.txt --data sales.csv --split customer --page-size 10 --out '" +
                    folder + "/inv-{customer}.txt' " + extra);
        EXPECT_EQ(r.status, expect) << r.err;
        return r.out;
    }

    std::map<std::string, std::vector<std::string>> records_;  // customer -> items in order
};

TEST_F(SplitRunTest, EachGroupGetsAWholeReportOfItsOwnRecordsInASafelyNamedFile) {
    const auto files = ReadManifest(Run("all", ""));
    ASSERT_EQ(files.size(), records_.size());
    std::set<std::string> groups;
    for (const auto& [file, entry] : files) {
        groups.insert(entry.group);
        // Every name stays in the folder it was meant for, with nothing hidden.
        const std::filesystem::path path = dir_ / file;
        EXPECT_EQ(path.parent_path(), dir_ / "all") << file;
        EXPECT_NE(path.filename().string()[0], '.') << file;
        const std::string text = ReadWhole(path);
        ASSERT_FALSE(text.empty()) << file;
        const auto& items = records_.at(entry.group);
        EXPECT_EQ(entry.records, static_cast<int>(items.size())) << file;
        // Its own records, each once, and no other group's.
        std::size_t found = 0;
        for (const auto& [customer, list] : records_) {
            for (const std::string& i : list) {
                const std::size_t n = text.find(i) == std::string::npos ? 0 : 1;
                EXPECT_EQ(n, customer == entry.group ? 1u : 0u) << file << " " << i;
                found += n;
            }
        }
        EXPECT_EQ(found, items.size());
        // Its own page numbers and end.
        EXPECT_THAT(text, HasSubstr("Page   1"));
        EXPECT_THAT(text, HasSubstr("End"));
        EXPECT_EQ(entry.pages > 1, items.size() == 25) << file;
        if (entry.pages > 1) {
            EXPECT_THAT(text, HasSubstr("Page   2"));
        }
    }
    EXPECT_EQ(groups.size(), records_.size());
    EXPECT_TRUE(files.contains("all/inv-%2Ehidden.txt"));
    EXPECT_TRUE(files.contains("all/inv-%2E.%2Fup.txt"));
    EXPECT_TRUE(files.contains("all/inv-%252Fx.txt"));
    EXPECT_TRUE(files.contains("all/inv-%20.txt"));
    EXPECT_TRUE(files.contains("all/inv-a%2Fb.txt"));
}

TEST_F(SplitRunTest, ShardsTogetherWriteTheWholeRunFileForFile) {
    const auto whole = ReadManifest(Run("all", ""));
    std::map<std::string, std::string> sharded;
    for (int k = 0; k < 3; ++k) {
        const std::string folder = "shard" + std::to_string(k);
        const auto files = ReadManifest(Run(folder, "--shard " + std::to_string(k) + "/3"));
        for (const auto& [file, entry] : files) {
            const std::string name = std::filesystem::path(file).filename().string();
            EXPECT_TRUE(sharded.emplace(name, ReadWhole(dir_ / file)).second) << name;
        }
        // Nothing else in the shard's folder: no partial or temporary file.
        std::size_t in_folder = 0;
        for ([[maybe_unused]] const auto& f : std::filesystem::directory_iterator(dir_ / folder))
            ++in_folder;
        EXPECT_EQ(in_folder, files.size());
    }
    ASSERT_EQ(sharded.size(), whole.size());
    for (const auto& [file, entry] : whole) {
        const std::string name = std::filesystem::path(file).filename().string();
        ASSERT_TRUE(sharded.contains(name)) << name;
        EXPECT_EQ(sharded.at(name), ReadWhole(dir_ / file)) << name;
    }
}

TEST_F(SplitRunTest, UnsortedDataStopsTheRunAndBadOptionsAreUsageErrors) {
    WriteWhole(dir_ / "unsorted.csv", "customer,item,qty\nA,I1,1\nB,I2,2\nA,I3,3\n");
    const CommandResult r =
        Quillon("run list.txt --data unsorted.csv --split customer --out 'u-{customer}.txt'");
    EXPECT_EQ(r.status, 3);
    EXPECT_THAT(r.err, HasSubstr("unsorted.csv: record 3: the data is not sorted by customer"));
    EXPECT_THAT(r.out, HasSubstr("u-A.txt"));  // the files before it are complete and listed

    const std::string run = "run list.txt --data sales.csv ";
    for (const std::string& args :
         {run + "--split customer --out inv.txt", run + "--split customer --out 'i-{item}.txt'",
          run + "--split customer --out -", run + "--split customer",
          run + "--shard 0/2 --out 'i-{customer}.txt'",
          run + "--split customer --out 'i-{customer}.txt' --shard 3/3",
          run + "--split customer --out 'i-{customer}.txt' --multi-level",
          run + "--group item --group customer --split customer --out 'i-{customer}.txt'"}) {
        const CommandResult bad = Quillon(args);
        EXPECT_EQ(bad.status, 64) << args << "\n" << bad.err;
        EXPECT_THAT(bad.err, HasSubstr("quillon run: ")) << args;
    }
}

TEST_F(SplitRunTest, PdfFilesPerGroupEachWithEveryRecordOfItsGroup) {
    std::filesystem::create_directories(dir_ / "p");
    const CommandResult r =
        Quillon("run list.txt --data sales.csv --split customer --out 'p/{customer}.pdf'");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto pdfs = ReadManifest(r.out);
    ASSERT_EQ(pdfs.size(), records_.size());
    for (const auto& [file, entry] : pdfs) {
        const std::string text = PdfText((dir_ / file).string());
        for (const std::string& item : records_.at(entry.group)) {
            EXPECT_THAT(text, HasSubstr(item)) << file;
        }
    }
    for (const auto& f : std::filesystem::directory_iterator(dir_ / "p")) {
        EXPECT_EQ(f.path().extension(), ".pdf") << f.path();
    }
}

}  // namespace
}  // namespace quillon::testing
