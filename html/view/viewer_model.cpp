#include "html/view/viewer_model.h"

#include <algorithm>
#include <filesystem>

#include "html/image/image_cache.h"
#include "html/layout/form_controls.h"
#include "html/layout/section_base.h"
#include "html/view/print_source.h"
#include "html/view/url_expand.h"
#include "platform/core/text_encoding.h"

namespace quillon {

// Sets Processing (and the busy cursor) for its lifetime; restores both on every exit.
class THTMLViewerModel::ProcessingScope {
  public:
    explicit ProcessingScope(THTMLViewerModel& m) : m_(m) {
        m_.SetBusyCursor(true);
        m_.SetProcessing(true);
    }
    ~ProcessingScope() {
        m_.SetProcessing(false);
        m_.SetBusyCursor(false);
    }
    ProcessingScope(const ProcessingScope&) = delete;
    ProcessingScope& operator=(const ProcessingScope&) = delete;

  private:
    THTMLViewerModel& m_;
};

THTMLViewerModel::THTMLViewerModel(Canvas& measure)
    : measure_(&measure), doc_(std::make_unique<TSectionList>(measure)) {
    doc_->ImagesShown = false;
    doc_->OnExpandFilename = [this](TSectionList&, const std::string& name) {
        ExpandContext ctx{server_root_, base_,
                          loading_file_.empty() ? current_file_ : loading_file_};
        return ExpandViewerFilename(name, ctx);
    };
    doc_->OnFormSubmit = [this](TSectionList&, const std::string& action,
                                const std::vector<std::string>& results,
                                const std::string& method) { SubmitForm(action, results, method); };
    // Page keys typed into a text control scroll the document.
    doc_->OnControlKey = [this](TSectionList&, ControlKey key) {
        switch (key) {
            case ControlKey::PageUp:
                KeyDown(TViewerKey::PageUp);
                break;
            case ControlKey::PageDown:
                KeyDown(TViewerKey::PageDown);
                break;
            case ControlKey::Home:
                KeyDown(TViewerKey::Home);
                break;
            case ControlKey::End:
                KeyDown(TViewerKey::End);
                break;
            case ControlKey::Enter:
                break;
        }
    };
    ApplyFonts();
    DoScrollBars();
}

THTMLViewerModel::~THTMLViewerModel() = default;

void THTMLViewerModel::SetProcessing(bool on) {
    if (on == processing_) return;
    processing_ = on;
    ProcessingChanged(on);
    if (OnProcessing) OnProcessing(*this, on);
}

// --- size and properties ---

void THTMLViewerModel::SetBounds(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == width_ && height == height_ && laid_out_width_ == width) return;
    width_ = width;
    height_ = height;
    if (width_ != laid_out_width_ && !processing_) {
        Layout();
        laid_out_width_ = width_;
    } else {
        DoScrollBars();
    }
    if (bars_.PanelHeight <= doc_height_) {
        ScrollTo(v_pos_);
    } else {
        SetPosition(0);
    }
    SetHScrollPos(h_pos_);
}

void THTMLViewerModel::SetScrollBarSize(int size) {
    scroll_bar_size_ = std::max(0, size);
    DoScrollBars();
}

void THTMLViewerModel::ApplyFonts() {
    doc_->SetCharSet(char_set_);
    doc_->SetFonts(def_font_name_, def_pre_font_name_, def_font_size_, def_font_color_,
                   def_hot_spot_color_, def_background_);
}

void THTMLViewerModel::SetDefBackground(Color c) {
    if (processing_) return;
    def_background_ = c;
    doc_->SetBackground(c);
    Invalidate();
}

void THTMLViewerModel::SetDefFontColor(Color c) {
    def_font_color_ = c;
    ApplyFonts();
    Invalidate();
}

void THTMLViewerModel::SetDefHotSpotColor(Color c) {
    def_hot_spot_color_ = c;
    ApplyFonts();
    Invalidate();
}

