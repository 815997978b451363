// The RTF viewer's pages: it opens at the top of page 1, its pages are the document's page
// breaks, the page buttons and the page box scroll a page's start to the top of the panel,
// the page box follows scrolling, buttons that can do nothing are disabled; text written
// in Greek and Japanese code pages shows as written.

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "engine/quillon.h"
#include "tests/common/temp_dir.h"
#include "tests/viewers/viewer_test_support.h"
#include "viewers/rtf_viewer.h"

#ifdef QUILLON_HAS_QTEST
#include <QSignalSpy>
#endif

namespace quillon {
namespace {

using testing::RecordingHost;
using testing::RecordingStorage;
using testing::ScriptedRtfViewer;
using testing::TempDir;

// `pages` pages of `lines` lines each (the last of `last_lines`), each page headed
// "Page N"; \page between them.
std::string PagedRtf(int pages, int lines, int last_lines) {
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fmodern Courier New;}}\\f0\\fs20 ";
    for (int page = 1; page <= pages; ++page) {
        if (page > 1) rtf += "\\page ";
        rtf += "{\\b Page " + std::to_string(page) + "}\\par ";
        const int count = page == pages ? last_lines : lines;
        for (int line = 1; line <= count; ++line) {
            rtf += "line " + std::to_string(line) + " of page " + std::to_string(page) + "\\par ";
        }
    }
    return rtf + "}";
}

class RtfViewerTest : public ::testing::Test {
  protected:
    RtfViewerTest() {
        tRepViewerPar& par = report_.Viewer();
        par.WMaximize = false;
        par.WWidth = 600;
        par.WHeight = 400;
        par.VisibleButtons = 0xFFF;
        report_.SetViewerExt(&viewer_);
    }
    ~RtfViewerTest() override {
        viewer_.CloseWindow();
        testing::FlushDeletes();
    }

    void Open(const std::string& rtf) {
        report_.SetPrnFile(dir_.Write("report.rtf", rtf).string());
        ASSERT_TRUE(report_.LoadFirst()) << (host_.messages.empty() ? "" : host_.messages[0].text);
        report_.Show();
        QApplication::processEvents();
    }
    std::string Box() const { return viewer_.Button(vbPageNumber).text().toStdString(); }
    bool Enabled(TViewerBtn b) const { return viewer_.Button(b).isEnabled(); }
    QScrollBar& Bar() const { return *viewer_.RichEdit().verticalScrollBar(); }
    // Where the heading of a page lies in the document.
    int TopOf(int page) const {
        QTextDocument& doc = *viewer_.RichEdit().document();
        const QString heading = "Page " + QString::number(page);
        QTextBlock block = doc.begin();
        while (block.isValid() && block.text() != heading) block = block.next();
        return static_cast<int>(doc.documentLayout()->blockBoundingRect(block).top());
    }
    // The first line of text at the top of the panel (a point on its first character,
    // below the document's margin).
    std::string TopLine() const {
        return viewer_.RichEdit().cursorForPosition(QPoint(6, 5)).block().text().toStdString();
    }

    TempDir dir_;
    RecordingHost host_;
    TQuillon report_{"report", host_};
    ScriptedRtfViewer viewer_{host_};
};

TEST_F(RtfViewerTest, OpensAtTheTopOfPageOneWithOnlyUsefulButtonsEnabled) {
    Open(PagedRtf(6, 40, 40));
    EXPECT_EQ(viewer_.GetLastPageNumber(), 6);
    EXPECT_EQ(Bar().value(), 0);
    EXPECT_EQ(TopLine(), "Page 1");
    EXPECT_EQ(Box(), "1/6");
    EXPECT_FALSE(Enabled(vbFirst));
    EXPECT_FALSE(Enabled(vbPrior));
    EXPECT_TRUE(Enabled(vbNext));
    EXPECT_TRUE(Enabled(vbLast));
    EXPECT_TRUE(Enabled(vbPageNumber));
    EXPECT_TRUE(Enabled(vbPrint));
    // No history, no help, and no mail without a storage.
    EXPECT_FALSE(Enabled(vbViewerBack));
    EXPECT_FALSE(Enabled(vbViewerForward));
    EXPECT_FALSE(Enabled(vbViewerHelp));
    EXPECT_FALSE(Enabled(vbStorage));
    RecordingStorage storage;
    report_.SetXStorage(&storage);
    report_.Show();
    EXPECT_TRUE(Enabled(vbStorage));
    report_.SetXStorage(nullptr);
}

