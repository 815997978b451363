#include "html/layout/section_list.h"

#include <algorithm>

#include "html/image/image_cache.h"
#include "html/layout/form_controls.h"
#include "html/layout/image_obj.h"
#include "html/layout/section.h"
#include "html/layout/sel_text.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

constexpr std::size_t kMaxFontName = 33;

std::string FontName(std::string_view name) {
    return std::string(text::CharPrefix(name, kMaxFontName, text::DetectEncoding(name)));
}

}  // namespace

TSectionList::TSectionList() : TCell(this) {}

TSectionList::TSectionList(const TSectionList& src)
    : TCell(this),
      BackImage(src.BackImage),
      BackImageTried(src.BackImageTried),
      ImagesShown(src.ImagesShown),
      IsPrinting(src.IsPrinting),
      PrintPageBottom(src.PrintPageBottom),
      BackgroundChange(src.BackgroundChange),
      OnBitmapRequest(src.OnBitmapRequest),
      OnImageRequest(src.OnImageRequest),
      SelStart(src.SelStart),
      SelEnd(src.SelEnd),
      base_font_name_(src.base_font_name_),
      fixed_font_name_(src.fixed_font_name_),
      base_font_size_(src.base_font_size_),
      text_color_(src.text_color_),
      link_color_(src.link_color_),
      background_(src.background_),
      char_set_(src.char_set_),
      back_image_name_(src.back_image_name_),
      scroll_y_(src.scroll_y_),
      scroll_y_changed_(src.scroll_y_changed_),
      screen_canvas_(src.screen_canvas_),
      control_host_(src.control_host_) {
    CopySectionsFrom(src);
}

TSectionList::~TSectionList() {
    Clear();
}

std::unique_ptr<TSectionList> TSectionList::CreateCopy(const TSectionList& src) {
    return std::make_unique<TSectionList>(src);
}

void TSectionList::Clear() {
    // Sections refer to controls and images; they go first.
    TCell::Clear();
    side_boxes_.ForgetSharedStyles();
    print_marks_.Clear();
    text_styles_.Clear();
    AnimatedImages.clear();
    all_controls_.clear();
    forms_.clear();
    maps_by_key_.clear();
    image_maps_.clear();
    SetSelection(SelRange{});
    BackImage.reset();
    BackImageTried = false;
    back_image_name_.clear();
    for (const std::string& key : image_uses_) BitmapList().DecUsage(key);
    image_uses_.clear();
}

void TSectionList::SetFonts(std::string_view name, std::string_view fixed_name, int size,
                            Color text, Color link, Color background) {
    base_font_name_ = FontName(name);
    fixed_font_name_ = FontName(fixed_name);
    base_font_size_ = std::max(1, size);
    text_color_ = text;
    link_color_ = link;
    SetBackground(background);
    UpdateFonts();
}

void TSectionList::SetBackground(Color c) {
    background_ = c;
    if (BackgroundChange) BackgroundChange(*this, c);
}

void TSectionList::SetBackgroundBitmap(std::string_view name) {
    back_image_name_ = name;
    BackImage.reset();
    BackImageTried = false;
}

void TSectionList::SetYOffset(int y) {
    if (y == scroll_y_) return;
    scroll_y_ = y;
    scroll_y_changed_ = true;
    for (TFormControlObj* c : all_controls_) c->ShownThisPaint = false;
}

FontMetrics TSectionList::MeasureFont(const TMyFont& font) const {
    if (measured_font_ && *measured_font_ == font) return measured_metrics_;
    if (!screen_canvas_) return FontMetrics{};
    screen_canvas_->SetFont(font.CanvasFont());
    measured_metrics_ = screen_canvas_->Metrics();
    measured_font_ = font;
    return measured_metrics_;
}

const TFontFace& TSectionList::FontFace(const TMyFont& font) const {
    const FontMetrics m = MeasureFont(font);
    TFontFace face{font};
    face.CharHeight = std::max(0, m.height);
    face.LineHeight = face.CharHeight + std::max(0, m.external_leading);
    face.Descent = std::max(0, m.descent);
    return font_faces_.Intern(face);
}

ThtmlForm& TSectionList::AddForm(std::unique_ptr<ThtmlForm> form) {
    forms_.push_back(std::move(form));
    return *forms_.back();
}

TMapItem& TSectionList::AddImageMap(std::unique_ptr<TMapItem> map) {
    TMapItem& ref = *map;
    image_maps_.push_back(std::move(map));
    maps_by_key_.try_emplace(ref.MapKey(), &ref);  // the first map of a name wins
    return ref;
}

const TMapItem* TSectionList::FindImageMap(std::string_view name) const {
    const auto it = maps_by_key_.find(text::AsciiUpperCase(name));
    return it == maps_by_key_.end() ? nullptr : it->second;
}