void THTMLViewerModel::SetDefFontSize(int size) {
    def_font_size_ = std::max(6, size);
    ApplyFonts();
    if (!doc_->Empty()) Layout();
    Invalidate();
}

void THTMLViewerModel::SetDefFontName(std::string_view name) {
    if (text::EqualsIgnoreCase(name, def_font_name_)) return;
    def_font_name_ = std::string(name.substr(0, std::min<std::size_t>(name.size(), 32)));
    ApplyFonts();
    if (!doc_->Empty()) Layout();
    Invalidate();
}

void THTMLViewerModel::SetDefPreFontName(std::string_view name) {
    if (text::EqualsIgnoreCase(name, def_pre_font_name_)) return;
    def_pre_font_name_ = std::string(name.substr(0, std::min<std::size_t>(name.size(), 32)));
    ApplyFonts();
    if (!doc_->Empty()) Layout();
    Invalidate();
}

void THTMLViewerModel::SetCharSet(int char_set) {
    if (char_set == char_set_) return;
    char_set_ = char_set;
    ApplyFonts();
    if (!doc_->Empty()) Layout();
    Invalidate();
}

void THTMLViewerModel::SetImageCacheCount(int n) {
    image_cache_count_ = std::clamp(n, 0, 20);
    BitmapList().SetCacheCount(image_cache_count_);
}

void THTMLViewerModel::RelayoutKeepingPosition(bool fetch_background) {
    ProcessingScope scope(*this);
    if (!doc_->Empty()) {
        if (fetch_background) {
            doc_->BackImage.reset();
            doc_->BackImageTried = false;
            doc_->GetBackgroundBitmap();
        }
        const std::int64_t pos = Position();
        DoLogic();
        SetPosition(pos);
    }
    Invalidate();
}

void THTMLViewerModel::SetViewImages(bool on) {
    if (on == doc_->ImagesShown || processing_) return;
    doc_->ImagesShown = on;
    RelayoutKeepingPosition(true);
}

void THTMLViewerModel::SetPositionBackground(bool on) {
    if (on == position_background_ || processing_) return;
    position_background_ = on;
    RelayoutKeepingPosition(true);
}

void THTMLViewerModel::SetNoSelect(bool on) {
    no_select_ = on;
    if (on) {
        doc_->SetSelection(SelRange{-1, -1, nullptr});
        Invalidate();
    }
}

void THTMLViewerModel::SetScrollBars(TScrollStyle style) {
    if (style == scroll_bars_) return;
    scroll_bars_ = style;
    if (processing_) return;
    {
        ProcessingScope scope(*this);
        DoLogic();
    }
    Invalidate();
}

void THTMLViewerModel::SetBorderStyle(THTMLBorderStyle style) {
    border_style_ = style;
    DoScrollBars();
    BorderChanged();
}

void THTMLViewerModel::SetMarginWidth(int m) {
    if (m == margin_width_ || m < 0 || m > 50 || processing_) return;
    margin_width_ = m;
    RelayoutKeepingPosition(false);
}

void THTMLViewerModel::SetMarginHeight(int m) {
    if (m == margin_height_ || m < 0 || m > 50 || processing_) return;
    margin_height_ = m;
    RelayoutKeepingPosition(false);
}

void THTMLViewerModel::SetServerRoot(std::string_view root) {
    server_root_ = NormalServerRoot(root);
}

void THTMLViewerModel::SetOnBitmapRequest(decltype(TSectionList::OnBitmapRequest) f) {
    doc_->OnBitmapRequest = std::move(f);
}

void THTMLViewerModel::SetOnImageRequest(decltype(TSectionList::OnImageRequest) f) {
    doc_->OnImageRequest = std::move(f);
}

// --- loading ---

std::vector<int> THTMLViewerModel::PageBreakTops() const {
    std::vector<int> tops;
    for (const auto& section : doc_->Sections()) {
        if (section->IfNewPage()) tops.push_back(section->LayoutY);
    }
    return tops;
}