TEST_F(RtfViewerTest, PageButtonsBringEachPageToTheTop) {
    Open(PagedRtf(6, 40, 3));  // the last page is much shorter than the panel
    viewer_.Button(vbNext).click();
    EXPECT_EQ(Box(), "2/6");
    EXPECT_EQ(Bar().value(), TopOf(2));
    EXPECT_EQ(TopLine(), "Page 2");
    EXPECT_TRUE(Enabled(vbFirst));
    EXPECT_TRUE(Enabled(vbPrior));
    for (int i = 0; i < 3; ++i) viewer_.Button(vbNext).click();
    EXPECT_EQ(Box(), "5/6");
    EXPECT_EQ(TopLine(), "Page 5");

    viewer_.Button(vbLast).click();
    EXPECT_EQ(Box(), "6/6");
    EXPECT_EQ(TopLine(), "Page 6");
    EXPECT_FALSE(Enabled(vbNext));
    EXPECT_FALSE(Enabled(vbLast));
    viewer_.ThePageNext(nullptr);  // the menu's Next Page on the last page: nothing moves
    EXPECT_EQ(Box(), "6/6");
    EXPECT_EQ(TopLine(), "Page 6");

    viewer_.Button(vbPrior).click();
    EXPECT_EQ(Box(), "5/6");
    EXPECT_EQ(TopLine(), "Page 5");
    viewer_.Button(vbFirst).click();
    EXPECT_EQ(Box(), "1/6");
    EXPECT_EQ(Bar().value(), 0);
    EXPECT_FALSE(Enabled(vbFirst));

    // The page box: a number goes to that page, clamped to the document; anything else and
    // Cancel change nothing.
    viewer_.answers = {"3", "99", "0", "abc"};
    viewer_.Button(vbPageNumber).click();
    EXPECT_EQ(Box(), "3/6");
    EXPECT_EQ(TopLine(), "Page 3");
    viewer_.Button(vbPageNumber).click();
    EXPECT_EQ(Box(), "6/6");
    viewer_.Button(vbPageNumber).click();
    EXPECT_EQ(Box(), "1/6");
    viewer_.Button(vbPageNumber).click();
    viewer_.Button(vbPageNumber).click();
    EXPECT_EQ(Box(), "1/6");
    EXPECT_EQ(viewer_.PageNo(), 1);

    EXPECT_FALSE(viewer_.PositionToPage(7));
    EXPECT_FALSE(viewer_.PositionToPage(-1));
}

TEST_F(RtfViewerTest, ThePageBoxFollowsScrolling) {
    Open(PagedRtf(6, 40, 40));
    Bar().setValue(TopOf(4) + 30);
    EXPECT_EQ(Box(), "4/6");
    EXPECT_EQ(viewer_.PageNo(), 4);
    EXPECT_TRUE(Enabled(vbPrior));
    // Next goes on from the page scrolled to.
    viewer_.Button(vbNext).click();
    EXPECT_EQ(Box(), "5/6");
    // The end of page 2 at the top is page 2, however much of page 3 shows below it.
    Bar().setValue(TopOf(3) - 5);
    EXPECT_EQ(Box(), "2/6");
    viewer_.Button(vbPrior).click();
    EXPECT_EQ(Box(), "1/6");
    EXPECT_EQ(Bar().value(), 0);
}

