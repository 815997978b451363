#pragma once
// A canvas that measures like another one and draws nothing: pages before the first one
// printed, and page counting, run the drawing code only for where its pages end.

#include "platform/core/canvas.h"

namespace quillon {

class DiscardCanvas : public Canvas {
  public:
    explicit DiscardCanvas(Canvas& measure) : measure_(measure) { FontChanged(); }

    int DevicePixelsPerInch() const override { return measure_.DevicePixelsPerInch(); }
    bool IsPrinter() const override { return true; }
    bool IsMonochrome() const override { return measure_.IsMonochrome(); }
    FontMetrics Metrics() override { return measure_.Metrics(); }
    int TextWidth(std::u32string_view text) override { return measure_.TextWidth(text); }
    void TextPrefixWidths(std::u32string_view text, std::vector<int>& widths) override {
        measure_.TextPrefixWidths(text, widths);
    }
    using Canvas::TextPrefixWidths;

  protected:
    void FontChanged() override { measure_.SetFont(Font()); }
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
