// Moving through a report in the HTML viewer window (offscreen): the page box follows the
// view whichever way it moved (wheel, scroll bar, keys, search, anchor), the page buttons
// still name the page they went to, and the default menu's paging items and keyboard
// shortcuts reach their handlers.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextEdit>
#include <QToolButton>
#include <QWheelEvent>
#include <string>
#include <vector>

#ifdef QUILLON_HAS_QTEST
#include <QTest>
#endif

#include "engine/quillon.h"
#include "tests/common/temp_dir.h"
#include "tests/viewers/viewer_test_support.h"
#include "viewers/html_report_viewer.h"

namespace quillon {
namespace {

using testing::FlushDeletes;
using testing::MenuAction;
using testing::RecordingHost;
using testing::ScriptedHtmlViewer;
using testing::TempDir;

// `pages` report pages separated by <PAGE>, each a heading and `lines` numbered lines; the
// last page has `last_lines` lines instead when given.
std::string Report(int pages, int lines, int last_lines = -1) {
    std::string html = "<HTML><BODY>";
    for (int p = 1; p <= pages; ++p) {
        if (p > 1) html += "<PAGE>";
        html += "<H3>Page " + std::to_string(p) + "</H3>";
        const int n = p == pages && last_lines >= 0 ? last_lines : lines;
        for (int line = 0; line < n; ++line) {
            html += "<P>line " + std::to_string(line) + " of " + std::to_string(p) + "</P>";
        }
    }
    return html + "</BODY></HTML>";
}

class NavigationTest : public ::testing::Test {
  protected:
    NavigationTest() {
        report_.SetViewerExt(&viewer_);
        report_.Viewer().WMaximize = false;
        report_.Viewer().WWidth = 500;
        report_.Viewer().WHeight = 300;
        report_.Viewer().VisibleButtons = 0x0FFF;
    }
    ~NavigationTest() override {
        viewer_.CloseWindow();
        FlushDeletes();
    }

    void Show(const std::string& html) {
        report_.SetPrnFile(dir_.Write("report.htm", html).string());
        ASSERT_TRUE(report_.LoadFirst());
        report_.Show();
        QApplication::processEvents();
    }
    std::string Box() const { return viewer_.Button(vbPageNumber).text().toStdString(); }
    int Top() const { return viewer_.Viewer().ScrollPos(); }
    int Bottom() const { return viewer_.Viewer().GetScrollBarRange(); }
    std::vector<int> PageTops() const {
        std::vector<int> tops;
        for (const auto& s : viewer_.Viewer().Document().Sections()) {
            if (s->IfNewPage()) tops.push_back(s->LayoutY);
        }
        return tops;
    }
    // One notch of the mouse wheel (negative: towards the end of the document).
    void Wheel(int notches) {
        QWheelEvent event(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&viewer_.Viewer(), &event);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&viewer_.Viewer(), &event);
    }

    TempDir dir_;
    RecordingHost host_;
    TQuillon report_{"report", host_};
    ScriptedHtmlViewer viewer_{host_};
};

TEST_F(NavigationTest, ThePageBoxShowsThePageAtTheTopAfterWheelBarKeysAndFind) {
    Show(Report(3, 30));
    const std::vector<int> tops = PageTops();
    ASSERT_EQ(tops.size(), 2u);
    ASSERT_EQ(Box(), "1/3");

    // The wheel: page 1 until the second page's start reaches the top of the panel.
    while (Top() < tops[0]) {
        EXPECT_EQ(Box(), "1/3") << Top();
        Wheel(-1);
    }
    EXPECT_EQ(Box(), "2/3");
    EXPECT_EQ(viewer_.PageNo(), 2);
    // Next goes on from the page the wheel reached.
    viewer_.Button(vbNext).click();
    EXPECT_EQ(Box(), "3/3");
    EXPECT_EQ(Top(), std::min(tops[1], Bottom()));
    Wheel(1);
    EXPECT_EQ(Box(), "2/3") << "back above the third page's start";

    // The scroll bar.
    QScrollBar& bar = viewer_.Viewer().VScrollBar();
    bar.setValue(tops[0] - 1);
    EXPECT_EQ(Box(), "1/3");
    bar.setValue(tops[0] + 10);
    EXPECT_EQ(Box(), "2/3");

    // The keys.
    Key(Qt::Key_Home);
    EXPECT_EQ(Box(), "1/3");
    while (Top() < tops[0]) Key(Qt::Key_PageDown);
    EXPECT_EQ(Box(), "2/3");
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Top(), Bottom());
    EXPECT_EQ(Box(), "3/3");
    Key(Qt::Key_Up);
    EXPECT_EQ(Box(), "3/3") << "the third page is taller than the panel";
    Key(Qt::Key_Home);
    EXPECT_EQ(Box(), "1/3");

    // Find and Find Next: the hit goes to half the panel's height.
    viewer_.answers = {"line 20 of 2"};
    viewer_.TheFind(nullptr);
    EXPECT_GT(Top(), tops[0]);
    EXPECT_EQ(Box(), "2/3");
    viewer_.answers = {"line 20 of"};
    viewer_.TheFind(nullptr);
    EXPECT_EQ(Box(), "1/3");
    viewer_.TheFindNext(nullptr);
    EXPECT_EQ(Box(), "2/3");
    viewer_.TheFindNext(nullptr);
    EXPECT_EQ(Box(), "3/3");
    EXPECT_TRUE(host_.messages.empty());

    // A new layout keeps the place, and the box with it.
    viewer_.Form().resize(600, 300);
    QApplication::processEvents();
    EXPECT_EQ(Box(), "3/3");
}