std::vector<TViewerFormControl> THTMLViewerModel::FormControls() const {
    std::vector<TViewerFormControl> list;
    for (const TFormControlObj* control : doc_->AllControls()) {
        TViewerFormControl info;
        info.Name = control->Name;
        if (const auto* box = dynamic_cast<const TCheckBoxFormControlObj*>(control)) {
            info.IsCheckBox = true;
            info.Checked = box->Checked();
        }
        list.push_back(std::move(info));
    }
    return list;
}

void THTMLViewerModel::PrepareDocument() {
    doc_->Clear();
    print_source_.reset();
    BitmapList().BumpAndCheck();
    ApplyFonts();
    names_.clear();
    name_index_.clear();
    caret_pos_ = 0;
    sel_anchor_ = {};
    // The link under the mouse belonged to the old document: the same address in the new
    // one is entered afresh.
    url_.Clear();
}

// A failed load leaves an empty document with scroll bars and state to match, so that the
// control stays usable and the next load starts clean.
void THTMLViewerModel::ResetAfterFailure() {
    doc_->Clear();
    print_source_.reset();
    names_.clear();
    name_index_.clear();
    title_.clear();
    base_target_.clear();
    current_file_.clear();
    loading_file_.clear();
    layout_in_progress_ = false;
    caret_pos_ = 0;
    sel_anchor_ = {};
    doc_height_ = 0;
    widest_line_ = 0;
    v_pos_ = 0;
    h_pos_ = 0;
    doc_->SetYOffset(0);
    DoScrollBars();
    Invalidate();
}

void THTMLViewerModel::RebuildNameIndex() {
    name_index_.clear();
    name_index_.reserve(names_.size());
    for (const TNameEntry& e : names_) name_index_.try_emplace(e.Name, e.Section);
}

void THTMLViewerModel::SetupAndLogic(const THtmlParseResult& parsed) {
    title_ = parsed.Title;
    if (!parsed.Base.empty()) base_ = parsed.Base;
    base_target_ = parsed.BaseTarget;
    RebuildNameIndex();
    layout_in_progress_ = true;
    doc_->GetBackgroundBitmap();
    DoLogic();
    layout_in_progress_ = false;
}

void THTMLViewerModel::LoadFile(const std::string& name, TFileType type) {
    FileAndDest fd = SplitDestination(name);
    std::error_code ec;
    // A file whose own name holds "#" is loaded whole, without an anchor.
    if (!fd.Dest.empty() &&
        std::filesystem::is_regular_file(ExpandViewerFilename(name, ExpandContext{}), ec)) {
        fd = FileAndDest{name, {}};
    }
    // A name from the application is relative to the working folder; links were expanded
    // against the document before they got here.
    const std::string file = ExpandViewerFilename(fd.File, ExpandContext{});
    const std::string previous = current_file_;
    ProcessingScope scope(*this);
    if (!std::filesystem::is_regular_file(file, ec)) {
        throw EViewerFileError("Can't locate file: " + fd.File);
    }
    try {
        PrepareDocument();
        loading_file_ = file;
        THtmlParseResult parsed;
        switch (type) {
            case TFileType::HTMLType:
                parsed = HtmlParseFile(*doc_, names_, file);
                if (parsed.DependsOnMedium) {
                    print_source_ = PrintSource{ReadWholeFile(file),
                                                std::filesystem::path(file).parent_path().string()};
                }
                break;
            case TFileType::TextType:
                parsed = HtmlParseTextFile(*doc_, names_, file);
                break;
            case TFileType::ImageType: {
                std::string quoted;
                for (char c : file) quoted += c == '"' ? std::string("&quot;") : std::string(1, c);
                parsed = HtmlParseBuffer(*doc_, names_, "<IMG SRC=\"" + quoted + "\">");
                break;
            }
        }
        current_file_ = file;
        file_type_ = type;
        SetupAndLogic(parsed);
        loading_file_.clear();
    } catch (...) {
        ResetAfterFailure();
        throw;
    }
    if (!fd.Dest.empty()) {
        PositionTo(fd.Dest);
    } else if (!SameFile(previous, file)) {
        ScrollTo(0);
        SetHScrollPos(0);
    }
    Invalidate();
}

