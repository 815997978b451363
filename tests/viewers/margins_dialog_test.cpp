// The margins dialog and margin texts under the user's locale: a decimal comma or point is
// read in any locale (never as a thousands separator), every field shows its unit, the
// rows line up; and the help page of the viewer window, found in the folders searched.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "tests/common/temp_dir.h"
#include "tests/viewers/viewer_test_support.h"
#include "viewers/help_page.h"
#include "viewers/html_report_viewer.h"
#include "viewers/margin_math.h"
#include "viewers/margins_dialog.h"

namespace quillon {
namespace {

using testing::RecordingHost;
using testing::TempDir;

// Makes locale the default one for the test's lifetime.
class ScopedLocale {
  public:
    explicit ScopedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(saved_); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

  private:
    QLocale saved_;
};

TEST(MarginText, ADecimalCommaOrPointInEveryLocale) {
    for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        SCOPED_TRACE(locale.name().toStdString());
        const ScopedLocale scoped(locale);
        EXPECT_EQ(ReadMarginText("2,5"), 2.5);
        EXPECT_EQ(ReadMarginText("2.5"), 2.5);
        EXPECT_EQ(ReadMarginText(" 3 "), 3.0);
        EXPECT_EQ(ReadMarginText("1,5 cm"), 1.5);
        EXPECT_EQ(ReadMarginText("1.5cm"), 1.5);
        // Never a thousands separator: 2.500 is two and a half, 1,000.5 no number.
        EXPECT_EQ(ReadMarginText("2.500"), 2.5);
        EXPECT_EQ(ReadMarginText("2,500"), 2.5);
        EXPECT_FALSE(ReadMarginText("1,000.5"));
        EXPECT_FALSE(ReadMarginText("cm"));
        EXPECT_FALSE(ReadMarginText("2,5,1"));
    }
    const ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(MarginText(2.5), "2,5");
    EXPECT_EQ(MarginText(1500), "1500");
}

TEST(MarginsDialog, EveryFieldShowsItsUnitAndTheRowsLineUp) {
    const ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    RecordingHost host;
    MarginsDialog dialog(laGerman, {2.5, 1, 2, 0.5}, host);
    dialog.show();
    QApplication::processEvents();

    EXPECT_EQ(dialog.Field(0).text(), "2,5");
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    int units = 0;
    for (const QLabel* label : labels) units += label->text() == "cm" ? 1 : 0;
    EXPECT_EQ(units, MarginsDialog::kRows);
    for (int row = 0; row < MarginsDialog::kRows; ++row) {
        SCOPED_TRACE(row);
        const QLineEdit& field = dialog.Field(row);
        const QLabel* name = nullptr;
        const QLabel* unit = nullptr;
        for (const QLabel* label : labels) {
            if (label->buddy() == &field) name = label;
            const int middle = label->geometry().center().y();
            if (label->text() == "cm" && middle >= field.geometry().top() &&
                middle <= field.geometry().bottom()) {
                unit = label;
            }
        }
        ASSERT_NE(name, nullptr);
        ASSERT_NE(unit, nullptr);
        // The name carries no unit of its own; name, field and unit share a middle line.
        EXPECT_EQ(name->text().indexOf("(cm)"), -1) << name->text().toStdString();
        EXPECT_NEAR(name->geometry().center().y(), field.geometry().center().y(), 1);
        EXPECT_NEAR(unit->geometry().center().y(), field.geometry().center().y(), 1);
        EXPECT_GT(unit->geometry().left(), field.geometry().right());
        // Columns: every field starts where the first one does.
        EXPECT_EQ(field.geometry().left(), dialog.Field(0).geometry().left());
        EXPECT_GT(field.geometry().left(), name->geometry().right());
        if (row > 0) {
            EXPECT_GT(field.geometry().top(), dialog.Field(row - 1).geometry().bottom());
        }
    }
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        EXPECT_GT(button->geometry().top(),
                  dialog.Field(MarginsDialog::kRows - 1).geometry().bottom());
        EXPECT_LE(button->geometry().right(), dialog.width());
    }
    if (const char* dir = std::getenv("QUILLON_SCREENSHOT_DIR")) {
        dialog.grab().save(QString::fromStdString(std::string(dir) + "/margins_dialog.png"));
    }

    // Decimal commas and points are taken under the German locale alike.
    dialog.Field(0).setText("1,5");
    dialog.Field(1).setText("2.25");
    dialog.Field(2).setText("3 cm");
    dialog.Field(3).setText("0");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_DOUBLE_EQ(dialog.Values().top, 1.5);
    EXPECT_DOUBLE_EQ(dialog.Values().bottom, 2.25);
    EXPECT_DOUBLE_EQ(dialog.Values().left, 3);
    EXPECT_DOUBLE_EQ(dialog.Values().right, 0);
}