TEST_F(NavigationTest, AShortLastPageCountsOnceTheViewReachesTheEnd) {
    Show(Report(2, 30, 2));
    const std::vector<int> tops = PageTops();
    ASSERT_EQ(tops.size(), 1u);
    ASSERT_LT(Bottom(), tops[0]) << "the last page cannot reach the top of the panel";

    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Box(), "2/2");
    Wheel(1);
    EXPECT_EQ(Box(), "1/2");
    // The buttons name the page they went to, wherever the view had to stop.
    viewer_.Button(vbLast).click();
    EXPECT_EQ(Box(), "2/2");
    EXPECT_EQ(Top(), Bottom());
    viewer_.Button(vbPrior).click();
    EXPECT_EQ(Box(), "1/2");
    EXPECT_EQ(Top(), 0);
    viewer_.Button(vbNext).click();
    EXPECT_EQ(Box(), "2/2");
    viewer_.Button(vbNext).click();
    EXPECT_EQ(Box(), "2/2");
}

TEST_F(NavigationTest, AnAnchorMovesThePageBoxToo) {
    std::string html = Report(3, 30);
    html.insert(html.rfind("line 5 of 3"), "<A NAME=\"third\"></A>");
    Show(html);
    EXPECT_TRUE(viewer_.PositionTo("#Third")) << "names in any case";
    EXPECT_EQ(Box(), "3/3");
    EXPECT_FALSE(viewer_.PositionTo("fourth"));
    EXPECT_EQ(Box(), "3/3");
}

TEST_F(NavigationTest, TheMenuStepsThroughPagesAndShowsItsShortcuts) {
    Show(Report(3, 30));
    QAction* first = MenuAction(viewer_, "First Page");
    QAction* prior = MenuAction(viewer_, "&Previous Page");
    QAction* next = MenuAction(viewer_, "&Next Page");
    QAction* last = MenuAction(viewer_, "&Last Page");
    ASSERT_TRUE(first && prior && next && last);
    last->trigger();
    EXPECT_EQ(Box(), "3/3");
    prior->trigger();
    EXPECT_EQ(Box(), "2/3");
    EXPECT_EQ(Top(), PageTops()[0]);
    first->trigger();
    EXPECT_EQ(Box(), "1/3");
    next->trigger();
    EXPECT_EQ(Box(), "2/3");

    EXPECT_EQ(MenuAction(viewer_, "Find Next")->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(MenuAction(viewer_, "Select All")->shortcut(), QKeySequence("Ctrl+A"));
    EXPECT_EQ(MenuAction(viewer_, "Copy to Clipboard")->shortcut(), QKeySequence("Ctrl+C"));
    QAction* close = MenuAction(viewer_, "Close");
    EXPECT_EQ(close->shortcut(), QKeySequence("Ctrl+W"));
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Close)) {
        EXPECT_TRUE(close->shortcuts().contains(key)) << key.toString().toStdString();
    }
    EXPECT_EQ(close->shortcuts().count(QKeySequence("Ctrl+W")), 1);
}

#ifdef QUILLON_HAS_QTEST
TEST_F(NavigationTest, TheKeysOfTheMenuWorkInTheWindow) {
    Show("<P>one&nbsp;two</P><P>alpha</P><P>beta alpha</P>");
    viewer_.Form().activateWindow();
    QApplication::processEvents();
    if (QApplication::activeWindow() != &viewer_.Form()) {
        QApplication::setActiveWindow(&viewer_.Form());
    }
    ASSERT_EQ(QApplication::activeWindow(), &viewer_.Form());
    EXPECT_EQ(QApplication::focusWidget(), &viewer_.Viewer())
        << "the document takes the keys from the start";
    QWidget* target = &viewer_.Viewer();

    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    EXPECT_GT(viewer_.Viewer().SelLength(), 0);
    QApplication::clipboard()->clear();
    QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
    const std::string copied = QApplication::clipboard()->text().toStdString();
    EXPECT_NE(copied.find("one\ttwo"), std::string::npos)
        << "the window's Copy, which turns no-break spaces into tabs: " << copied;

    viewer_.answers = {"alpha"};
    viewer_.TheFind(nullptr);
    const int first_hit = viewer_.Viewer().SelStart();
    QTest::keyClick(target, Qt::Key_F3);
    EXPECT_GT(viewer_.Viewer().SelStart(), first_hit);
    EXPECT_TRUE(host_.messages.empty());

    QTest::keyClick(target, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(viewer_.GetVisible());
}

// The text viewer's window has the same keys.
TEST(TextNavigation, TheKeysOfTheMenuWorkInTheTextViewer) {
    TempDir dir;
    RecordingHost host;
    TQuillon report("report", host);
    testing::ScriptedTxtViewer viewer(host);
    report.SetViewerExt(&viewer);
    report.SetPrnFile(dir.Write("report.txt", "alpha\r\nbeta alpha\r\n").string());
    ASSERT_TRUE(report.LoadFirst());
    report.Show();
    QApplication::processEvents();
    if (QApplication::activeWindow() != &viewer.Form()) {
        QApplication::setActiveWindow(&viewer.Form());
    }
    ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(&viewer.RichEdit()));
    QWidget* target = &viewer.RichEdit();

    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(viewer.RichEdit().textCursor().selectedText().size(), 17);
    QApplication::clipboard()->clear();
    QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().size(), 17);

    viewer.answers = {"alpha"};
    viewer.TheFind(nullptr);
    EXPECT_EQ(viewer.LastFindPosition(), 0);
    QTest::keyClick(target, Qt::Key_F3);
    EXPECT_EQ(viewer.LastFindPosition(), 11);
    EXPECT_TRUE(host.messages.empty());

    QTest::keyClick(target, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(viewer.GetVisible());
    viewer.CloseWindow();
    FlushDeletes();
}
#endif

}  // namespace
}  // namespace quillon
