// Painting form controls where no widget shows them (printing, headless documents): each
// kind draws an image of itself with its current value inside the size layout gave it.
#include <algorithm>
#include <string>

#include "html/layout/form_controls.h"
#include "html/layout/system_colors.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

constexpr int kTextInset = 3;           // text starts this far right of the frame's outside
constexpr int kCheckSide = 13;          // check boxes and radio circles
constexpr Color kHighlight = 0x000080;  // selected list rows
constexpr Color kHighlightText = 0xFFFFFF;

// Frame colours: greys, black on a one-bit printer where grey would be dithered away.
struct FrameColors {
    Color frame = system_colors::kButtonShadow;
    Color light = system_colors::kButtonHighlight;
    Color shadow = system_colors::kButtonShadow;
    Color face = system_colors::kSilver;
    Color ink = 0x000000;

    explicit FrameColors(const Canvas& canvas) {
        if (canvas.IsPrinter() && canvas.IsMonochrome()) {
            frame = shadow = 0x000000;
            face = 0xFFFFFF;
        }
    }
};

// A white field with a 1-pixel frame; returns its inside.
Rect Field(Canvas& canvas, const Rect& box) {
    const FrameColors colors(canvas);
    canvas.FillRect(box, system_colors::kWindow);
    canvas.FrameRect(box, colors.frame);
    return Rect{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
}

// One line of text in `font` inside `area`, vertically centred, kTextInset - 1 px in from
// its left, cut off at its edges.
void CentredLine(Canvas& canvas, const Rect& area, const FontSpec& font, std::u32string_view s) {
    if (s.empty() || area.IsEmpty()) return;
    canvas.SetFont(font);
    const int top = area.top + (area.Height() - canvas.Metrics().height) / 2;
    const ClipScope clip(canvas, area);
    canvas.DrawText(area.left + kTextInset - 1, top, s);
}

// The kCheckSide square (smaller when the room is) centred in the control's room.
Rect CheckSquare(int x, int y, int width, int height) {
    const int side = std::max(0, std::min({kCheckSide, width, height}));
    const int left = x + (width - side) / 2;
    const int top = y + (height - side) / 2;
    return Rect{left, top, left + side, top + side};
}

}  // namespace

void TEditFormControlObj::Draw(Canvas& canvas, int x, int y) {
    const Rect inside = Field(canvas, Rect{x, y, x + Width(), y + Height()});
    std::u32string text = text::DecodeText(Text());
    if (password_) text.assign(text.size(), U'*');
    CentredLine(canvas, inside, TextControlFont(), text);
}

void TTextAreaFormControlObj::Draw(Canvas& canvas, int x, int y) {
    const Rect inside = Field(canvas, Rect{x, y, x + Width(), y + Height()});
    if (inside.IsEmpty()) return;
    canvas.SetFont(TextControlFont());
    const int line_height = std::max(1, canvas.Metrics().height);
    const ClipScope clip(canvas, inside);
    int top = inside.top + 1;
    for (const std::string& line : text::SplitLines(Text())) {
        if (top + line_height > inside.bottom) break;
        canvas.DrawText(inside.left + kTextInset - 1, top, text::DecodeText(line));
        top += line_height;
    }
}

void TButtonFormControlObj::Draw(Canvas& canvas, int x, int y) {
    const Rect box{x, y, x + Width(), y + Height()};
    if (box.IsEmpty()) return;
    const FrameColors colors(canvas);
    canvas.FillRect(box, colors.face);
    // Raised: light on the top and left, a dark edge and a shadow line on the right and bottom.
    canvas.FrameRect(box, colors.shadow);
    canvas.DrawLine({box.left + 1, box.top + 1}, {box.right - 1, box.top + 1}, colors.light);
    canvas.DrawLine({box.left + 1, box.top + 1}, {box.left + 1, box.bottom - 1}, colors.light);
    canvas.DrawLine({box.right - 2, box.top + 1}, {box.right - 2, box.bottom - 1}, colors.shadow);
    canvas.DrawLine({box.left + 1, box.bottom - 2}, {box.right - 1, box.bottom - 2}, colors.shadow);
    const FontSpec font = TextControlFont();
    canvas.SetFont(font);
    const std::u32string caption = text::DecodeText(caption_);
    const int left = box.left + (box.Width() - canvas.TextWidth(caption)) / 2;
    const int top = box.top + (box.Height() - canvas.Metrics().height) / 2;
    const ClipScope clip(canvas, Rect{box.left + 2, box.top + 2, box.right - 2, box.bottom - 2});
    canvas.DrawText(left, top, caption);
}