// The strips along the page edges say their margin with its unit; the side strips put the
// unit under the number, where a narrow strip has room for it.
TEST(MarginStrips, ShowTheirUnit) {
    RecordingHost host;
    testing::ScriptedTxtViewer viewer(host);
    viewer.SetViewerMaximize(false);
    viewer.SetViewerWidth(400);
    viewer.SetViewerHeight(300);
    viewer.SetPrintMarginTop(1.5);
    viewer.SetPrintMarginBottom(1);
    viewer.SetPrintMarginLeft(1);
    viewer.SetPrintMarginRight(2);
    viewer.SetShowMargins(true);
    viewer.Form().show();
    QApplication::processEvents();
    MarginFrame& m = viewer.Margins();
    EXPECT_EQ(m.Panel(MarginSide::kTop).text(), "1.5 cm");
    EXPECT_EQ(m.Panel(MarginSide::kLeft).text(), "1 cm");
    // The unit fits: the side strip's text needs no more than the strip's width per line.
    const MarginPanel& left = m.Panel(MarginSide::kLeft);
    const int widest = std::max(left.fontMetrics().horizontalAdvance("1"),
                                left.fontMetrics().horizontalAdvance("cm"));
    EXPECT_LE(widest, left.width());
    EXPECT_LE(left.heightForWidth(left.width()), left.height());
    if (const char* dir = std::getenv("QUILLON_SCREENSHOT_DIR")) {
        viewer.Form().grab().save(QString::fromStdString(std::string(dir) + "/margin_strips.png"));
    }
    viewer.CloseWindow();
}

TEST(HelpPage, TheFirstFolderHoldingThePageWins) {
    TempDir dir;
    const std::filesystem::path empty = dir.File("empty");
    const std::filesystem::path shipped = dir.File("shipped");
    const std::filesystem::path own = dir.File("own");
    for (const auto& folder : {empty, shipped, own}) std::filesystem::create_directories(folder);
    dir.Write("shipped/ViewHlp.htm", "<P>shipped</P>");
    dir.Write("own/ViewHlp.htm", "<P>own</P>");
    EXPECT_EQ(FindHelpPage({empty, shipped, own}), shipped / "ViewHlp.htm");
    EXPECT_EQ(FindHelpPage({own, shipped}), own / "ViewHlp.htm");
    EXPECT_FALSE(FindHelpPage({empty}));
    EXPECT_FALSE(FindHelpPage({}));

    // The current folder comes first, then the executable's folder.
    const std::vector<std::filesystem::path> folders = HelpPageFolders();
    ASSERT_GE(folders.size(), 3u);
    EXPECT_EQ(folders[0], std::filesystem::current_path());
    EXPECT_EQ(folders[1].lexically_normal(),
              std::filesystem::canonical("/proc/self/exe").parent_path().lexically_normal() / "");
}

TEST(HelpPage, TheHelpButtonShowsThePageFoundAndNamesTheFoldersOtherwise) {
    TempDir dir;
    RecordingHost host;
    TrptHTMLViewer viewer("viewer", host);
    viewer.LoadFromFile(dir.Write("report.htm", "<P>the report</P>").string());
    std::filesystem::create_directories(dir.File("none"));
    std::filesystem::create_directories(dir.File("share"));
    dir.Write("share/ViewHlp.htm", "<TITLE>Help</TITLE><P>how to</P>");

    viewer.SetHelpFolders({dir.File("none"), dir.File("share")});
    viewer.Button(vbViewerHelp).click();
    EXPECT_EQ(viewer.CurrentFile(), dir.File("share/ViewHlp.htm"));
    viewer.Button(vbViewerHelp).click();
    EXPECT_EQ(viewer.CurrentFile(), dir.File("report.htm"));
    EXPECT_TRUE(host.messages.empty());

    viewer.SetHelpFolders({dir.File("none")});
    viewer.Button(vbViewerHelp).click();
    EXPECT_FALSE(viewer.Button(vbViewerHelp).isChecked());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "No help page: ViewHlp.htm is in none of these folders:\n" + dir.File("none"));
}

// The page shipped with the program is one the viewer shows: it has a title and speaks of
// the buttons it explains.
TEST(HelpPage, TheShippedPageLoads) {
    const std::filesystem::path page =
        std::filesystem::path(QUILLON_SOURCE_DIR) / "viewers" / "help" / "ViewHlp.htm";
    RecordingHost host;
    TrptHTMLViewer viewer("viewer", host);
    viewer.LoadFromFile(page.string());
    EXPECT_EQ(viewer.GetTitle(), "Report viewer help");
    for (const char* word : {"Print", "Printer Setup", "Margins", "QUILDOC.INI", "2 cm"}) {
        EXPECT_TRUE(viewer.Find(word, true)) << word;
    }
}

}  // namespace
}  // namespace quillon
