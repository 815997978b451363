// Form controls painted as images of themselves when the document prints: fields with
// their current text, ticks and dots, chosen options, button captions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "html/layout/form_controls.h"
#include "tests/html_layout/layout_test_support.h"
#include "tests/html_layout/model_test_support.h"

namespace quillon {
namespace {

using testing::LaidOut;
using testing::LayOut;

// The controls of the document's first text section, in order.
std::vector<TFormControlObj*> Controls(LaidOut& l) {
    return l.Text(0).InlineControls();
}

// Paints the laid-out document as printing does.
void PrintPaint(LaidOut& l) {
    l.doc->IsPrinting = true;
    l.canvas->ClearLog();
    l.doc->Draw(*l.canvas, Rect{0, 0, 800, 600}, 800, 0, 0);
}

// The rectangles of the log's calls of `kind` ("fill", "frame", "ellipse", ...) in
// `colour` ("808080"), in order.
std::vector<Rect> Shapes(const TestCanvas& canvas, std::string_view kind, std::string_view colour) {
    std::vector<Rect> shapes;
    for (const std::string& line : canvas.Log()) {
        Rect r;
        char name[16] = {}, col[8] = {};
        if (std::sscanf(line.c_str(), "%15s %d,%d,%d,%d #%7s", name, &r.left, &r.top, &r.right,
                        &r.bottom, col) == 6 &&
            name == kind && col == colour) {
            shapes.push_back(r);
        }
    }
    return shapes;
}

// The fields' 1-pixel grey frames.
std::vector<Rect> GreyFrames(const TestCanvas& canvas) {
    return Shapes(canvas, "frame", "808080");
}

bool Logged(const TestCanvas& canvas, const std::string& line) {
    const auto& log = canvas.Log();
    return std::find(log.begin(), log.end(), line) != log.end();
}

int CountStarting(const TestCanvas& canvas, std::string_view prefix) {
    const auto& log = canvas.Log();
    return static_cast<int>(std::count_if(
        log.begin(), log.end(), [&](const std::string& s) { return s.starts_with(prefix); }));
}

std::string At(int x, int y) {
    return std::to_string(x) + "," + std::to_string(y);
}

Rgba Pixel(const LaidOut& l, int x, int y) {
    return l.canvas->Surface().At(x, y);
}

TEST(FormPrint, TextFieldsShowTheirCurrentText) {
    LaidOut l = LayOut(
        "<form><input value=start><input type=password value=abc>"
        "<textarea rows=2>one\ntwo\nthree</textarea></form>",
        800);
    const auto controls = Controls(l);
    ASSERT_EQ(controls.size(), 3u);
    const int width = controls[0]->Width(), height = controls[0]->Height();
    dynamic_cast<TEditFormControlObj&>(*controls[0]).SetText("typed");
    PrintPaint(l);
    // Printing keeps the sizes layout gave.
    EXPECT_EQ(controls[0]->Width(), width);
    EXPECT_EQ(controls[0]->Height(), height);

    const std::vector<Rect> frames = GreyFrames(*l.canvas);
    ASSERT_EQ(frames.size(), 3u);
    const Rect edit = frames[0];
    EXPECT_EQ(edit.Width(), 165);
    EXPECT_EQ(edit.Height(), 24);
    // Text 3 px in, centred in the 22 px inside (16 px lines): the field's current text.
    EXPECT_TRUE(Logged(*l.canvas, "text " + At(edit.left + 3, edit.top + 4) + " typed"));
    EXPECT_FALSE(Logged(*l.canvas, "text " + At(edit.left + 3, edit.top + 4) + " start"));
    EXPECT_TRUE(Logged(*l.canvas, "clip " + At(edit.left + 1, edit.top + 1) + "," +
                                      At(edit.right - 1, edit.bottom - 1)));
    // A password shows one star per character.
    EXPECT_TRUE(Logged(*l.canvas, "text " + At(frames[1].left + 3, frames[1].top + 4) + " ***"));
    // A text area shows the lines that fit from its top (two rows: the third is cut).
    const Rect area = frames[2];
    EXPECT_EQ(area.Height(), 2 * 16 + 5);
    EXPECT_TRUE(Logged(*l.canvas, "text " + At(area.left + 3, area.top + 2) + " one"));
    EXPECT_TRUE(Logged(*l.canvas, "text " + At(area.left + 3, area.top + 18) + " two"));
    EXPECT_EQ(CountStarting(*l.canvas, "text " + At(area.left + 3, area.top + 34)), 0);

    // Pixels: the grey frame, the white inside.
    const Rgba frame = Pixel(l, edit.left, edit.top + 5);
    EXPECT_EQ(frame.r, 0x80);
    EXPECT_EQ(frame.g, 0x80);
    const Rgba inside = Pixel(l, edit.left + 1, edit.top + 1);
    EXPECT_EQ(inside.r, 0xFF);

    // Painted on screen without printing, a headless document draws them the same way.
    l.doc->IsPrinting = false;
    l.canvas->ClearLog();
    l.doc->Draw(*l.canvas, Rect{0, 0, 800, 600}, 800, 0, 0);
    EXPECT_EQ(GreyFrames(*l.canvas).size(), 3u);
}

TEST(FormPrint, PrintingDrawsWhatTheWidgetsHold) {
    testing::FakeControlHost host;
    LaidOut l;
    l.doc->SetControlHost(&host);
    l.doc->SetScreenCanvas(l.canvas.get());
    TNameList names;
    HtmlParseBuffer(*l.doc, names, "<form><input value=start><input type=checkbox></form>");
    l.Layout(800);
    ASSERT_EQ(host.edits.size(), 1u);
    ASSERT_EQ(host.checks.size(), 1u);
    host.edits[0]->text = "typed";
    host.checks[0]->UserClick(false);
    PrintPaint(l);
    // The widgets stay hidden; their values are drawn in the widgets' own sizes.
    EXPECT_FALSE(host.edits[0]->visible);
    EXPECT_EQ(CountStarting(*l.canvas, "frame"), 2);
    EXPECT_EQ(CountStarting(*l.canvas, "polyline"), 1);
    const Rect edit = GreyFrames(*l.canvas).at(0);
    EXPECT_EQ(edit.Height(), 21);
    EXPECT_TRUE(Logged(*l.canvas, "text " + At(edit.left + 3, edit.top + 2) + " typed"));
}

TEST(FormPrint, ChecksAndRadiosShowTheirState) {
    LaidOut l = LayOut(
        "<form><input type=checkbox checked><input type=checkbox>"
        "<input type=radio name=r checked><input type=radio name=r></form>",
        800);
    const auto controls = Controls(l);
    ASSERT_EQ(controls.size(), 4u);
    // Current values: the user unticked the first box, ticked the second, chose the second radio.
    dynamic_cast<TCheckableFormControlObj&>(*controls[0]).SetChecked(false);
    dynamic_cast<TCheckableFormControlObj&>(*controls[1]).SetChecked(true);
    dynamic_cast<TRadioButtonFormControlObj&>(*controls[3]).Click();
    PrintPaint(l);

    const std::vector<Rect> boxes = GreyFrames(*l.canvas);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Width(), 13);
    EXPECT_EQ(boxes[0].Height(), 13);
    // One tick, in the second box: black pixels inside it, none in the first.
    EXPECT_EQ(CountStarting(*l.canvas, "polyline"), 1);
    auto dark_pixels = [&](const Rect& r) {
        int n = 0;
        for (int y = r.top + 1; y < r.bottom - 1; ++y) {
            for (int x = r.left + 1; x < r.right - 1; ++x) n += Pixel(l, x, y).r < 0x40;
        }
        return n;
    };
    EXPECT_EQ(dark_pixels(boxes[0]), 0);
    EXPECT_GT(dark_pixels(boxes[1]), 6);

