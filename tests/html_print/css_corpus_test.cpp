// Report templates written with style sheets (tests/fixtures/css) render as their reference
// pictures show: the first page of each, through quillon render, against a PNG that was
// looked at beside a browser's rendering of the same file. The comparison is by 8 x 8
// pixel cells, so that a changed glyph edge does not count but a moved line, a lost colour
// or a missing border does.
//
// QUILLON_UPDATE_REFERENCES=1 writes the references anew (look at every one afterwards).

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/common/shell_command.h"
#include "tests/common/temp_dir.h"

namespace quillon::testing {
namespace {

#ifdef QUILLON_BINARY

const std::filesystem::path kCorpus = QUILLON_SOURCE_DIR "/tests/fixtures/css";

// The share of 8 x 8 cells whose mean grey level differs by more than 24 between the two.
double DifferingCells(const QImage& a, const QImage& b) {
    constexpr int kCell = 8;
    int cells = 0;
    int differing = 0;
    for (int y = 0; y + kCell <= a.height(); y += kCell) {
        for (int x = 0; x + kCell <= a.width(); x += kCell) {
            long sum_a = 0;
            long sum_b = 0;
            for (int dy = 0; dy < kCell; ++dy) {
                for (int dx = 0; dx < kCell; ++dx) {
                    sum_a += qGray(a.pixel(x + dx, y + dy));
                    sum_b += qGray(b.pixel(x + dx, y + dy));
                }
            }
            ++cells;
            if (std::abs(sum_a - sum_b) > 24L * kCell * kCell) ++differing;
        }
    }
    return cells == 0 ? 1.0 : static_cast<double>(differing) / cells;
}

class CssCorpus : public ::testing::TestWithParam<const char*> {};

TEST_P(CssCorpus, FirstPageLooksAsItsReference) {
    const std::string name = GetParam();
    const TempDir dir;
    const ShellOutput run = RunShell("'" QUILLON_BINARY "' render --png " +
                                     ShellQuote(dir.File("png")) + " --no-page-numbers --to 1 " +
                                     ShellQuote((kCorpus / (name + ".html")).string()) + " 2>&1");
    ASSERT_EQ(run.status, 0) << run.out;
    const QImage page(QString::fromStdString(dir.File("png/page-0001.png")));
    ASSERT_FALSE(page.isNull());
    const std::filesystem::path reference = kCorpus / "reference" / (name + ".png");
    if (std::getenv("QUILLON_UPDATE_REFERENCES")) {
        std::filesystem::create_directories(reference.parent_path());
        ASSERT_TRUE(page.save(QString::fromStdString(reference.string())));
        GTEST_SKIP() << "reference written: " << reference;
    }
    const QImage want(QString::fromStdString(reference.string()));
    ASSERT_FALSE(want.isNull()) << "no reference picture " << reference;
    ASSERT_EQ(page.size(), want.size());
    EXPECT_LE(DifferingCells(page, want), 0.005) << name;
}

INSTANTIATE_TEST_SUITE_P(Templates, CssCorpus,
                         ::testing::Values("invoice", "statement", "grouped-list", "address-labels",
                                           "letter", "summary", "price-list", "timesheet",
                                           "delivery-note", "packing-slip", "report-cover",
                                           "sales-by-region", "label-sheet"),
                         [](const auto& info) {
                             std::string n = info.param;
                             for (char& c : n) {
                                 if (c == '-') c = '_';
                             }
                             return n;
                         });

#endif

}  // namespace
}  // namespace quillon::testing
