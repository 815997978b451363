// The report's side of its viewer: the parameters it copies into the viewer and their
// order, the neutral answers without a viewer, load and print failures as messages, and
// the title line of printed pages.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/quillon.h"
#include "tests/engine/engine_test_support.h"

namespace quillon {
namespace {

using testing::FakeViewer;
using testing::RecordingHost;

class HandoffTest : public ::testing::Test {
  protected:
    std::vector<std::string> Messages() const { return host_.Texts(); }

    RecordingHost host_;
    TQuillon report_{"Rep1", host_};
    FakeViewer viewer_{"viewer"};
};

TEST_F(HandoffTest, ParametersAndEventsReachTheViewerInTheirOrder) {
    TComponent menu("menu"), popup("popup"), parent("parent");
    tRepViewerPar& p = report_.Viewer();
    p.PrintMarginLeft = 1.5;
    p.PrintMarginRight = 2.5;
    p.PrintMarginTop = 0.5;
    p.PrintMarginBottom = 3;
    p.HotSpotStyle = 1;  // bold
    p.CharSet = 204;
    p.DefFontName = "Serif";
    p.DefPreFontName = "Mono";
    p.Title = "Sales";
    p.TitlePrintStyle = psTop;
    p.ViewImages = false;
    p.PositionBackground = true;
    p.DefBackground = 0x123456;
    p.DefFontColor = 0x654321;
    p.DefFontSize = 14;
    p.DefHotSpotColor = 0x00FF00;
    p.ImageCacheCount = 9;
    p.MenuDefault = false;
    p.MainMenu.Set(&menu);
    p.PopupMenu.Set(&popup);
    p.VisibleButtons = ViewerBtnBit(vbNext) | ViewerBtnBit(vbStorage);
    p.WWidth = 700;
    p.WHeight = 500;
    p.WMaximize = false;
    p.FromPage = 2;
    p.ToPage = 5;
    p.ViewerParent.Set(&parent);
    p.WCaption = "not copied";
    p.BorderStyle = htFocused;
    int clicks = 0;
    report_.OnVHotSpotClick = [&](TComponent&, const std::string&, bool&) { ++clicks; };
    report_.OnPrintFooter = [](TComponent&, Canvas&, int, int, int, bool&) {};

    report_.SetExtViewerProp(viewer_);
    const std::vector<std::string> order{"PrintMarginLeft",
                                         "PrintMarginRight",
                                         "PrintMarginTop",
                                         "PrintMarginBottom",
                                         "Charset",
                                         "DefFontName",
                                         "DefPreFontName",
                                         "Title",
                                         "TitlePrintStyle",
                                         "ViewImages",
                                         "PositionBackground",
                                         "DefBackground",
                                         "DefFontColor",
                                         "DefFontSize",
                                         "DefHotSpotColor",
                                         "ImageCacheCount",
                                         "DefaultMenuON",
                                         "MainMenu",
                                         "PopupMenu",
                                         "VisibleButtons",
                                         "ViewerWidth",
                                         "ViewerHeight",
                                         "ViewerMaximize",
                                         "ViewerParent",
                                         "BitmapRequest",
                                         "FormSubmit",
                                         "HotSpot",
                                         "HotSpotDescr",
                                         "ImageRequest",
                                         "PrintHeader",
                                         "PrintFooter"};
    EXPECT_EQ(viewer_.SetterCalls(), order);
    EXPECT_EQ(viewer_.margin_bottom, 3);
    EXPECT_EQ(viewer_.charset, 204);
    EXPECT_EQ(viewer_.title_print_style, psTop);
    EXPECT_EQ(viewer_.def_background, 0x123456u);
    EXPECT_FALSE(viewer_.default_menu);
    EXPECT_EQ(viewer_.main_menu, &menu);
    EXPECT_EQ(viewer_.parent, &parent);
    EXPECT_EQ(viewer_.buttons, p.VisibleButtons);
    EXPECT_EQ(viewer_.FFromPage, 2);
    EXPECT_EQ(viewer_.FToPage, 5);
    // The link style is shared by all viewers; caption and border stay the viewer's own.
    EXPECT_EQ(TCustomRepViewer::SharedHotSpotStyle(), 1);
    EXPECT_EQ(viewer_.hot_spot_style, 0);
    EXPECT_EQ(viewer_.caption, "");
    EXPECT_EQ(viewer_.border_style, htNone);
    ASSERT_TRUE(viewer_.hot_spot);
    bool handled = false;
    viewer_.hot_spot(viewer_, "x", handled);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(viewer_.print_header);
    EXPECT_TRUE(viewer_.print_footer);
    TCustomRepViewer::SetSharedHotSpotStyle(kFontStyleUnderline);
}

TEST_F(HandoffTest, WithoutAViewerEveryCallIsNeutral) {
    report_.Params() = {"a=1"};
    EXPECT_FALSE(report_.LoadFromFile("x.htm"));
    EXPECT_FALSE(report_.LoadFirst("x"));
    EXPECT_FALSE(report_.LoadLast());
    EXPECT_FALSE(report_.LoadNext());
    EXPECT_FALSE(report_.LoadPrior());
    EXPECT_EQ(report_.NumPrinterPages(), 0);
    EXPECT_FALSE(report_.Find("x", false));
    EXPECT_FALSE(report_.SetPageMargins());
    EXPECT_FALSE(report_.Print(1, 9999));
    EXPECT_FALSE(report_.Visible());
    report_.SetVisible(true);
    report_.CopyToClipboard();
    report_.Close();
    EXPECT_EQ(report_.Params().size(), 1u);  // Close does nothing without a viewer
    report_.Clear();
    EXPECT_TRUE(report_.Params().empty());
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(HandoffTest, ShowWithoutAViewerSaysSoInTheReportsLanguage) {
    report_.Show();
    report_.SetLanguage(laGerman);
    report_.ShowModal();
    report_.SetLanguage(laRussian);
    report_.Show();
    report_.SetLanguage(laLithuanian);
    report_.Show();
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Viewer not assigned to the tQuillon: Rep1",
                                        "Viewer für tQuillon nicht zugewiesen: Rep1",
                                        "Не поключен компонент просмотра (Viewer): Rep1",
                                        "Viewer-is neprijungtas prie tQuillon-o: Rep1"}));
}