    // Radios: two circles 13 px across, centred in their 13 x 14 room; a dot in the second.
    EXPECT_EQ(CountStarting(*l.canvas, "ellipse-frame"), 2);
    const std::vector<Rect> dots = Shapes(*l.canvas, "ellipse", "000000");
    ASSERT_EQ(dots.size(), 1u);
    const Rect dot = dots[0];
    EXPECT_EQ(Pixel(l, (dot.left + dot.right) / 2, (dot.top + dot.bottom) / 2).r, 0);
    EXPECT_GT(dot.left, boxes[1].right + 13);  // the second radio, after the first
}

TEST(FormPrint, SelectsShowTheirChoices) {
    LaidOut l = LayOut(
        "<form><select><option>a<option selected>bb<option>ccc</select>"
        "<select multiple size=2><option>x<option>y<option selected>z</select></form>",
        800);
    const auto controls = Controls(l);
    ASSERT_EQ(controls.size(), 2u);
    auto& combo = dynamic_cast<TSelectFormControlObj&>(*controls[0]);
    auto& list = dynamic_cast<TSelectFormControlObj&>(*controls[1]);
    combo.SetSelected(2, true);
    list.SetSelected(1, true);
    PrintPaint(l);

    const std::vector<Rect> frames = GreyFrames(*l.canvas);
    ASSERT_EQ(frames.size(), 2u);
    // The drop-down: the chosen option's text and an arrow box at the right.
    const Rect drop = frames[0];
    EXPECT_EQ(drop.Width(), 3 * 8 + 30);
    EXPECT_TRUE(Logged(*l.canvas, "text " + At(drop.left + 3, drop.top + 4) + " ccc"));
    EXPECT_EQ(CountStarting(*l.canvas, "text " + At(drop.left + 3, drop.top + 4) + " bb"), 0);
    EXPECT_EQ(CountStarting(*l.canvas, "polygon"), 1);
    const Rgba arrow_face = Pixel(l, drop.right - 4, drop.top + 3);
    EXPECT_EQ(arrow_face.r, 0xC0);

    // The list box: its two visible rows from the top, the selected one highlighted in
    // white on blue; the third option is out of view.
    const Rect box = frames[1];
    EXPECT_TRUE(Logged(*l.canvas, "text " + At(box.left + 3, box.top + 1) + " x"));
    EXPECT_TRUE(Logged(*l.canvas, "text " + At(box.left + 3, box.top + 17) + " y"));
    EXPECT_TRUE(Logged(*l.canvas, "fill " + At(box.left + 1, box.top + 17) + "," +
                                      At(box.right - 1, box.top + 33) + " #000080"));
    EXPECT_EQ(CountStarting(*l.canvas, "text " + At(box.left + 3, box.top + 33)), 0);
    EXPECT_EQ(Pixel(l, box.left + 1, box.top + 2).b, 0xFF);   // row x: not highlighted
    EXPECT_EQ(Pixel(l, box.left + 1, box.top + 20).r, 0x00);  // row y: highlighted
}

TEST(FormPrint, ButtonsHiddenFieldsAndImageInputs) {
    LaidOut l = LayOut(
        "<form><input type=submit><input type=reset value=Clear>"
        "<input type=hidden value=secret><input type=image src=go.gif></form>",
        800);
    l.doc->IsPrinting = true;
    l = testing::PaintedWithBluePictures(std::move(l));
    const auto controls = Controls(l);
    ASSERT_EQ(controls.size(), 4u);
    // Buttons: a grey raised box with the caption centred.
    const std::vector<Rect> faces = Shapes(*l.canvas, "fill", "C0C0C0");
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[0].Width(), 6 * 8 + 20);
    EXPECT_EQ(faces[0].Height(), 24);
    EXPECT_TRUE(Logged(*l.canvas, "text " + At(faces[0].left + 10, faces[0].top + 4) + " Submit"));
    EXPECT_TRUE(Logged(*l.canvas, "text " + At(faces[1].left + 10, faces[1].top + 4) + " Clear"));
    EXPECT_EQ(Pixel(l, faces[0].left + 5, faces[0].top + 5).r, 0xC0);
    // The bottom edge is dark, the top inner line light.
    EXPECT_EQ(Pixel(l, faces[0].left + 5, faces[0].bottom - 1).r, 0x80);
    EXPECT_EQ(Pixel(l, faces[0].left + 5, faces[0].top + 1).r, 0xFF);
    // A hidden field draws nothing; an image input prints as its picture.
    EXPECT_EQ(CountStarting(*l.canvas, "text"), 2);
    EXPECT_EQ(CountStarting(*l.canvas, "image"), 1);
}

}  // namespace
}  // namespace quillon
