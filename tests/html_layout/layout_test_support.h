#pragma once
// Helpers for layout tests: a document parsed from HTML and laid out on the fixed-metric
// canvas (every character 8 px wide, lines 16 px high with ascent 12 and descent 4).

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "html/layout/html_table.h"
#include "html/layout/image_obj.h"
#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser.h"
#include "platform/core/test_canvas.h"

namespace quillon::testing {

struct LaidOut {
    std::unique_ptr<TestCanvas> canvas = std::make_unique<TestCanvas>(800, 600);
    std::unique_ptr<TSectionList> doc = std::make_unique<TSectionList>();
    int height = 0;
    int max_width = 0;
    int cursor = 0;

    // The n-th text section (counting only text sections).
    TSection& Text(int n) {
        for (int i = 0; i < doc->Count(); ++i) {
            if (auto* s = dynamic_cast<TSection*>(&(*doc)[i]); s && n-- == 0) return *s;
        }
        throw std::out_of_range("no such text section");
    }
    // Lays the document out again for `width`.
    void Layout(int width) {
        max_width = 0;
        cursor = 0;
        height = doc->DoLogic(*canvas, 0, width, max_width, cursor);
    }
};

inline LaidOut LayOut(std::string_view html, int width) {
    LaidOut l;
    l.doc->SetScreenCanvas(l.canvas.get());
    TNameList names;
    HtmlParseBuffer(*l.doc, names, html);
    l.Layout(width);
    return l;
}

// Gives an image of a laid-out document a loaded picture, as if loading had found it, so
// that the next layout sizes the image from it.
inline void GivePicture(TImageObj& image, std::shared_ptr<RgbaImage> picture) {
    image.Bitmap = std::move(picture);
    image.Gif.reset();
    image.ImageKnown = true;
    image.Failed = false;
    image.SizeFixed = false;
}

// The text of line i of a section.
inline std::u32string LineText(const TSection& s, int i) {
    const LineRec& line = s.LineList.at(static_cast<std::size_t>(i));
    return s.Text().substr(static_cast<std::size_t>(line.TextStart),
                           static_cast<std::size_t>(line.CharsInLine));
}

// Lays out `body` under the style sheet `css`.
inline LaidOut Styled(std::string_view css, std::string_view body, int width = 400) {
    return LayOut("<html><head><style>" + std::string(css) + "</style></head><body>" +
                      std::string(body) + "</body></html>",
                  width);
}

// The first table of the document's top level.
inline ThtmlTable& FirstTable(LaidOut& l) {
    for (int i = 0; i < l.doc->Count(); ++i) {
        if (auto* t = dynamic_cast<ThtmlTable*>(&(*l.doc)[i])) return *t;
    }
    throw std::out_of_range("no table");
}

// Lays out `l` 200 px wide and paints it on a 200 x 100 canvas, every picture it asks for
// a 10 x 10 blue square.
inline LaidOut PaintedWithBluePictures(LaidOut l) {
    l.doc->OnBitmapRequest = [](TSectionList&, const std::string&,
                                std::shared_ptr<const RgbaImage>& bitmap, std::int64_t&) {
        bitmap = std::make_shared<const RgbaImage>(10, 10, Rgba{0, 0, 255, 255});
    };
    l.canvas = std::make_unique<TestCanvas>(200, 100);
    l.doc->SetScreenCanvas(l.canvas.get());
    l.Layout(200);
    l.doc->Draw(*l.canvas, Rect{0, 0, 200, 100}, 200, 0, 0);
    return l;
}

// Whether the painted pixel at (x, y) is the pictures' blue.
inline bool Blue(const LaidOut& l, int x, int y) {
    const Rgba p = l.canvas->Surface().At(x, y);
    return p.r == 0 && p.g == 0 && p.b == 255;
}

}  // namespace quillon::testing
