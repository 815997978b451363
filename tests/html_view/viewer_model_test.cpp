// The viewer model without a display: properties, loading with its guard, layout, scroll
// positions, anchors and keyboard steps.

#include <sstream>

#include <gtest/gtest.h>

#include "html/layout/form_controls.h"
#include "html/layout/process_error.h"
#include "html/parse/parse_error.h"
#include "model_test_support.h"

namespace quillon {
namespace {

using testing::FakeViewer;
using testing::Paragraphs;
using testing::ScratchDir;

TEST(ViewerProperties, DefaultsAndClamps) {
    FakeViewer v;
    EXPECT_EQ(v.DefFontSize(), 12);
    EXPECT_EQ(v.DefFontName(), "Times New Roman");
    EXPECT_EQ(v.DefPreFontName(), "Courier New");
    EXPECT_EQ(v.DefHotSpotColor(), 0x0000FFu);
    EXPECT_EQ(v.MarginWidth(), 10);
    EXPECT_EQ(v.MarginHeight(), 5);
    EXPECT_EQ(v.HistoryMaxCount(), 0);
    EXPECT_EQ(v.ImageCacheCount(), 5);
    EXPECT_EQ(v.ScrollBars(), TScrollStyle::ssBoth);
    EXPECT_EQ(v.BorderStyle(), THTMLBorderStyle::htFocused);
    EXPECT_FALSE(v.ViewImages());
    EXPECT_DOUBLE_EQ(v.PrintMarginLeft, 2.0);
    EXPECT_EQ(v.CharSet(), 1);

    v.SetDefFontSize(4);
    EXPECT_EQ(v.DefFontSize(), 6);
    v.SetMarginWidth(51);
    v.SetMarginHeight(-1);
    EXPECT_EQ(v.MarginWidth(), 10);
    EXPECT_EQ(v.MarginHeight(), 5);
    v.SetMarginWidth(50);
    EXPECT_EQ(v.MarginWidth(), 50);
    v.SetImageCacheCount(25);
    EXPECT_EQ(v.ImageCacheCount(), 20);
    v.SetImageCacheCount(-3);
    EXPECT_EQ(v.ImageCacheCount(), 0);
    v.SetImageCacheCount(5);
    v.SetDefFontName(std::string(40, 'A'));
    EXPECT_EQ(v.DefFontName().size(), 32u);
    v.SetServerRoot(" /srv/www/ ");
    EXPECT_EQ(v.ServerRoot(), "/srv/www");
}

TEST(ViewerLoading, BufferLoadsTitleAndReportsProcessing) {
    FakeViewer v;
    std::vector<bool> processing;
    v.OnProcessing = [&](THTMLViewerModel&, bool on) { processing.push_back(on); };
    v.LoadFromBuffer("<TITLE>Sales</TITLE><P>Hello</P>");
    EXPECT_EQ(v.Title(), "Sales");
    EXPECT_EQ(processing, (std::vector<bool>{true, false}));
    EXPECT_FALSE(v.Processing());
    EXPECT_TRUE(v.CurrentFile().empty());
    EXPECT_GT(v.DocHeight(), 16);
    EXPECT_GT(v.Document().Count(), 0);
}

// What the report windows ask the control for: where each report page starts and which
// form controls the page holds.
TEST(ViewerLoading, PageStartsAndFormControlsOfTheShownDocument) {
    FakeViewer v;
    v.LoadFromBuffer(
        "<P>one</P><PAGE><P>two</P><FORM><INPUT TYPE=CHECKBOX NAME=paid CHECKED>"
        "<INPUT TYPE=TEXT NAME=note><INPUT TYPE=CHECKBOX NAME=sent></FORM><PAGE><P>three</P>");
    const std::vector<int> tops = v.PageBreakTops();
    ASSERT_EQ(tops.size(), 2u);
    EXPECT_GT(tops[0], 0);
    EXPECT_LT(tops[0], tops[1]);
    EXPECT_LT(tops[1], v.DocHeight());
    const std::vector<TViewerFormControl> controls = v.FormControls();
    ASSERT_EQ(controls.size(), 3u);
    EXPECT_EQ(controls[0].Name, "paid");
    EXPECT_TRUE(controls[0].IsCheckBox && controls[0].Checked);
    EXPECT_EQ(controls[1].Name, "note");
    EXPECT_FALSE(controls[1].IsCheckBox);
    EXPECT_TRUE(controls[2].IsCheckBox);
    EXPECT_FALSE(controls[2].Checked);

    v.LoadFromBuffer("<P>no pages, no form</P>");
    EXPECT_TRUE(v.PageBreakTops().empty());
    EXPECT_TRUE(v.FormControls().empty());
}

TEST(ViewerLoading, LoadsAreIgnoredWhileProcessing) {
    FakeViewer v;
    int nested = 0;
    v.OnProcessing = [&](THTMLViewerModel& sender, bool on) {
        if (!on) return;
        ++nested;
        sender.LoadFromBuffer("<P>nested</P>");  // ignored: a load is running
        sender.Clear();                          // ignored as well
    };
    v.LoadFromBuffer("<TITLE>Outer</TITLE><P>x</P>");
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(v.Title(), "Outer");
}

TEST(ViewerLoading, MissingFileKeepsThePreviousDocument) {
    FakeViewer v;
    ScratchDir dir;
    v.LoadFromFile(dir.Write("a.htm", "<TITLE>A</TITLE><P>a</P>"));
    try {
        v.LoadFromFile(dir.Path("missing.htm"));
        FAIL() << "no error";
    } catch (const EViewerFileError& e) {
        EXPECT_NE(std::string(e.what()).find("Can't locate file: "), std::string::npos);
    }
    EXPECT_EQ(v.Title(), "A");
    EXPECT_EQ(v.CurrentFile(), dir.Path("a.htm"));
    EXPECT_FALSE(v.Processing());
}

TEST(ViewerLoading, FailedParseLeavesAnEmptyUsableControl) {
    FakeViewer v;
    int processing_off = 0;
    v.OnProcessing = [&](THTMLViewerModel&, bool on) { processing_off += on ? 0 : 1; };
    v.LoadFromBuffer(Paragraphs(50));
    v.ScrollTo(200);
    EXPECT_THROW(v.LoadFromBuffer("<P>text<!-- never closed"), EParseError);
    EXPECT_FALSE(v.Processing());
    EXPECT_EQ(processing_off, 2);
    EXPECT_EQ(v.Document().Count(), 0);
    EXPECT_EQ(v.DocHeight(), 0);
    EXPECT_EQ(v.ScrollPos(), 0);
    EXPECT_FALSE(v.Bars().VBar);
    // The next load works.
    v.LoadFromBuffer("<TITLE>Again</TITLE><P>ok</P>");
    EXPECT_EQ(v.Title(), "Again");
    EXPECT_GT(v.Document().Count(), 0);
}

TEST(ViewerLoading, FailedLayoutLeavesAnEmptyUsableControl) {
    FakeViewer v;
    ScratchDir dir;
    std::string wide = "<TABLE><TR>";
    for (int i = 0; i < 40; ++i) wide += "<TD>c</TD>";
    wide += "</TR></TABLE>";
    bool threw = false;
    try {
        v.LoadFromFile(dir.Write("wide.htm", wide));
    } catch (const EProcessError&) {
        threw = true;
    }
    if (threw) {
        EXPECT_EQ(v.Document().Count(), 0);
        EXPECT_TRUE(v.CurrentFile().empty());
    }
    EXPECT_FALSE(v.Processing());
    v.LoadFromBuffer("<P>fine</P>");
    EXPECT_GT(v.Document().Count(), 0);
}

TEST(ViewerLoading, OtherSourcesAndClear) {
    FakeViewer v;
    v.LoadStrings({"<TITLE>Lines</TITLE>", "<P>one</P>"});
    EXPECT_EQ(v.Title(), "Lines");
    std::istringstream in("<TITLE>Stream</TITLE><P>s</P>");
    v.LoadFromStream(in);
    EXPECT_EQ(v.Title(), "Stream");
    v.LoadTextStrings({"plain <b>text</b>", "second"});
    EXPECT_EQ(v.CurrentFileType(), TFileType::TextType);
    v.SelectAll();
    EXPECT_NE(v.SelText().find("plain <b>text</b>"), std::string::npos);
    v.Clear();
    EXPECT_EQ(v.Document().Count(), 0);
    EXPECT_TRUE(v.Title().empty());
    EXPECT_FALSE(v.Bars().VBar);
    EXPECT_EQ(v.CaretPos(), 0);
}

// The document to print has print's rules whatever the source was; one whose rules are
// the same for both media is a copy of the shown one.
TEST(ViewerPrinting, TheDocumentToPrintIsParsedForPrintWhenItsStyleDependsOnTheMedium) {
    const auto has = [](const TSectionList& doc, std::u32string_view text) {
        return const_cast<TSectionList&>(doc).FindString(0, text, true, 0) >= 0;
    };
    const std::string css =
        "<style>@media print { .s { display: none } }"
        "@media screen { .p { display: none } }</style>";
    const std::string body = "<p class=s>on screen<p class=p>on paper";
    FakeViewer v;
    const auto check = [&](const char* source) {
        SCOPED_TRACE(source);
        EXPECT_TRUE(has(v.Document(), U"on screen"));
        EXPECT_FALSE(has(v.Document(), U"on paper"));
        const std::unique_ptr<TSectionList> paper = v.DocumentForPrint();
        EXPECT_TRUE(has(*paper, U"on paper"));
        EXPECT_FALSE(has(*paper, U"on screen"));
    };
    v.LoadFromBuffer(css + body);
    check("buffer");
    v.LoadStrings({css, body});
    check("lines");
    std::istringstream in(css + body);
    v.LoadFromStream(in);
    check("stream");
    ScratchDir dir;
    dir.Write("paper.css", ".s { display: none }");
    v.LoadFromFile(dir.Write("doc.html", "<link rel=stylesheet href=paper.css media=print>" + body +
                                             "<img src=missing.png>"));
    EXPECT_FALSE(has(*v.DocumentForPrint(), U"on screen"));
    // The file changed on disk after it was shown: the print is of what was shown.
    dir.Write("doc.html", "<p>changed");
    EXPECT_FALSE(has(*v.DocumentForPrint(), U"changed"));

    // Without such rules: a copy of the shown document, as it is now.
    v.LoadFromBuffer("<style>@media all { p { color: red } }</style><p>same");
    const int caret = v.Document().FindString(0, U"same", true, U'S');
    ASSERT_GE(caret, 0);
    EXPECT_TRUE(has(*v.DocumentForPrint(), U"Same"));
    v.Clear();
    EXPECT_EQ(v.DocumentForPrint()->Count(), 0);
}

// What the reader typed, ticked and chose prints, also where the document is parsed again
// for print; a control that only the screen shows takes no value meant for another.
TEST(ViewerPrinting, ADocumentParsedForPrintPrintsTheValuesOfItsControls) {
    FakeViewer v;
    v.LoadFromBuffer(
        "<style>@media print { .s { display: none } }</style><form>"
        "<p class=s><input name=city value=screen>"
        "<p><input name=city value=a><input type=checkbox name=ok><input type=radio name=r "
        "value=1 checked><input type=radio name=r value=2><select name=c><option>x<option>y"
        "</select><textarea name=t>first</textarea></form>");
    const auto controls = [](const TSectionList& doc) {
        std::vector<TFormControlObj*> all(doc.AllControls().begin(), doc.AllControls().end());
        return all;
    };
    const std::vector<TFormControlObj*> shown = controls(v.Document());
    ASSERT_EQ(shown.size(), 7u);
    dynamic_cast<TEditFormControlObj&>(*shown[0]).SetText("only on screen");
    dynamic_cast<TEditFormControlObj&>(*shown[1]).SetText("Vienna");
    dynamic_cast<TCheckableFormControlObj&>(*shown[2]).SetChecked(true);
    dynamic_cast<TCheckableFormControlObj&>(*shown[3]).SetChecked(false);
    dynamic_cast<TCheckableFormControlObj&>(*shown[4]).SetChecked(true);
    dynamic_cast<TSelectFormControlObj&>(*shown[5]).SetSelected(1, true);
    dynamic_cast<TTextAreaFormControlObj&>(*shown[6]).SetText("typed\nlines");

    const std::unique_ptr<TSectionList> paper = v.DocumentForPrint();
    const std::vector<TFormControlObj*> printed = controls(*paper);
    ASSERT_EQ(printed.size(), 6u);  // the screen-only field is not in the printed document
    EXPECT_EQ(dynamic_cast<TEditFormControlObj&>(*printed[0]).Text(), "Vienna");
    EXPECT_TRUE(dynamic_cast<TCheckableFormControlObj&>(*printed[1]).Checked());
    EXPECT_FALSE(dynamic_cast<TCheckableFormControlObj&>(*printed[2]).Checked());
    EXPECT_TRUE(dynamic_cast<TCheckableFormControlObj&>(*printed[3]).Checked());
    EXPECT_FALSE(dynamic_cast<TSelectFormControlObj&>(*printed[4]).Selected(0));
    EXPECT_TRUE(dynamic_cast<TSelectFormControlObj&>(*printed[4]).Selected(1));
    EXPECT_EQ(dynamic_cast<TTextAreaFormControlObj&>(*printed[5]).Text(), "typed\nlines");
}

TEST(ViewerLayout, DocumentHeightIncludesMarginsAndBarsFollow) {
    FakeViewer v;  // 400 x 300
    v.LoadFromBuffer("<P>short</P>");
    EXPECT_FALSE(v.Bars().VBar);
    v.LoadFromBuffer(Paragraphs(100));
    EXPECT_TRUE(v.Bars().VBar);
    EXPECT_EQ(v.GetScrollBarRange(), v.DocHeight() - v.Bars().PanelHeight);
    const int before = v.DocHeight();
    v.SetMarginHeight(20);
    EXPECT_EQ(v.DocHeight(), before + 30);
}

TEST(ViewerLayout, ResizeKeepsTheReadersPlace) {
    FakeViewer v;
    std::string html;
    for (int i = 0; i < 60; ++i) {
        html += "<P>Paragraph " + std::to_string(i) +
                " has words enough to wrap when the control gets narrow</P>";
    }
    v.LoadFromBuffer(html);
    v.ScrollTo(v.Document().FindPositionByIndex(30));
    const std::int64_t pos = v.Position();
    EXPECT_EQ(pos >> 32, 30);
    v.SetBounds(200, 300);  // lines wrap: every section grows
    EXPECT_EQ(v.Position(), pos);
    EXPECT_EQ(v.ScrollPos(), v.Document().FindPositionByIndex(30));
}

TEST(ViewerPosition, SixtyFourBitPositionsSurviveManySectionsAndTallSections) {
    FakeViewer v;
    v.LoadFromBuffer(Paragraphs(40000));
    ASSERT_GE(v.Document().Count(), 40000);
    v.ScrollTo(v.Document().FindPositionByIndex(39000) + 3);
    const std::int64_t pos = v.Position();
    EXPECT_EQ(pos >> 32, 39000);
    EXPECT_EQ(pos & 0xFFFFFFFF, 3);
    v.ScrollTo(0);
    v.SetPosition(pos);
    EXPECT_EQ(v.ScrollPos(), v.Document().FindPositionByIndex(39000) + 3);

    // One table of 5000 rows (over 80000 px) is one section: an offset beyond 65535.
    std::string tall = "<TABLE>";
    for (int i = 0; i < 5000; ++i) tall += "<TR><TD>row " + std::to_string(i) + "</TD></TR>";
    tall += "</TABLE><P>after</P>";
    v.LoadFromBuffer(tall);
    int tallest = 0;
    for (int i = 0; i < v.Document().Count(); ++i) {
        tallest = std::max(tallest, v.Document()[i].Height);
    }
    ASSERT_GT(tallest, 70000);
    v.ScrollTo(70000);
    const std::int64_t tall_pos = v.Position();
    EXPECT_GT(tall_pos & 0xFFFFFFFF, 65535);
    v.ScrollTo(0);
    v.SetPosition(tall_pos);
    EXPECT_EQ(v.ScrollPos(), 70000);
}

TEST(ViewerPosition, ScrollToClampsAndAnchorsScroll) {
    FakeViewer v;
    v.LoadFromBuffer(Paragraphs(40) + "<A NAME=\"Totals\">Totals</A>" + Paragraphs(40));
    v.ScrollTo(-50);
    EXPECT_EQ(v.ScrollPos(), 0);
    v.ScrollTo(1 << 30);
    EXPECT_EQ(v.ScrollPos(), v.GetScrollBarRange());
    v.ScrollTo(0);
    EXPECT_TRUE(v.PositionTo("#totals"));  // names compare in upper case
    EXPECT_GT(v.ScrollPos(), 40 * 16);
    const int at = v.ScrollPos();
    v.ScrollTo(0);
    v.SetHScrollPos(0);
    EXPECT_FALSE(v.PositionTo("nowhere"));
    EXPECT_EQ(v.ScrollPos(), 0);
    EXPECT_TRUE(v.PositionTo("TOTALS"));
    EXPECT_EQ(v.ScrollPos(), at);
}

TEST(ViewerPosition, FileNameWithAnchorScrollsThere) {
    FakeViewer v;
    ScratchDir dir;
    const std::string file =
        dir.Write("r.htm", Paragraphs(50) + "<A NAME=end>End</A>" + Paragraphs(50));
    v.LoadFromFile(file + "#end");
    EXPECT_GT(v.ScrollPos(), 50 * 16);
    const int at = v.ScrollPos();
    v.LoadFromFile(file + "#unknown");  // same file, unknown anchor: stays
    EXPECT_EQ(v.ScrollPos(), at);
    v.Reload();
    EXPECT_EQ(v.ScrollPos(), at);
}

// A file whose own name holds "#" is that file, not a file and an anchor; a name that is
// no file splits at the "#" as before.
TEST(ViewerPosition, AFileNamedWithAHashOpensWhole) {
    FakeViewer v;
    ScratchDir dir;
    const std::string plain =
        dir.Write("r.htm", Paragraphs(50) + "<A NAME=end>End</A>" + Paragraphs(50));
    const std::string hashed = dir.Write("r.htm#end", "<TITLE>hashed</TITLE><P>x</P>");
    v.LoadFromFile(hashed);
    EXPECT_EQ(v.Title(), "hashed");
    EXPECT_EQ(v.ScrollPos(), 0);
    std::filesystem::remove(hashed);
    v.LoadFromFile(plain + "#end");
    EXPECT_EQ(v.CurrentFile(), plain);
    EXPECT_GT(v.ScrollPos(), 50 * 16);
}

// Every vertical move is reported, whatever made it.
TEST(ViewerPosition, ScrollsAreReported) {
    FakeViewer v;
    v.LoadFromBuffer(Paragraphs(60) + "<A NAME=end>End</A>" + Paragraphs(10));
    std::vector<int> seen;
    v.OnScroll = [&seen](THTMLViewerModel& sender) { seen.push_back(sender.ScrollPos()); };
    v.KeyDown(TViewerKey::PageDown);
    v.PositionTo("end");
    v.SetCaretPos(0);
    v.Find("Line 5", false);
    v.SetBounds(300, 300);
    ASSERT_GE(seen.size(), 4u);
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], seen[0]);
    EXPECT_EQ(seen.back(), v.ScrollPos());
}

