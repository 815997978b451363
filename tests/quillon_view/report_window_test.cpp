// The viewer window of quillon view and quillon run --view: Print TXT and the mail button
// act on the report file on screen, the mail button names the settings that are missing,
// and the print margins are those of quillon render.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "apps/quillon/report_window.h"
#include "engine/quillon.h"
#include "mail/smtp_storage.h"
#include "platform/core/raw_printer.h"
#include "tests/common/recording_host.h"
#include "tests/common/recording_raw_printers.h"
#include "tests/common/temp_dir.h"
#include "viewers/wwwrep_viewer.h"

namespace quillon {
namespace {

using testing::TempDir;

using testing::RecordingHost;
using testing::RecordingRawPrinters;

QAction* MenuItem(TCustomWWWRepViewer& viewer, const QString& caption) {
    QMenuBar* bar = viewer.CurrentMenuBar();
    if (bar == nullptr || bar->actions().isEmpty()) return nullptr;
    for (QAction* a : bar->actions().front()->menu()->actions()) {
        if (a->text() == caption) return a;
    }
    return nullptr;
}

class ReportWindowTest : public ::testing::Test {
  protected:
    TempDir dir_;
    void SetUp() override {
        // The mail review window is cancelled, so that no test sends anything.
        host_.review = [](MailReview&) { return false; };
    }
    RecordingHost host_;
    TQuillon report_{"report", host_};
};

TEST_F(ReportWindowTest, PrintTxtAndMailTakeTheFileOnScreenWithRendersMargins) {
    // A report written under another name than the default output file.
    const std::string file = dir_.Write("sales.txt", "Sales report\r\nline two\r\n").string();
    {
        app::ReportWindow window(report_, file, ReportViewerKind::Txt, host_, 400, 300);
        TCustomWWWRepViewer& viewer = window.Viewer();
        EXPECT_EQ(report_.PrnFile(), file);
        EXPECT_EQ(report_.XStorage(), &window.MailStorage());
        ASSERT_TRUE(report_.LoadFromFile(file));
        for (double margin : {viewer.GetPrintMarginLeft(), viewer.GetPrintMarginRight(),
                              viewer.GetPrintMarginTop(), viewer.GetPrintMarginBottom()}) {
            EXPECT_DOUBLE_EQ(margin, app::kViewerMarginCm);
        }
        viewer.Show(report_, false);
        QApplication::processEvents();

        RecordingRawPrinters printers;
        report_.SetRawPrinters(&printers);
        QAction* print_txt = MenuItem(viewer, "Print TXT");
        ASSERT_NE(print_txt, nullptr);
        print_txt->trigger();
        EXPECT_NE(printers.bytes.find("Sales report"), std::string::npos) << printers.bytes;
        report_.SetRawPrinters(nullptr);

        // Without a settings file the mail button says what the account needs, before any
        // recipient is asked for.
        const testing::ScopedEnv settings("QUILDOC_INI", dir_.File("missing/QUILDOC.INI"));
        host_.messages.clear();
        viewer.Button(vbStorage).click();
        EXPECT_EQ(host_.reviews, 0);
        ASSERT_EQ(host_.messages.size(), 1u);
        const std::string& said = host_.messages[0].text;
        EXPECT_NE(said.find(dir_.File("missing/QUILDOC.INI") + " does not exist"),
                  std::string::npos)
            << said;
        for (const char* key : {"[MAIL]", "URL=smtp://", "FROM="}) {
            EXPECT_NE(said.find(key), std::string::npos) << key << " in " << said;
        }
        viewer.CloseWindow();
    }
    EXPECT_EQ(report_.XStorage(), nullptr);
    EXPECT_EQ(report_.ViewerExt(), nullptr);
}

TEST_F(ReportWindowTest, ASettingsFileWithoutTheMailSectionIsNamed) {
    const std::string file = dir_.Write("r.htm", "<P>report</P>").string();
    const std::string ini = dir_.Write("QUILDOC.INI", "[OTHER]\nA=1\n").string();
    const testing::ScopedEnv settings("QUILDOC_INI", ini);
    app::ReportWindow window(report_, file, ReportViewerKind::Html, host_, 400, 300);
    ASSERT_TRUE(report_.LoadFromFile(file));
    window.Viewer().Show(report_, false);
    window.Viewer().Button(vbStorage).click();
    window.Viewer().CloseWindow();
    ASSERT_EQ(host_.messages.size(), 1u);
    const std::string& said = host_.messages[0].text;
    EXPECT_NE(said.find("mail profile [MAIL]: no such section"), std::string::npos) << said;
    EXPECT_NE(said.find(ini), std::string::npos) << said;
    EXPECT_NE(said.find("URL=smtp://"), std::string::npos) << said;
}

// quillon run --view: while the window is open its host is handed out (the run's messages
// go there), and taken back once the window is closed.
TEST_F(ReportWindowTest, TheWindowsHostIsHandedOutWhileTheWindowIsOpen) {
    const std::string file = dir_.Write("r.txt", "report\r\n").string();
    std::vector<HostServices*> hosts;
    bool open_while_shown = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || w->windowTitle() != "r.txt - quillon") continue;
            open_while_shown = hosts.size() == 1 && hosts[0] != nullptr;
            w->close();
        }
    });
    EXPECT_TRUE(app::ShowReportFile(report_, file, ReportViewerKind::Txt,
                                    [&hosts](HostServices* h) { hosts.push_back(h); }));
    EXPECT_TRUE(open_while_shown);
    ASSERT_EQ(hosts.size(), 2u);
    EXPECT_EQ(hosts[1], nullptr);
    EXPECT_EQ(report_.ViewerExt(), nullptr);
}

}  // namespace
}  // namespace quillon