void TCheckBoxFormControlObj::Draw(Canvas& canvas, int x, int y) {
    const Rect box = CheckSquare(x, y, Width(), Height());
    if (box.IsEmpty()) return;
    const Rect inside = Field(canvas, box);
    if (!Checked() || inside.Width() < 5) return;
    // A tick: down from the left third to the bottom, then up to the top right.
    const int w = inside.Width(), h = inside.Height();
    const Point start{inside.left + w / 6, inside.top + h / 2};
    const Point bottom{inside.left + w * 2 / 5, inside.bottom - 1 - h / 6};
    const Point end{inside.right - 1 - w / 8, inside.top + h / 6};
    canvas.DrawPolyline({start, bottom, end}, 0x000000, 2);
}

void TRadioButtonFormControlObj::Draw(Canvas& canvas, int x, int y) {
    const Rect box = CheckSquare(x, y, Width(), Height());
    if (box.IsEmpty()) return;
    const FrameColors colors(canvas);
    canvas.FillEllipse(box, system_colors::kWindow);
    canvas.FrameEllipse(box, colors.frame);
    if (!Checked()) return;
    const int inset = std::max(1, box.Width() * 3 / 10);
    canvas.FillEllipse(
        Rect{box.left + inset, box.top + inset, box.right - inset, box.bottom - inset}, colors.ink);
}

void TComboFormControlObj::Draw(Canvas& canvas, int x, int y) {
    const Rect inside = Field(canvas, Rect{x, y, x + Width(), y + Height()});
    if (inside.IsEmpty()) return;
    // The arrow box: a raised square at the right with a small triangle pointing down.
    const FrameColors colors(canvas);
    const int side = std::min({inside.Height(), 17, inside.Width()});
    const Rect arrow{inside.right - side, inside.top, inside.right, inside.bottom};
    canvas.FillRect(arrow, colors.face);
    canvas.DrawLine({arrow.left, arrow.top}, {arrow.right, arrow.top}, colors.light);
    canvas.DrawLine({arrow.left, arrow.top}, {arrow.left, arrow.bottom}, colors.light);
    canvas.DrawLine({arrow.right - 1, arrow.top}, {arrow.right - 1, arrow.bottom}, colors.shadow);
    canvas.DrawLine({arrow.left, arrow.bottom - 1}, {arrow.right, arrow.bottom - 1}, colors.shadow);
    const int cx = arrow.left + arrow.Width() / 2;
    const int cy = arrow.top + arrow.Height() / 2;
    const int half = std::max(1, side / 4);
    canvas.FillPolygon(
        {{cx - half, cy - half / 2}, {cx + half + 1, cy - half / 2}, {cx, cy + half}}, colors.ink);

    const auto& options = Options();
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (!Selected(static_cast<int>(i))) continue;
        CentredLine(canvas, Rect{inside.left, inside.top, arrow.left, inside.bottom},
                    TextControlFont(), text::DecodeText(options[i].Text));
        break;
    }
}

void TListBoxFormControlObj::Draw(Canvas& canvas, int x, int y) {
    const Rect inside = Field(canvas, Rect{x, y, x + Width(), y + Height()});
    if (inside.IsEmpty()) return;
    FontSpec font = TextControlFont();
    canvas.SetFont(font);
    const int row_height = std::max(1, canvas.Metrics().height);
    const ClipScope clip(canvas, inside);
    const auto& options = Options();
    const int rows = std::min(Rows(), static_cast<int>(options.size()));
    for (int i = 0; i < rows; ++i) {
        const int top = inside.top + i * row_height;
        if (top >= inside.bottom) break;
        const std::u32string s = text::DecodeText(options[static_cast<std::size_t>(i)].Text);
        if (Selected(i)) {
            canvas.FillRect(Rect{inside.left, top, inside.right, top + row_height}, kHighlight);
            font.color = kHighlightText;
        } else {
            font.color = TextControlFont().color;
        }
        canvas.SetFont(font);
        canvas.DrawText(inside.left + kTextInset - 1, top, s);
    }
}

}  // namespace quillon