TEST(ViewerKeyboard, StepsAndClamps) {
    FakeViewer v;
    v.LoadFromBuffer(Paragraphs(200));
    v.KeyDown(TViewerKey::Down);
    EXPECT_EQ(v.ScrollPos(), 16);
    v.KeyDown(TViewerKey::PageDown);
    EXPECT_EQ(v.ScrollPos(), 16 + v.Bars().PanelHeight - 16);
    v.KeyDown(TViewerKey::Up);
    EXPECT_EQ(v.ScrollPos(), v.Bars().PanelHeight - 16);
    v.KeyDown(TViewerKey::End);
    EXPECT_EQ(v.ScrollPos(), v.GetScrollBarRange());
    v.KeyDown(TViewerKey::Down);
    EXPECT_EQ(v.ScrollPos(), v.GetScrollBarRange());
    v.KeyDown(TViewerKey::Home);
    EXPECT_EQ(v.ScrollPos(), 0);
    v.KeyDown(TViewerKey::PageUp);
    EXPECT_EQ(v.ScrollPos(), 0);
    // Horizontal: only as far as the document is wider than the panel.
    v.KeyDown(TViewerKey::Right);
    EXPECT_EQ(v.HScrollPos(), 0);
    v.LoadFromBuffer("<PRE>" + std::string(200, 'x') + "</PRE>");
    v.KeyDown(TViewerKey::Right);
    EXPECT_EQ(v.HScrollPos(), 15);
    v.KeyDown(TViewerKey::Left);
    v.KeyDown(TViewerKey::Left);
    EXPECT_EQ(v.HScrollPos(), 0);
}

TEST(ViewerBackground, PositionedRectangleNeedsOpenBeforeClose) {
    FakeViewer v;
    v.LoadFromBuffer("<P>{ form</P><P>text</P><P>end }</P>");
    v.SetCaretPos(0);
    const auto open = v.FindPos("{", true);
    ASSERT_TRUE(open.has_value());
    const auto r = v.PositionedBackgroundRect();
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->left, 10 + open->x);  // the margin
    EXPECT_EQ(r->top, open->y);
    EXPECT_EQ(r->bottom, open->y + 2 * (16 + 14));  // two paragraphs further down
    v.ScrollTo(7);                                  // the rectangle scrolls with the text
    EXPECT_EQ(v.PositionedBackgroundRect()->top, r->top - v.ScrollPos());
    v.LoadFromBuffer("<P>end }</P><P>text</P><P>{ form</P>");
    EXPECT_FALSE(v.PositionedBackgroundRect().has_value());
}

}  // namespace
}  // namespace quillon
