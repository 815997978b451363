// Search, selection by mouse and keyboard-free operations, auto-scrolling and form
// submission of the viewer model.

#include <gtest/gtest.h>

#include "html/layout/form_controls.h"
#include "html/layout/html_form.h"
#include "model_test_support.h"

namespace quillon {
namespace {

using testing::FakeViewer;
using testing::Paragraphs;

// The selected text without the line end that a selection starting at a paragraph's first
// character takes from the paragraph's spacing.
std::string Selected(const THTMLViewerModel& v) {
    std::string s = v.SelText();
    if (s.rfind("\r\n", 0) == 0) s.erase(0, 2);
    return s;
}

TEST(ViewerFind, SearchesOnFromTheCaretAndScrollsTheHitIntoView) {
    FakeViewer v;
    v.LoadFromBuffer("Total first" + Paragraphs(100) + "total second");
    EXPECT_FALSE(v.Find("", false));
    EXPECT_TRUE(v.Find("total", false));
    EXPECT_EQ(v.SelText(), "Total");
    EXPECT_EQ(v.ScrollPos(), 0);
    EXPECT_EQ(v.CaretPos(), v.SelEnd());
    EXPECT_TRUE(v.Find("total", false));  // the next one, far below
    EXPECT_EQ(Selected(v), "total");
    const auto hit = v.Document().CursorToXY(v.MeasureCanvas(), v.SelStart());
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(v.ScrollPos(), std::min(v.GetScrollBarRange(), hit->y - v.Bars().PanelHeight / 2));
    EXPECT_FALSE(v.Find("total", false));  // no third
    v.SetCaretPos(0);
    EXPECT_TRUE(v.Find("total", true));  // match case skips "Total"
    EXPECT_EQ(Selected(v), "total");
    v.SetCaretPos(0);
    EXPECT_TRUE(v.FindPos("second", true).has_value());
    EXPECT_EQ(v.CaretPos(), 0);
}

TEST(ViewerSelection, SelectAllCopyAndNoSelect) {
    FakeViewer v;
    v.LoadFromBuffer("alpha<P>beta");
    std::u32string clipboard;
    v.Document().OnClipboardText = [&](TSectionList&, const std::u32string& t) { clipboard = t; };
    v.SelectAll();
    EXPECT_EQ(v.SelStart(), 0);
    EXPECT_NE(v.SelText().find("alpha"), std::string::npos);
    EXPECT_NE(v.SelText().find("beta"), std::string::npos);
    EXPECT_EQ(v.SelLength(), static_cast<int>(v.SelText().size()));
    EXPECT_EQ(v.CopyToClipboard(), v.SelText());
    EXPECT_EQ(clipboard, U"alpha\r\n\r\nbeta");  // text, paragraph space
    EXPECT_EQ(v.GetSelTextBuf(4), "alp");
    v.SetSelLength(0);
    EXPECT_EQ(v.SelLength(), 0);
    v.SetNoSelect(true);
    EXPECT_EQ(v.SelStart(), -1);
    v.SelectAll();
    EXPECT_EQ(v.SelLength(), 0);
}

// Hidden text keeps its room but is neither found nor copied; a visible part inside it
// and the text around it are.
TEST(ViewerSelection, HiddenTextIsNeitherFoundNorCopied) {
    FakeViewer v;
    v.LoadFromBuffer(
        "<style>.h { visibility: hidden } .v { visibility: visible }</style>"
        "<p>one <span class=h>secret <b class=v>shown</b> word</span> two<p>Secret");
    ASSERT_TRUE(v.Find("two", true));
    const int two = v.SelStart();
    v.SetCaretPos(0);
    ASSERT_TRUE(v.Find("secret", false));
    EXPECT_GT(v.SelStart(), two) << "the hidden one is passed over";
    for (const bool match_case : {true, false}) {
        v.SetCaretPos(0);
        EXPECT_FALSE(v.Find("word", match_case));
        v.SetCaretPos(0);
        EXPECT_FALSE(v.Find("ret shown", match_case)) << "a match may not take hidden text";
        v.SetCaretPos(0);
        EXPECT_TRUE(v.Find("shown", match_case));
    }
    v.SelectAll();
    const std::string copied = v.CopyToClipboard();
    EXPECT_NE(copied.find("one shown two"), std::string::npos) << copied;
    EXPECT_EQ(copied.find("word"), std::string::npos) << copied;
    EXPECT_EQ(copied.find("secret"), std::string::npos) << copied;
    EXPECT_NE(copied.find("Secret"), std::string::npos) << copied;
    EXPECT_EQ(v.SelLength(), static_cast<int>(copied.size()));
}

TEST(ViewerSelection, FirstClickOnlyFocusesThenDragSelects) {
    FakeViewer v;
    v.LoadFromBuffer("one two three");
    const Point one = testing::PanelPointOf(v, "one");
    const Point three = testing::PanelPointOf(v, "three");
    v.MouseDown(one.x, one.y, true, /*had_focus=*/false);
    v.MouseMove(three.x, three.y, true);
    v.MouseUp(three.x, three.y, true);
    EXPECT_EQ(v.SelLength(), 0);
    v.MouseDown(one.x, one.y, true, true);
    EXPECT_TRUE(v.Selecting());
    v.MouseMove(three.x, three.y, true);
    v.MouseUp(three.x, three.y, true);
    EXPECT_EQ(v.SelText(), "one two ");
    EXPECT_FALSE(v.Selecting());
    // A new click drops the selection.
    v.MouseDown(one.x, one.y, true, true);
    EXPECT_EQ(v.SelLength(), 0);
}

TEST(ViewerSelection, DoubleClickSelectsTheWordOnly) {
    FakeViewer v;
    v.LoadFromBuffer("<P>Sum ab12cd, next</P><P>Caf\xC3\xA9s ok</P>");
    const Point word = testing::PanelPointOf(v, "12");
    v.DoubleClick(word.x, word.y);
    EXPECT_EQ(v.SelText(), "ab12cd");
    const Point accented = testing::PanelPointOf(v, "Caf");
    v.DoubleClick(accented.x, accented.y);
    EXPECT_EQ(Selected(v), "Caf\xC3\xA9s");
    const Point comma = testing::PanelPointOf(v, ",");
    v.SetSelLength(0);
    v.DoubleClick(comma.x, comma.y);
    EXPECT_EQ(v.SelLength(), 0);
    v.SetNoSelect(true);
    v.DoubleClick(word.x, word.y);
    EXPECT_EQ(v.SelLength(), 0);
}

TEST(ViewerSelection, AutoScrollStepsByDistanceAndStopsWhenThePointerReturns) {
    FakeViewer v;
    v.LoadFromBuffer(Paragraphs(200));
    const Point start = testing::PanelPointOf(v, "Line 3");
    v.ScrollTo(0);
    v.MouseDown(start.x, start.y + 0, true, true);
    const int below = v.Bars().PanelHeight + 5;
    v.MouseMove(start.x, below, true);
    EXPECT_TRUE(v.AutoScrolling());
    EXPECT_EQ(v.auto_scroll_starts, 1);
    v.MouseMove(start.x, below + 1, true);  // already running: not started twice
    EXPECT_EQ(v.auto_scroll_starts, 1);
    EXPECT_TRUE(v.AutoScrollStep(start.x, below));
    EXPECT_EQ(v.ScrollPos(), 16);
    EXPECT_TRUE(v.AutoScrollStep(start.x, below + 40));
    EXPECT_EQ(v.ScrollPos(), 16 + 8 * 16);
    EXPECT_GT(v.SelLength(), 0);
    EXPECT_TRUE(v.AutoScrollStep(start.x, -30));
    EXPECT_EQ(v.ScrollPos(), 16);
    EXPECT_FALSE(v.AutoScrollStep(start.x, 50));  // back inside
    EXPECT_FALSE(v.AutoScrolling());
}

TEST(ViewerForms, SubmissionIsDeliveredAfterTheClick) {
    FakeViewer v;
    v.LoadFromBuffer(
        "<FORM ACTION=\"find.htm\" METHOD=post><INPUT NAME=q VALUE=\"abc\">"
        "<INPUT TYPE=submit VALUE=Go></FORM>");
    std::vector<std::string> got;
    std::string action;
    std::string method;
    v.OnFormSubmit = [&](THTMLViewerModel&, const std::string& a, const std::string& m,
                         const std::vector<std::string>& results) {
        action = a;
        method = m;
        got = results;
    };
    ASSERT_EQ(v.Document().Forms().size(), 1u);
    v.Document().Forms()[0]->SubmitTheForm("");
    EXPECT_EQ(v.posted_submits, 1);
    EXPECT_TRUE(action.empty());  // not yet: the click is still running
    v.DeliverFormSubmit();
    EXPECT_EQ(action, "find.htm");
    EXPECT_EQ(method, "post");
    EXPECT_EQ(got, (std::vector<std::string>{"q=abc"}));
    action.clear();
    v.DeliverFormSubmit();  // delivered once only
    EXPECT_TRUE(action.empty());
}

TEST(ViewerForms, PageKeysInATextControlScrollTheDocument) {
    FakeViewer v;
    v.LoadFromBuffer("<FORM><INPUT NAME=a><INPUT NAME=b></FORM>" + Paragraphs(100));
    auto* edit = dynamic_cast<TEditFormControlObj*>(v.Document().AllControls().at(0));
    ASSERT_NE(edit, nullptr);
    edit->KeyPressed(ControlKey::PageDown);
    EXPECT_EQ(v.ScrollPos(), v.Bars().VLargeStep);
    edit->KeyPressed(ControlKey::End);
    EXPECT_EQ(v.ScrollPos(), v.GetScrollBarRange());
    edit->KeyPressed(ControlKey::Home);
    EXPECT_EQ(v.ScrollPos(), 0);
}

TEST(ViewerSelection, InAnInlineBlockTheMouseSelectsItsContent) {
    FakeViewer v;
    v.LoadFromBuffer(
        "<html><head><style>.b { display: inline-block }</style></head>"
        "<body>ab<span class=b>cd ef</span>gh</body></html>");
    // The box follows "ab"; its characters are 8 px wide.
    const Point a = testing::PanelPointOf(v, "ab");
    const Point c{a.x + 16, a.y};
    const Point e{a.x + 40, a.y};
    const Point h{a.x + 64, a.y};
    const auto drag = [&v](Point from, Point to) {
        v.MouseDown(from.x, from.y, true, true);
        v.MouseMove(to.x, to.y, true);
        v.MouseUp(to.x, to.y, true);
        return Selected(v);
    };
    EXPECT_EQ(drag(c, e), "cd ");
    EXPECT_EQ(drag(e, c), "cd ");
    EXPECT_EQ(drag(e, h), "cd efg");
    EXPECT_EQ(drag(a, e), "abcd ef");
    // From the caret before "g" onto "d", which has the same index inside the box: the box.
    const Point g{a.x + 56, a.y};
    const Point d{a.x + 24, a.y};
    EXPECT_EQ(drag(g, d), "cd ef");
    v.DoubleClick(e.x, e.y);
    EXPECT_EQ(v.SelText(), "ef");
}

}  // namespace
}  // namespace quillon
