// The viewer widget on the offscreen platform: loading, scroll bars, keyboard, links,
// hover, mouse selection, the clipboard, form submission, GIF animation and a screenshot.

#include <QAbstractButton>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "html/layout/image_obj.h"
#include "tests/html_view/model_test_support.h"
#include "platform/qt/qt_image_decoder.h"
#include "widget_test_support.h"

namespace quillon {
namespace {

using testing::Paragraphs;
using testing::ScratchDir;

TEST(ViewerWidget, LoadsAndScrollsWithItsBarsAndKeys) {
    THTMLViewer v;
    testing::ShowViewer(v, 400, 300);
    EXPECT_EQ(v.Width(), 400);
    v.LoadFromBuffer("<P>short</P>");
    EXPECT_TRUE(v.VScrollBar().isHidden());
    v.LoadFromBuffer(Paragraphs(200));
    EXPECT_FALSE(v.VScrollBar().isHidden());
    EXPECT_EQ(v.VScrollBar().maximum(), v.GetScrollBarRange());
    EXPECT_EQ(v.PaintPanel().height(), v.Bars().PanelHeight);

    v.VScrollBar().setValue(300);  // the user drags the bar
    EXPECT_EQ(v.ScrollPos(), 300);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&v, &down);
    EXPECT_EQ(v.ScrollPos(), 316);
    EXPECT_EQ(v.VScrollBar().value(), 316);
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(&v, &end);
    EXPECT_EQ(v.ScrollPos(), v.GetScrollBarRange());

