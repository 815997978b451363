#pragma once
// A canvas that draws nothing: pages before the first one printed, and page counting, run
// the drawing code only for where its pages end. That depends on the layout's line and
// row positions alone, so text is not measured again (every width is 0; shaping text is
// the dearest part of drawing); font metrics come from the layout canvas when asked.

#include "platform/core/canvas.h"

namespace quillon {

class DiscardCanvas : public Canvas {
  public:
    explicit DiscardCanvas(Canvas& measure) : measure_(measure) {}

    int DevicePixelsPerInch() const override { return measure_.DevicePixelsPerInch(); }
    bool IsPrinter() const override { return true; }
    bool IsMonochrome() const override { return measure_.IsMonochrome(); }
    FontMetrics Metrics() override {
        measure_.SetFont(Font());
        return measure_.Metrics();
    }
    int TextWidth(std::u32string_view) override { return 0; }
    void TextPrefixWidths(std::u32string_view text, std::vector<int>& widths) override {
        widths.assign(text.size(), 0);
    }
    using Canvas::TextPrefixWidths;

  protected:
    void DoDrawText(Point, std::u32string_view, std::optional<Color>) override {}
    void DoFillRect(const Rect&, Color) override {}
    void DoFrameRect(const Rect&, Color, int) override {}
    void DoDrawLine(Point, Point, Color, int) override {}
    void DoDrawPolyline(const std::vector<Point>&, Color, int, bool) override {}
    void DoFillPolygon(const std::vector<Point>&, Color) override {}
    void DoFillEllipse(const Rect&, Color) override {}
    void DoFrameEllipse(const Rect&, Color, int) override {}
    void DoDrawImage(const Rect&, const RgbaImage&, const Rect&) override {}
    void ClipChanged(const std::optional<Rect>&) override {}

  private:
    Canvas& measure_;
};

}  // namespace quillon