void THTMLViewerModel::LoadFileKeepingHistory(std::string_view name, TFileType type) {
    if (processing_ || text::Trim(name).empty()) return;
    const std::string old_file = current_file_;
    const std::string old_title = title_;
    const TFileType old_type = file_type_;
    const std::int64_t old_pos = Position();
    LoadFile(std::string(text::Trim(name)), type);
    if (!(SameFile(old_file, current_file_) && old_type == type)) {
        BumpHistory(old_file, old_title, old_pos, old_type);
    }
}

void THTMLViewerModel::LoadFromFile(std::string_view name) {
    LoadFileKeepingHistory(name, TFileType::HTMLType);
}
void THTMLViewerModel::LoadTextFile(std::string_view name) {
    LoadFileKeepingHistory(name, TFileType::TextType);
}
void THTMLViewerModel::LoadImageFile(std::string_view name) {
    LoadFileKeepingHistory(name, TFileType::ImageType);
}

// `source` gives the text parsed when it is to be kept for printing.
template <class Parse, class Source>
void THTMLViewerModel::LoadFromSource(Parse&& parse, Source&& source) {
    if (processing_) return;
    {
        ProcessingScope scope(*this);
        try {
            PrepareDocument();
            current_file_.clear();  // images of the text resolve against the working folder
            const THtmlParseResult parsed = parse();
            if (parsed.DependsOnMedium) print_source_ = PrintSource{source(), {}};
            current_file_.clear();
            file_type_ = TFileType::HTMLType;
            SetupAndLogic(parsed);
        } catch (...) {
            ResetAfterFailure();
            throw;
        }
    }
    ScrollTo(0);
    SetHScrollPos(0);
    Invalidate();
}

void THTMLViewerModel::LoadStrings(const std::vector<std::string>& lines) {
    LoadFromSource([&] { return HtmlParseStrings(*doc_, names_, lines); },
                   [&] { return JoinLines(lines); });
}
void THTMLViewerModel::LoadTextStrings(const std::vector<std::string>& lines) {
    LoadFromSource([&] { return HtmlParseTextStrings(*doc_, names_, lines); },
                   [] { return std::string(); });
    file_type_ = TFileType::TextType;
}
void THTMLViewerModel::LoadFromBuffer(std::string_view buffer) {
    LoadFromSource([&] { return HtmlParseBuffer(*doc_, names_, buffer); },
                   [&] { return std::string(buffer); });
}
void THTMLViewerModel::LoadFromStream(std::istream& in) {
    LoadFromSource([&] { return HtmlParseStream(*doc_, names_, in); },
                   [&] { return ReadWholeStream(in); });
}

void THTMLViewerModel::Reload() {
    if (processing_ || current_file_.empty()) return;
    const std::int64_t pos = Position();
    LoadFile(current_file_, file_type_);
    SetPosition(pos);
}

void THTMLViewerModel::Clear() {
    if (processing_) return;
    doc_->Clear();
    print_source_.reset();
    ApplyFonts();
    names_.clear();
    name_index_.clear();
    base_.clear();
    base_target_.clear();
    title_.clear();
    current_file_.clear();
    doc_height_ = 0;
    widest_line_ = 0;
    v_pos_ = 0;
    h_pos_ = 0;
    doc_->SetYOffset(0);
    caret_pos_ = 0;
    sel_anchor_ = {};
    DoScrollBars();
    Invalidate();
}

// --- layout ---

void THTMLViewerModel::DoLogic() {
    const bool layout_before = layout_in_progress_;
    layout_in_progress_ = true;
    widest_line_ = 0;
    const bool v_allowed =
        scroll_bars_ == TScrollStyle::ssVertical || scroll_bars_ == TScrollStyle::ssBoth;
    int width = width_ - 2 * margin_width_ - (v_allowed ? scroll_bar_size_ : 0);
    width = std::clamp(width, 1, kMaxPaintWidth);
    int cursor = 0;
    const int height = doc_->DoLogic(*measure_, margin_height_, width, widest_line_, cursor);
    widest_line_ = std::min(widest_line_, kMaxPaintWidth);
    doc_height_ = height + (v_allowed ? 2 : 1) * margin_height_;
    laid_out_width_ = width_;
    layout_in_progress_ = layout_before;
    DoScrollBars();
}