void TSectionList::SetTimerRunning(bool running) {
    if (running == timer_running_) return;
    timer_running_ = running;
    if (OnTimerChange) OnTimerChange(*this, running);
}

void TSectionList::CheckGIFList() {
    if (IsPrinting) return;
    const TGIFImage::Invalidate invalidate = [this](const Rect& area) {
        if (OnInvalidate) OnInvalidate(*this, area);
    };
    for (TImageObj* image : AnimatedImages) {
        if (image->Painted && image->Gif) image->Gif->CheckTime(invalidate);
    }
}

void TSectionList::CopySelection(SelTextCount& sink) const {
    if (SelBlock) {
        SelBlock->Body.CopyToClipboard(sink);
    } else {
        TCell::CopyToClipboard(sink);
    }
}

int TSectionList::GetSelLength() const {
    if (SelEnd <= SelStart) return 0;
    SelTextCount sink(SelStart, SelEnd);
    CopySelection(sink);
    return static_cast<int>(sink.Length());
}

std::u32string TSectionList::GetSelTextBuf(int size) const {
    if (size <= 0 || SelEnd <= SelStart) return {};
    SelTextBuf sink(SelStart, SelEnd, static_cast<std::size_t>(size - 1));
    CopySelection(sink);
    return sink.Text();
}

std::u32string TSectionList::CopyToClipboard() {
    if (SelEnd <= SelStart) return {};
    ClipBuffer sink(SelStart, SelEnd);
    CopySelection(sink);
    if (OnClipboardText) OnClipboardText(*this, sink.Text());
    return sink.Text();
}

int TSectionList::DoLogic(Canvas& canvas, int y, int width, int& max_width, int& cursor) {
    SetTimerRunning(false);
    ++layout_pass_;
    for (TFormControlObj* c : all_controls_) c->SetHeightWidth(canvas);
    const int height = TCell::DoLogic(canvas, y, width, max_width, cursor);
    reach_.clear();
    reach_.reserve(Sections().size());
    int reach = y;
    for (const auto& s : Sections()) {
        reach =
            std::max(reach, s->LayoutY + std::max(s->Height + s->BoxBottomRoom(), s->PaintHeight));
        reach_.push_back(reach);
    }
    for (TImageObj* image : AnimatedImages) {
        if (!image->Gif) continue;
        image->Gif->SetAnimate(false);  // back to frame 1
        image->Gif->SetAnimate(!IsPrinting);
    }
    if (!AnimatedImages.empty() && !IsPrinting) SetTimerRunning(true);
    return height;
}

void TSectionList::Draw(Canvas& canvas, const Rect& rect, int clip_width, int x, int y) {
    PrintPageBottom = rect.bottom;
    SetTimerRunning(false);
    for (TImageObj* image : AnimatedImages) image->Painted = false;
    // Sections that end above the clip are passed over: drawing a page of a long document
    // costs the page, not the document above it.
    std::size_t first = 0;
    if (reach_.size() == Sections().size() && !reach_.empty()) {
        const int shift = y - TopY;  // layout y to drawing y
        first = static_cast<std::size_t>(
            std::upper_bound(reach_.begin(), reach_.end(), rect.top - shift) - reach_.begin());
        if (first < reach_.size()) y = Sections()[first]->FlowTop() + shift;
    }
    DrawSections(canvas, rect, clip_width, x, y, first);
    if (scroll_y_changed_) {
        for (TFormControlObj* c : all_controls_) {
            if (!c->ShownThisPaint) c->Hide();
        }
        scroll_y_changed_ = false;
    }
    if (!AnimatedImages.empty() && !IsPrinting) SetTimerRunning(true);
}

int TSectionList::FindPositionByIndex(int n) const {
    int y = 0;
    const auto& sections = Sections();
    const int count = std::min(n, Count());
    for (int i = 0; i < count; ++i) y += sections[static_cast<std::size_t>(i)]->FlowHeight();
    return y;
}

TSectionList::LineAt TSectionList::FindLineAtPosition(int y) {
    LineAt result;
    int top = 0;
    for (const auto& s : Sections()) {
        if (y >= top && y < top + s->FlowHeight()) {
            result.Section = s.get();
            if (const auto* text = dynamic_cast<const TSection*>(s.get())) {
                int line_top = top + s->BoxTopRoom();
                for (std::size_t i = 0; i < text->LineList.size(); ++i) {
                    const int advance = text->LineList[i].Advance();
                    if (y < line_top + advance) {
                        result.Line = static_cast<int>(i);
                        break;
                    }
                    line_top += advance;
                }
            }
            return result;
        }
        top += s->FlowHeight();
    }
    return result;
}

}  // namespace quillon
