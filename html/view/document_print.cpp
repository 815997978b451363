#include "html/view/document_print.h"

#include <algorithm>
#include <limits>

#include "html/view/discard_canvas.h"

namespace quillon {

namespace {

// Keeps the canvas font across a callback that may change it.
class FontScope {
  public:
    explicit FontScope(Canvas& canvas) : canvas_(canvas), font_(canvas.Font()) {}
    ~FontScope() { canvas_.SetFont(font_); }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

  private:
    Canvas& canvas_;
    FontSpec font_;
};

}  // namespace

TDocumentPrint::TDocumentPrint(const TSectionList& shown, const PrintSettings& settings,
                               PageTarget& target)
    : TDocumentPrint(TSectionList::CreateCopy(shown), settings, target) {}

TDocumentPrint::TDocumentPrint(std::unique_ptr<TSectionList> document,
                               const PrintSettings& settings, PageTarget& target)
    : settings_(settings), target_(target), copy_(std::move(document)), title_(settings.Title) {
    Prepare();
}

void TDocumentPrint::Prepare() {
    geometry_ = ComputePageGeometry(target_.Device(), settings_);
    x_ = geometry_.Left + std::max(settings_.MarginWidth, 0);

    TSectionList& copy = *copy_;
    // The copy tells the viewer nothing, and prints on white from its top.
    copy.BackgroundChange = nullptr;
    copy.OnTimerChange = nullptr;
    copy.OnInvalidate = nullptr;
    copy.SetYOffset(0);
    copy.IsPrinting = true;
    copy.SetBackground(0xFFFFFF);
    copy.SelStart = copy.SelEnd = 0;
    Canvas& layout = target_.LayoutCanvas();
    if (copy.ScreenCanvas() != &layout) {
        copy.SetScreenCanvas(&layout);
        copy.UpdateFonts();  // measured as the target measures
    }
    int max_width = 0;
    int cursor = 0;
    height_ = copy.DoLogic(layout, 0, geometry_.LayoutWidth, max_width, cursor);

    // A positioned background lies between the first "{" and the first "}", which are then
    // blanked so that they do not print. Without one, braces are report text and print as
    // written.
    if (settings_.PositionBackground && !copy.BackgroundImageName().empty() &&
        copy.GetBackgroundBitmap()) {
        const int open = copy.FindString(0, U"{", true, 0);
        const int close = copy.FindString(0, U"}", true, 0);
        if (open >= 0 && close >= 0) {
            const auto a = copy.CursorToXY(layout, open);
            const auto b = copy.CursorToXY(layout, close);
            copy.FindString(0, U"{", true, U' ');
            copy.FindString(0, U"}", true, char32_t{0xA0});
            if (a && b && a->x < b->x && a->y < b->y) {
                background_box_ = Rect{a->x, a->y, b->x, b->y};
            }
        }
    }
}

TDocumentPrint::~TDocumentPrint() = default;

void TDocumentPrint::DrawBackground(Canvas& canvas, int x) {
    if (!background_box_) return;
    const auto& bitmap = copy_->GetBackgroundBitmap();
    if (!bitmap) return;
    canvas.DrawImage(background_box_->Offset(x, 0), *bitmap);
}

PrintResult TDocumentPrint::CountPages() {
    PrintResult r = Paginate(1, std::numeric_limits<int>::max(), false);
    counted_tops_ = r.PageTops;
    return r;
}

PrintResult TDocumentPrint::Print(int FromPage, int ToPage) {
    return Paginate(std::max(FromPage, 1), ToPage, true);
}

PrintResult TDocumentPrint::Paginate(int FromPage, int ToPage, bool output) {
    PrintResult result;
    if (copy_->Empty() || ToPage < FromPage) return result;
    TSectionList& copy = *copy_;
    const PageGeometry& g = geometry_;
    DiscardCanvas discard(target_.LayoutCanvas());
    bool job_open = false;
    int y = 0;
    try {
        for (int page = 1; page <= ToPage; ++page) {
            result.LastPage = page;
            result.PageTops.push_back(y);
            const Rect rect{x_, y, x_ + g.LayoutWidth, y + g.BodyHeight};
            const bool printed = output && page >= FromPage;
            // Where the page ends: known when the pages were counted, else found by drawing
            // it on the discarding canvas.
            const auto index = static_cast<std::size_t>(page);
            const bool known = index <= counted_tops_.size() && counted_tops_[index - 1] == y;
            int bottom = 0;
            if (known) {
                bottom =
                    index < counted_tops_.size() ? counted_tops_[index] : std::max(height_, y + 1);
            } else {
                copy.Draw(discard, rect, g.LayoutWidth, x_, 0);
                bottom = copy.PrintPageBottom;
            }
            bool stop = false;
            if (printed) {
                if (job_open) {
                    target_.NewPage(page);
                } else {
                    target_.BeginDoc(title_, settings_.ScreenDpi, page);
                    job_open = true;
                }
                // Nothing below the page's end (the rest of a table's frame, a float) shows
                // on this page as well as on the next.
                Rect body = g.BodyClip().Offset(0, y - g.Top);
                if (bottom > y && bottom < rect.bottom) {
                    body.bottom = bottom + 1;  // the last row's bottom border
                }
                Canvas& canvas = target_.PageCanvas();
                {
                    // Document y lands on the body's top; nothing is drawn outside the body.
                    OriginScope origin(canvas, 0, g.Top - y);
                    ClipScope clip(canvas, body);
                    DrawBackground(canvas, x_);
                    copy.Draw(canvas, rect, g.LayoutWidth, x_, 0);
                }
                if (settings_.OnPrintHeader) {
                    FontScope font(canvas);
                    settings_.OnPrintHeader(canvas, page, g.PageWidth, g.Top, stop);
                }
                if (settings_.OnPrintFooter) {
                    FontScope font(canvas);
                    OriginScope origin(canvas, 0, g.Top + g.BodyHeight);
                    settings_.OnPrintFooter(canvas, page, g.PageWidth, g.FooterHeight(), stop);
                }
                ++result.PagesPrinted;
            }
            // The next page starts where this one ended: at a page break, at a line that did
            // not fit, or at the body's bottom. A page always moves on, so that a line or a
            // picture taller than the body is printed in body-high slices.
            y = bottom > y ? bottom : y + g.BodyHeight;
            if (stop) {
                result.Stopped = true;
                break;
            }
            if (y >= height_) break;
        }
    } catch (...) {
        // A job left open would deliver a half print.
        if (job_open) target_.Abort();
        throw;
    }
    if (job_open) target_.EndDoc();
    return result;
}

PrintResult PrintDocument(const TSectionList& shown, const PrintSettings& settings,
                          PageTarget& target, int FromPage, int ToPage) {
    TDocumentPrint print(shown, settings, target);
    return print.Print(FromPage, ToPage);
}

int NumPrinterPages(const TSectionList& shown, const PrintSettings& settings, PageTarget& target) {
    TDocumentPrint print(shown, settings, target);
    return print.CountPages().LastPage;
}

}  // namespace quillon
