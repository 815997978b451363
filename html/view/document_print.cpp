#include "html/view/document_print.h"

#include <algorithm>
#include <limits>

#include "html/layout/html_table.h"
#include "html/layout/indent_manager.h"

namespace quillon {

namespace {

// A table as wide as the room may come out a pixel or two wider (rounding of its columns),
// which the clip's rim shows whole: not worth printing every page smaller for.
constexpr int kOverflowSlack = 2;

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
    : settings_(settings),
      target_(target),
      copy_(std::move(document)),
      title_(settings.Title),
      screen_dpi_(settings.ScreenDpi) {
    Prepare();
}

void TDocumentPrint::Prepare() {
    geometry_ = ComputePageGeometry(target_.Device(), settings_);
    // The text margin narrows the layout; the text starts at the left margin.
    x_ = geometry_.Left;

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
    const int widest = LayOut();
    overflow_ =
        widest > geometry_.LayoutWidth + kOverflowSlack ? widest - geometry_.LayoutWidth : 0;
    FitToPage(widest);

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
    breaks_ = std::make_unique<PageBreakMap>(copy, height_, geometry_.BodyHeight);
    pages_ = PlanPages(*breaks_, geometry_.BodyHeight, settings_.RepeatTableHeaders);
}

int TDocumentPrint::LayOut() {
    int widest = 0;
    int cursor = 0;
    height_ = copy_->DoLogic(target_.LayoutCanvas(), 0, geometry_.LayoutWidth, widest, cursor);
    return widest;
}

int TDocumentPrint::TallestStretch() const {
    const PageBreakMap map(*copy_, height_, geometry_.BodyHeight);
    int tallest = 0;
    int top = 0;
    for (const int y : map.ForcedBreaks()) {
        tallest = std::max(tallest, y - top);
        top = y;
    }
    return std::max(tallest, map.End() - top);
}

void TDocumentPrint::FitToPage(int widest) {
    // One screen pixel prints as 1/ScreenDpi inch: a higher resolution prints smaller and
    // gives the layout more pixels across the same body. Laying out again at the wider
    // body lets text use it; a table that grows with the room takes another round.
    for (int round = 0; round < 4; ++round) {
        const int dpi = settings_.ScreenDpi;
        int wanted = dpi;
        const auto scaled = [dpi](long long need, long long have) {
            return static_cast<int>((need * dpi + have - 1) / std::max(have, 1LL));
        };
        if (settings_.ShrinkToFit && widest > geometry_.LayoutWidth + kOverflowSlack) {
            const int margins = geometry_.BodyWidth - geometry_.LayoutWidth;
            wanted = std::max(wanted, scaled(widest + margins, geometry_.BodyWidth));
        }
        if (settings_.FitPageHeight) {
            const int tallest = TallestStretch();
            if (tallest > geometry_.BodyHeight) {
                wanted = std::max(wanted, scaled(tallest, geometry_.BodyHeight));
            }
        }
        if (wanted <= dpi) return;
        settings_.ScreenDpi = wanted;
        geometry_ = ComputePageGeometry(target_.Device(), settings_);
        x_ = geometry_.Left;
        widest = LayOut();
    }
}

double TDocumentPrint::Scale() const {
    return static_cast<double>(std::max(screen_dpi_, 1)) / std::max(settings_.ScreenDpi, 1);
}

TDocumentPrint::~TDocumentPrint() = default;

void TDocumentPrint::DrawBackground(Canvas& canvas, int x) {
    if (!background_box_) return;
    const auto& bitmap = copy_->GetBackgroundBitmap();
    if (!bitmap) return;
    canvas.DrawImage(background_box_->Offset(x, 0), *bitmap);
}

PrintResult TDocumentPrint::CountPages() {
    return Paginate(1, std::numeric_limits<int>::max(), false);
}

PrintResult TDocumentPrint::Print(int FromPage, int ToPage) {
    return Paginate(std::max(FromPage, 1), ToPage, true);
}

PrintResult TDocumentPrint::Paginate(int FromPage, int ToPage, bool output) {
    PrintResult result;
    if (ToPage < FromPage) return result;
    const PageGeometry& g = geometry_;
    bool job_open = false;
    try {
        const int last = static_cast<int>(
            std::min<std::size_t>(pages_.size(), static_cast<std::size_t>(std::max(ToPage, 0))));
        for (int page = 1; page <= last; ++page) {
            const PlannedPage& planned = pages_[static_cast<std::size_t>(page - 1)];
            result.LastPage = page;
            result.PageTops.push_back(planned.Top);
            if (!output || page < FromPage) continue;
            if (job_open) {
                target_.NewPage(page);
            } else {
                target_.BeginDoc(title_, settings_.ScreenDpi, page);
                job_open = true;
            }
            Canvas& canvas = target_.PageCanvas();
            DrawPage(canvas, planned);
            bool stop = false;
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
            if (stop) {
                result.Stopped = true;
                break;
            }
        }
    } catch (...) {
        // A job left open would deliver a half print.
        if (job_open) target_.Abort();
        throw;
    }
    if (job_open) target_.EndDoc();
    return result;
}

void TDocumentPrint::DrawPage(Canvas& canvas, const PlannedPage& page) {
    const PageGeometry& g = geometry_;
    TSectionList& copy = *copy_;
    const Rect layout{x_, 0, x_ + g.LayoutWidth, 0};
    // The header rows of the tables continuing from the page before, one below the other.
    int band = 0;
    for (const int i : page.Headers) {
        const RepeatedHeader& h = breaks_->Headers()[static_cast<std::size_t>(i)];
        OriginScope origin(canvas, 0, g.Top + band - h.Top);
        Rect clip = g.BodyClip().Offset(0, h.Top - band - g.Top);
        clip.top = std::max(clip.top, h.Top);
        clip.bottom = h.Bottom;
        ClipScope scope(canvas, clip);
        IndentManager im;
        h.Table->Draw(canvas, Rect{layout.left, h.Top, layout.right, h.Bottom}, im, x_ + h.X,
                      h.Table->LayoutY);
        band += h.Height();
    }
    // Document y lands on the body's top (below the headers); nothing is drawn outside the
    // body, nor below the page's end (the rest of a table's frame, a float), which shows on
    // the next page. A page ending between rows keeps the last row's bottom border, which
    // lies on its end; a slice ends exactly there, as the next one starts there.
    OriginScope origin(canvas, 0, g.Top + band - page.Top);
    Rect body = g.BodyClip().Offset(0, page.Top - band - g.Top);
    if (band > 0) body.top = page.Top;
    body.bottom = std::min(body.bottom, page.Slice ? page.Bottom : page.Bottom + 1);
    ClipScope clip(canvas, body);
    DrawBackground(canvas, x_);
    copy.Draw(canvas, Rect{layout.left, page.Top, layout.right, page.Bottom}, g.LayoutWidth, x_, 0);
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