#ifdef QUILLON_HAS_QTEST
TEST_F(RtfViewerTest, PageChangesAreSignalled) {
    QSignalSpy pages(&viewer_.Signals(), &TReportViewerSignals::pageChanged);
    Open(PagedRtf(6, 40, 40));
    ASSERT_GE(pages.count(), 1);
    EXPECT_EQ(pages.last(), (QList<QVariant>{1, 6}));
    Bar().setValue(TopOf(4) + 30);
    EXPECT_EQ(pages.last(), (QList<QVariant>{4, 6}));
    viewer_.Button(vbNext).click();
    EXPECT_EQ(pages.last(), (QList<QVariant>{5, 6}));
    // A slot that throws from the scroll bar: a message, and the page box still follows.
    QObject::connect(&viewer_.Signals(), &TReportViewerSignals::pageChanged, &viewer_.Signals(),
                     [](int, int) { throw std::runtime_error("slot failed"); });
    host_.messages.clear();
    Bar().setValue(TopOf(2) + 30);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, "slot failed");
    EXPECT_EQ(Box(), "2/6");
}
#endif

TEST_F(RtfViewerTest, LoadingAgainOrClearingStartsAtPageOne) {
    Open(PagedRtf(6, 40, 40));
    viewer_.Button(vbLast).click();
    EXPECT_EQ(Box(), "6/6");
    Open(PagedRtf(3, 40, 40));
    EXPECT_EQ(Box(), "1/3");
    EXPECT_EQ(Bar().value(), 0);
    EXPECT_EQ(TopLine(), "Page 1");

    // One page: nothing to move to, so no page button is enabled.
    Open("{\\rtf1 one page\\par}");
    EXPECT_EQ(Box(), "1/1");
    for (TViewerBtn b : {vbFirst, vbPrior, vbNext, vbLast, vbPageNumber}) {
        EXPECT_FALSE(Enabled(b)) << b;
    }
    // A page break at the very end or the very start makes no empty page.
    Open("{\\rtf1\\page one\\par\\page}");
    EXPECT_EQ(Box(), "1/1");

    Open(PagedRtf(2, 5, 5));
    viewer_.Clear();
    EXPECT_EQ(viewer_.GetLastPageNumber(), 1);
    EXPECT_EQ(Box(), "1/1");
    EXPECT_TRUE(viewer_.RichEdit().toPlainText().isEmpty());
}

TEST_F(RtfViewerTest, TheEnginesSixInvoicesAreSixPages) {
    std::ifstream in(QUILLON_TEST_DATA "/rtf/engine_invoice.rtf", std::ios::binary);
    Open(std::string(std::istreambuf_iterator<char>(in), {}));
    EXPECT_EQ(Box(), "1/6");
    EXPECT_EQ(Bar().value(), 0);
    viewer_.Button(vbLast).click();
    EXPECT_EQ(Box(), "6/6");
    for (int page = 5; page >= 1; --page) {
        viewer_.Button(vbPrior).click();
        EXPECT_EQ(Box(), std::to_string(page) + "/6");
    }
}

TEST_F(RtfViewerTest, ALongReportPagesAndSearchesToItsEnd) {
    // 3,000 paragraphs: the control lays out only what it shows, so page moves and
    // searches must reach text that was never shown.
    Open(PagedRtf(50, 59, 59));
    EXPECT_EQ(Box(), "1/50");
    viewer_.answers = {"37"};
    viewer_.Button(vbPageNumber).click();
    EXPECT_EQ(Box(), "37/50");
    EXPECT_EQ(TopLine(), "Page 37");
    viewer_.Button(vbLast).click();
    QApplication::processEvents();
    EXPECT_EQ(Box(), "50/50");
    EXPECT_EQ(TopLine(), "Page 50");
    EXPECT_TRUE(viewer_.Find("line 59 of page 50", true));
    viewer_.Button(vbFirst).click();
    EXPECT_EQ(Box(), "1/50");
}

TEST_F(RtfViewerTest, ShowsGreekAndJapaneseTextAsWritten) {
    Open("{\\rtf1\\ansi\\ansicpg1253 \\'c1\\'e8\\'de\\'ed\\'e1\\par}");
    EXPECT_EQ(viewer_.RichEdit().toPlainText().toStdString(), "Αθήνα");
    Open(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset128 MS Mincho;}}"
        "\\f1\\'93\\'fa\\'96\\'7b\\'8c\\'ea\\par}");
    EXPECT_EQ(viewer_.RichEdit().toPlainText().toStdString(), "日本語");
}

}  // namespace
}  // namespace quillon