    // A narrower control lays out again and keeps the place.
    v.ScrollTo(v.Document().FindPositionByIndex(100));
    const std::int64_t pos = v.Position();
    v.resize(300, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(v.Width(), 300);
    EXPECT_EQ(v.Position(), pos);
}

// A wheel event as the platform sends it (over the paint panel it goes on to the viewer):
// `angle` in eighths of a degree (120 a notch), `pixels` from a touchpad.
void Wheel(THTMLViewer& v, QPoint angle, QPoint pixels = {},
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(10, 10);
    QWheelEvent e(at, v.mapToGlobal(at), pixels, angle, Qt::NoButton, modifiers, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(&v, &e);
}

TEST(ViewerWidget, TheWheelAndTheTouchpadScroll) {
    THTMLViewer v;
    testing::ShowViewer(v, 300, 300);
    v.LoadFromBuffer("<PRE>" + std::string(200, 'w') + "</PRE>" + Paragraphs(200));
    const int notch = QApplication::wheelScrollLines() * kVerticalSmallStep;
    Wheel(v, QPoint(0, -120));  // one notch towards the user: down
    EXPECT_EQ(v.ScrollPos(), notch);
    EXPECT_EQ(v.VScrollBar().value(), notch);
    Wheel(v, QPoint(0, 120));
    EXPECT_EQ(v.ScrollPos(), 0);
    Wheel(v, QPoint(0, 120));  // at the top already
    EXPECT_EQ(v.ScrollPos(), 0);
    // A touchpad's pixels, and half a notch of a fine wheel.
    Wheel(v, QPoint(0, -60), QPoint(0, -37));
    EXPECT_EQ(v.ScrollPos(), 37);
    Wheel(v, QPoint(0, -60));
    EXPECT_EQ(v.ScrollPos(), 37 + notch / 2);
    // Sideways: a horizontal wheel, or Shift with the vertical one.
    Wheel(v, QPoint(-120, 0));
    EXPECT_GT(v.HScrollPos(), 0);
    const int h = v.HScrollPos();
    Wheel(v, QPoint(0, 120), {}, Qt::ShiftModifier);
    EXPECT_LT(v.HScrollPos(), h);
    // Ctrl+wheel neither scrolls nor zooms.
    const int y = v.ScrollPos();
    Wheel(v, QPoint(0, -120), {}, Qt::ControlModifier);
    EXPECT_EQ(v.ScrollPos(), y);
}

TEST(ViewerWidget, LinkClickHoverAndCursor) {
    ScratchDir dir;
    dir.Write("next.htm", "<TITLE>Next</TITLE><P>arrived</P>");
    THTMLViewer v;
    testing::ShowViewer(v, 400, 300);
    std::vector<std::string> covered;
    v.OnHotSpotCovered = [&](THTMLViewerModel&, const std::string& src) { covered.push_back(src); };
    v.LoadFromFile(
        dir.Write("start.htm", "<TITLE>Start</TITLE><P>Go <A HREF=next.htm>onward</A></P>"));
    const QPoint plain = testing::PointOf(v, "Go");
    const QPoint link = testing::PointOf(v, "onward");
    testing::Hover(v, link);
    EXPECT_EQ(v.PaintPanel().cursor().shape(), Qt::PointingHandCursor);
    testing::Hover(v, plain);
    EXPECT_EQ(v.PaintPanel().cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(covered, (std::vector<std::string>{"next.htm", ""}));
    testing::Click(v, link);
    EXPECT_EQ(v.Title(), "Next");
    EXPECT_EQ(v.CurrentFile(), dir.Path("next.htm"));
}

TEST(ViewerWidget, MouseSelectionAndCopy) {
    THTMLViewer v;
    testing::ShowViewer(v, 400, 300);
    v.LoadFromBuffer("alpha beta gamma");
    const QPoint a = testing::PointOf(v, "alpha");
    const QPoint g = testing::PointOf(v, "gamma");
    v.clearFocus();
    testing::Press(v, a);  // the first click only focuses
    testing::Drag(v, g);
    testing::Release(v, g);
    EXPECT_EQ(v.SelLength(), 0);
    ASSERT_TRUE(v.hasFocus());
    testing::Press(v, a);
    testing::Drag(v, g);
    testing::Release(v, g);
    EXPECT_EQ(v.SelText(), "alpha beta ");
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(&v, &copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "alpha beta ");
    // A drag below the panel starts the auto-scroll timer.
    v.LoadFromBuffer(Paragraphs(100));
    testing::Press(v, testing::PointOf(v, "Line 2"));
    testing::Drag(v, QPoint(20, v.PaintPanel().height() + 30));
    EXPECT_TRUE(v.AutoScrollTimerActive());
    const int before = v.ScrollPos();
    v.AutoScrollTick();
    EXPECT_EQ(v.ScrollPos(), before + 8 * 16);
    testing::Release(v, QPoint(20, v.PaintPanel().height() + 30));
    EXPECT_FALSE(v.AutoScrollTimerActive());
    EXPECT_GT(v.SelLength(), 0);
}

TEST(ViewerWidget, FormControlsAreWidgetsAndSubmitAfterTheClick) {
    THTMLViewer v;
    testing::ShowViewer(v, 400, 300);
    v.LoadFromBuffer(
        "<FORM ACTION=\"find.htm\"><INPUT NAME=q VALUE=\"abc\"><INPUT TYPE=submit VALUE=Go>"
        "</FORM>");
    std::vector<std::string> results;
    int submits = 0;
    v.OnFormSubmit = [&](THTMLViewerModel&, const std::string&, const std::string&,
                         const std::vector<std::string>& r) {
        ++submits;
        results = r;
    };
    v.PaintPanel().repaint();  // places the controls
    auto edits = v.PaintPanel().findChildren<QLineEdit*>();
    auto buttons = v.PaintPanel().findChildren<QAbstractButton*>();
    ASSERT_EQ(edits.size(), 1);
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_TRUE(edits[0]->isVisible());
    edits[0]->setText("typed");
    buttons[0]->click();
    EXPECT_EQ(submits, 0);  // posted: runs after the click
    QCoreApplication::processEvents();
    EXPECT_EQ(submits, 1);
    EXPECT_EQ(results, (std::vector<std::string>{"q=typed"}));
}

TEST(ViewerWidget, AnimatedGifAdvancesOnTheDocumentTimer) {
    RegisterQtImageDecoder();
    THTMLViewer v;
    testing::ShowViewer(v, 300, 200);
    v.SetViewImages(true);
    v.LoadFromBuffer(std::string("<IMG SRC=\"") + QUILLON_TEST_DATA + "/gif/pil_disposals.gif\">");
    ASSERT_EQ(v.Document().AnimatedImages.size(), 1u);
    TImageObj& image = *v.Document().AnimatedImages[0];
    ASSERT_TRUE(image.Gif);
    std::int64_t now = SteadyMilliseconds();
    image.Gif->SetClock([&now] { return now; });
    (void)v.grab();  // a paint: the image was shown, the timer runs
    EXPECT_TRUE(v.AnimationTimerActive());
    const int first = image.Gif->CurrentFrame();
    now += 60000;
    v.AnimationTick();
    EXPECT_NE(image.Gif->CurrentFrame(), first);
    v.Clear();
    (void)v.grab();
    EXPECT_FALSE(v.AnimationTimerActive());
}

}  // namespace
}  // namespace quillon