void THTMLViewerModel::DoScrollBars() {
    ScrollBarInput in;
    in.Width = width_;
    in.Height = height_;
    in.ScrollBarSize = scroll_bar_size_;
    in.DocHeight = doc_height_;
    in.MarginWidth = margin_width_;
    in.WidestLine = widest_line_;
    in.Style = scroll_bars_;
    in.Border = border_style_ != THTMLBorderStyle::htNone;
    bars_ = ComputeScrollBars(in);
    v_pos_ = std::clamp(v_pos_, 0, std::max(0, doc_height_ - bars_.PanelHeight));
    h_pos_ = std::clamp(h_pos_, 0, MaxHScrollPos());
    doc_->SetYOffset(v_pos_);
    ScrollBarsChanged();
}

void THTMLViewerModel::Layout() {
    if (processing_) return;
    ProcessingScope scope(*this);
    const std::int64_t pos = Position();
    DoLogic();
    SetPosition(pos);
}

// --- navigation ---

std::int64_t THTMLViewerModel::Position() const {
    int top = 0;
    const auto& sections = doc_->Sections();
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const int bottom = top + sections[i]->FlowHeight();
        if (v_pos_ >= top && v_pos_ < bottom) {
            return (static_cast<std::int64_t>(i) << 32) | static_cast<std::uint32_t>(v_pos_ - top);
        }
        top = bottom;
    }
    return 0;
}

void THTMLViewerModel::SetPosition(std::int64_t pos) {
    if (pos < 0) return;
    const std::int64_t index = pos >> 32;
    const auto offset = static_cast<std::int64_t>(pos & 0xFFFFFFFF);
    if (index >= doc_->Count()) return;
    const std::int64_t y = doc_->FindPositionByIndex(static_cast<int>(index)) + offset;
    ScrollTo(static_cast<int>(std::min<std::int64_t>(y, doc_height_)));
}

// Without a horizontal bar nothing scrolls sideways (a block as wide as the panel reports a
// scroll width a border's pixels wider than the panel).
int THTMLViewerModel::MaxHScrollPos() const {
    return bars_.HBar ? std::max(0, bars_.ScrollWidth - bars_.PanelWidth) : 0;
}

int THTMLViewerModel::GetScrollBarRange() const {
    return std::max(0, doc_height_ - bars_.PanelHeight);
}

void THTMLViewerModel::ScrollTo(int y) {
    const int old = v_pos_;
    v_pos_ = std::clamp(y, 0, GetScrollBarRange());
    doc_->SetYOffset(v_pos_);
    ScrollBarsChanged();
    ViewScrolled(old, v_pos_);
    if (OnScroll) OnScroll(*this);
    Scrolled();
}

void THTMLViewerModel::SetScrollPos(int y) {
    const int clamped = std::clamp(y, 0, GetScrollBarRange());
    if (clamped != v_pos_) ScrollTo(clamped);
}

void THTMLViewerModel::SetHScrollPos(int x) {
    const int clamped = std::clamp(x, 0, MaxHScrollPos());
    if (clamped == h_pos_) return;
    h_pos_ = clamped;
    ScrollBarsChanged();
    Invalidate();
}

bool THTMLViewerModel::PositionTo(std::string_view dest) {
    if (!dest.empty() && dest.front() == '#') dest.remove_prefix(1);
    const auto it = name_index_.find(text::AsciiUpperCase(dest));
    if (it == name_index_.end() || !it->second) return false;
    ScrollTo(it->second->LayoutY);
    SetHScrollPos(0);
    return true;
}

}  // namespace quillon