TEST_F(HandoffTest, CallsAreForwardedToTheViewer) {
    report_.SetViewerExt(&viewer_);
    report_.Params() = {"a=1"};
    report_.Show();
    report_.ShowModal();
    EXPECT_EQ(report_.NumPrinterPages(), 7);
    EXPECT_TRUE(report_.Find("Total", true));
    EXPECT_TRUE(report_.SetPageMargins());
    report_.CopyToClipboard();
    viewer_.calls.clear();
    report_.Close();
    EXPECT_EQ(viewer_.calls, (std::vector<std::string>{"CloseWindow", "Clear"}));
    EXPECT_TRUE(report_.Params().empty());
    report_.SetVisible(true);
    EXPECT_TRUE(report_.Visible());
}

TEST_F(HandoffTest, LoadingClearsConfiguresAndLoadsAndReportsAFailure) {
    report_.SetViewerExt(&viewer_);
    EXPECT_TRUE(report_.LoadFromFile("a.htm"));
    ASSERT_GE(viewer_.calls.size(), 3u);
    EXPECT_EQ(viewer_.calls.front(), "Clear");
    EXPECT_EQ(viewer_.calls[1], "Set PrintMarginLeft");
    EXPECT_EQ(viewer_.calls.back(), "LoadFromFile a.htm");

    viewer_.load_error = "cannot read";
    EXPECT_FALSE(report_.LoadFromFile("b.htm"));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"File Read Error b.htm: cannot read"}));
    report_.SetPrnFile("c.htm");
    EXPECT_FALSE(report_.LoadFirst("x"));  // no search after a failed load
    EXPECT_EQ(viewer_.calls.back(), "LoadFromFile c.htm");
}

// Printing: the title line goes into the header or footer only for the print and only
// where the application draws nothing there.
struct TitleCase {
    const char* name;
    TTitlePrintStyle report_style;
    TTitlePrintStyle viewer_style;
    bool app_header;
    bool want_header;
    bool want_footer;
};

class TitleLineTest : public HandoffTest, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(TitleLineTest, FollowsTheTitleStyles) {
    const TitleCase& c = GetParam();
    report_.SetViewerExt(&viewer_);
    report_.Viewer().TitlePrintStyle = c.report_style;
    viewer_.title_print_style = c.viewer_style;
    if (c.app_header) report_.OnPrintHeader = [](TComponent&, Canvas&, int, int, int, bool&) {};
    viewer_.print_header = report_.OnPrintHeader;
    viewer_.calls.clear();
    EXPECT_TRUE(report_.Print(2, 4));
    // A handler set before the print is taken away again after it.
    const char* set = c.want_header && !c.app_header ? "Set PrintHeader"
                      : c.want_footer                ? "Set PrintFooter"
                                                     : nullptr;
    const std::vector<std::string> want = set ? std::vector<std::string>{set, "Print 2-4", set}
                                              : std::vector<std::string>{"Print 2-4"};
    EXPECT_EQ(viewer_.calls, want);
    EXPECT_EQ(viewer_.printed_with_header, c.want_header);
    EXPECT_EQ(viewer_.printed_with_footer, c.want_footer);
    // The title handler is gone after the print.
    EXPECT_EQ(static_cast<bool>(viewer_.print_header), c.app_header);
    EXPECT_FALSE(viewer_.print_footer);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, TitleLineTest,
    ::testing::Values(TitleCase{"TitleOnTop", psTop, psNone, false, true, false},
                      TitleCase{"ApplicationHeaderNoTitle", psTop, psBottom, true, true, false},
                      TitleCase{"ViewerStyleAtTheBottom", psNone, psBottom, false, false, true},
                      TitleCase{"NoTitle", psNone, psNone, false, false, false},
                      TitleCase{"ViewerTopStyleStillPrints", psBottom, psTop, false, true, false}),
    [](const ::testing::TestParamInfo<TitleCase>& info) { return std::string(info.param.name); });

TEST_F(HandoffTest, PrintingWithPrinterSetUpAndFailures) {
    report_.SetViewerExt(&viewer_);
    host_.printers = {{"lp", 210, 297}};
    report_.SetOptions({prSetupBeforePrint});
    // Without OnSetupPrinter the host's dialog asks; the headless answer cancels.
    EXPECT_FALSE(report_.Print(1, 9999));
    EXPECT_TRUE(viewer_.calls.empty());
    // OnSetupPrinter's range is used as it comes back.
    report_.OnSetupPrinter = [](TQuillon&, int& from, int& to) {
        from = 3;
        to = 0;
    };
    EXPECT_TRUE(report_.Print(1, 9999));
    EXPECT_EQ(viewer_.calls.back(), "Print 3-0");

    // A failing print is a message, not an exception.
    viewer_.print_error = "printer on fire";
    EXPECT_FALSE(report_.Print(1, 2));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"printer on fire"}));
}

}  // namespace
}  // namespace quillon
