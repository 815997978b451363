// The viewer's Qt signals beside its callbacks, and handlers that throw while the viewer
// handles a Qt event: reported through the viewer's host, never passed to Qt.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QScrollBar>
#include <stdexcept>

#include "tests/common/recording_host.h"
#include "tests/html_view/model_test_support.h"
#include "widget_test_support.h"

#ifdef QUILLON_HAS_QTEST
#include <QSignalSpy>
#endif

namespace quillon {
namespace {

using testing::ScratchDir;

#ifdef QUILLON_HAS_QTEST

TEST(ViewerSignals, LinksHistoryScrollAndFormsAreSignalled) {
    ScratchDir dir;
    dir.Write("next.htm", "<TITLE>Next</TITLE><P>Arrived</P>");
    THTMLViewer v;
    v.SetHistoryMaxCount(5);
    testing::ShowViewer(v, 400, 300);
    v.LoadFromFile(
        dir.Write("start.htm", "<P>Go <A HREF=next.htm>onward</A></P>" + testing::Paragraphs(60)));
    QSignalSpy covered(&v, &THTMLViewer::hotSpotCovered);
    QSignalSpy clicked(&v, &THTMLViewer::hotSpotClicked);
    QSignalSpy history(&v, &THTMLViewer::historyChanged);
    QSignalSpy scrolled(&v, &THTMLViewer::scrolled);
    bool callback_ran = false;
    v.OnHotSpotCovered = [&](THTMLViewerModel&, const std::string&) { callback_ran = true; };

    const QPoint link = testing::PointOf(v, "onward");
    ASSERT_GE(scrolled.count(), 1);  // PointOf scrolls the link into view
    EXPECT_EQ(scrolled.last().at(0).toInt(), v.ScrollPos());
    testing::Hover(v, link);
    testing::Hover(v, testing::PointOf(v, "Go"));
    ASSERT_EQ(covered.count(), 2);
    EXPECT_EQ(covered.at(0).at(0).toString(), "next.htm");
    EXPECT_EQ(covered.at(1).at(0).toString(), "");
    EXPECT_TRUE(callback_ran);  // the callback still runs beside the signal

    testing::Click(v, testing::PointOf(v, "onward"));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toString(), "next.htm");
    EXPECT_FALSE(clicked.at(0).at(1).toBool());
    EXPECT_EQ(v.Title(), "Next");
    EXPECT_EQ(history.count(), 1);
    v.SetHistoryIndex(1);
    EXPECT_EQ(history.count(), 2);

    // A callback that takes the click: the signal says so and the viewer stays.
    v.OnHotSpotClick = [](THTMLViewerModel&, const std::string&, bool& handled) { handled = true; };
    testing::Click(v, testing::PointOf(v, "onward"));
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_TRUE(clicked.at(1).at(1).toBool());
    EXPECT_EQ(v.CurrentFile(), dir.Path("start.htm"));
}

TEST(ViewerSignals, FormSubmitIsSignalledAfterTheClick) {
    THTMLViewer v;
    testing::ShowViewer(v, 400, 300);
    v.LoadFromBuffer(
        "<FORM ACTION=\"find.htm\" METHOD=post><INPUT NAME=q VALUE=\"abc\">"
        "<INPUT TYPE=submit VALUE=Go></FORM>");
    QSignalSpy submitted(&v, &THTMLViewer::formSubmitted);
    v.PaintPanel().repaint();  // places the controls
    auto buttons = v.PaintPanel().findChildren<QAbstractButton*>();
    ASSERT_EQ(buttons.size(), 1);
    buttons[0]->click();
    EXPECT_EQ(submitted.count(), 0);
    ASSERT_TRUE(submitted.wait(1000));
    EXPECT_EQ(submitted.at(0).at(0).toString(), "find.htm");
    EXPECT_EQ(submitted.at(0).at(1).toString().toUpper(), "POST");
    EXPECT_EQ(submitted.at(0).at(2).toStringList(), QStringList{"q=abc"});
}

#endif

using testing::RecordingHost;

TEST(ViewerSignals, ThrowingHandlersAreReportedNotPassedToQt) {
    ScratchDir dir;
    RecordingHost host;
    THTMLViewer v;
    v.SetHost(&host);
    testing::ShowViewer(v, 400, 300);
    v.LoadFromFile(
        dir.Write("start.htm", "<P>Go <A HREF=gone.htm>onward</A></P>" + testing::Paragraphs(60)));
    v.OnHotSpotCovered = [](THTMLViewerModel&, const std::string&) {
        throw std::runtime_error("covered failed");
    };
    testing::Hover(v, testing::PointOf(v, "onward"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "covered failed");

    // A slot that throws, from the scroll bar.
    QObject::connect(&v, &THTMLViewer::scrolled, &v,
                     [](int) { throw std::runtime_error("slot failed"); });
    v.VScrollBar().setValue(v.VScrollBar().value() + 16);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text, "slot failed");

    // A link to a missing file: the load's error is a message, the viewer stays usable.
    v.OnHotSpotCovered = nullptr;
    QObject::disconnect(&v, &THTMLViewer::scrolled, &v, nullptr);
    testing::Click(v, testing::PointOf(v, "onward"));
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_NE(host.messages[2].text.find("gone.htm"), std::string::npos);
    v.LoadFromBuffer("<P>still here</P>");
    EXPECT_TRUE(v.FindPos("still", true).has_value());
}

}  // namespace
}  // namespace quillon
