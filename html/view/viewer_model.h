#pragma once
// Everything of the HTML viewer control that needs no window system: the document and its
// loaders, layout for the control's size, scroll positions and scroll-bar rules, anchors,
// history, links, search, selection, the mouse and keyboard logic and form submission.
// The Qt widget (qt/html_viewer.h) derives from it and overrides the hooks at the end to
// repaint, move its scroll bars, change cursors and run timers.
//
// Coordinates given to the mouse operations are those of the paint panel. Layout places the
// document's first section at y = MarginHeight; the panel shows layout y from ScrollPos().

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "html/layout/section_list.h"
#include "html/layout/url_target.h"
#include "html/tree/html_parser.h"
#include "html/view/scroll_bar_rules.h"
#include "html/view/viewer_history.h"
#include "html/view/viewer_types.h"
#include "platform/core/canvas.h"

namespace quillon {

class TFormControlObj;

// A file to load does not exist ("Can't locate file: NAME").
class EViewerFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class THTMLViewerModel {
  public:
    // measure: the canvas layout and hit tests measure text on (the screen's).
    explicit THTMLViewerModel(Canvas& measure);
    THTMLViewerModel(const THTMLViewerModel&) = delete;
    THTMLViewerModel& operator=(const THTMLViewerModel&) = delete;
    virtual ~THTMLViewerModel();

    // --- the document ---
    TSectionList& Document() { return *doc_; }
    const TSectionList& Document() const { return *doc_; }
    const TNameList& NameList() const { return names_; }
    // The layout y where each page after the first starts (the document's page breaks), in
    // document order.
    std::vector<int> PageBreakTops() const;
    // The document's form controls in document order.
    std::vector<TViewerFormControl> FormControls() const;
    Canvas& MeasureCanvas() { return *measure_; }

    // --- size: a new width lays the document out again (keeping Position) ---
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetBounds(int width, int height);
    int ScrollBarSize() const { return scroll_bar_size_; }
    void SetScrollBarSize(int size);

    // --- properties ---
    Color DefBackground() const { return def_background_; }
    void SetDefBackground(Color c);
    Color DefFontColor() const { return def_font_color_; }
    void SetDefFontColor(Color c);
    Color DefHotSpotColor() const { return def_hot_spot_color_; }
    void SetDefHotSpotColor(Color c);
    int DefFontSize() const { return def_font_size_; }
    void SetDefFontSize(int size);  // at least 6
    const std::string& DefFontName() const { return def_font_name_; }
    void SetDefFontName(std::string_view name);
    const std::string& DefPreFontName() const { return def_pre_font_name_; }
    void SetDefPreFontName(std::string_view name);
    int CharSet() const { return char_set_; }
    void SetCharSet(int char_set);
    int ImageCacheCount() const { return image_cache_count_; }
    void SetImageCacheCount(int n);  // clamped to 0..20; sizes the shared image cache
    bool ViewImages() const { return doc_->ImagesShown; }
    void SetViewImages(bool on);
    bool PositionBackground() const { return position_background_; }
    void SetPositionBackground(bool on);
    bool NoSelect() const { return no_select_; }
    void SetNoSelect(bool on);
    TScrollStyle ScrollBars() const { return scroll_bars_; }
    void SetScrollBars(TScrollStyle style);
    THTMLBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(THTMLBorderStyle style);
    int MarginWidth() const { return margin_width_; }
    void SetMarginWidth(int m);  // 0..50, else ignored
    int MarginHeight() const { return margin_height_; }
    void SetMarginHeight(int m);   // 0..50, else ignored
    double PrintMarginLeft = 2.0;  // centimetres
    double PrintMarginRight = 2.0;
    double PrintMarginTop = 2.0;
    double PrintMarginBottom = 2.0;
    const std::string& ServerRoot() const { return server_root_; }
    void SetServerRoot(std::string_view root);
    const std::string& Base() const { return base_; }
    void SetBase(std::string_view base) { base_ = base; }

    // --- state ---
    const std::string& Title() const { return title_; }
    const std::string& BaseTarget() const { return base_target_; }
    const std::string& URL() const { return url_.URL; }
    const std::string& Target() const { return url_.Target; }
    const std::string& CurrentFile() const { return current_file_; }
    TFileType CurrentFileType() const { return file_type_; }
    bool Processing() const { return processing_; }
    int DocHeight() const { return doc_height_; }
    int MaxHorzExtent() const { return widest_line_; }
    const ScrollBarLayout& Bars() const { return bars_; }
    bool LeftButtonDown() const { return left_button_down_; }
    bool Selecting() const { return selecting_; }
    bool AutoScrolling() const { return auto_scrolling_; }
    bool LinkClicked() const { return link_clicked_; }

    // --- loading (ignored while Processing; errors are thrown after the control was left
    // empty and usable: EViewerFileError, EParseError, EProcessError, ios_base::failure) ---
    // A file name may end in "#anchor".
    void LoadFromFile(std::string_view name);
    void LoadTextFile(std::string_view name);
    void LoadImageFile(std::string_view name);
    void LoadStrings(const std::vector<std::string>& lines);
    void LoadTextStrings(const std::vector<std::string>& lines);
    void LoadFromBuffer(std::string_view buffer);
    void LoadFromStream(std::istream& in);
    void Reload();
    virtual void Clear();
    // Lays the document out again for the current size, keeping Position.
    void Layout();

    // --- navigation ---
    // The top of the view as the index of its section (upper 32 bits) and the offset into
    // that section (lower 32 bits); survives a new layout.
    std::int64_t Position() const;
    void SetPosition(std::int64_t pos);
    int ScrollPos() const { return v_pos_; }
    void SetScrollPos(int y);  // scrolls only when the clamped value changes
    void ScrollTo(int y);      // clamped to 0..DocHeight - panel height
    int HScrollPos() const { return h_pos_; }
    void SetHScrollPos(int x);  // clamped to 0..MaxHScrollPos()
    int MaxHScrollPos() const;
    int GetScrollBarRange() const;
    // "#name" or "name": scrolls to that anchor; false when there is none.
    bool PositionTo(std::string_view dest);

    // --- history ---
    std::vector<std::string> History() const;
    std::vector<std::string> TitleHistory() const;
    const TViewerHistory& HistoryList() const { return history_; }
    int HistoryIndex() const { return history_.Index(); }
    void SetHistoryIndex(int i);
    int HistoryMaxCount() const { return history_.MaxCount(); }
    void SetHistoryMaxCount(int n);
    void ClearHistory();
    void BumpHistory(const std::string& old_file, const std::string& old_title,
                     std::int64_t old_pos, TFileType old_type);

    // --- selection and search ---
    int CaretPos() const { return caret_pos_; }
    void SetCaretPos(int pos) { caret_pos_ = pos; }
    int SelStart() const { return doc_->SelStart; }
    int SelEnd() const { return doc_->SelEnd; }
    // From CaretPos: selects the next occurrence and scrolls it into view.
    bool Find(std::string_view s, bool match_case);
    // Where the next occurrence from CaretPos is, in layout coordinates; nothing moves.
    std::optional<Point> FindPos(std::string_view s, bool match_case);
    void SelectAll();
    // The selected text (UTF-8), also handed to Document().OnClipboardText.
    std::string CopyToClipboard();
    std::string SelText() const;
    int SelLength() const;
    void SetSelLength(int n);  // 0 collapses the selection
    std::string GetSelTextBuf(int size) const;

    // --- printing ---
    // A document to print, which nobody shows: a copy of the shown one, or, when the style
    // sheets of the shown one have rules for the screen or print only, its source parsed
    // again for print (with the viewer's fonts, images and file names).
    std::unique_ptr<TSectionList> DocumentForPrint() const;

    // --- hit tests, links ---
    bool GetURL(int x, int y, TUrlTarget& url, TFormControlObj*& control);
    virtual void URLAction();
    virtual std::string HTMLExpandFilename(std::string_view name) const;
    virtual bool HotSpotClickHandled();

    // --- mouse (panel coordinates) and keyboard ---
    void MouseDown(int x, int y, bool left, bool had_focus);
    // True when the point is over a link (the widget shows the link cursor).
    bool MouseMove(int x, int y, bool left_held);
    void MouseUp(int x, int y, bool left);
    void DoubleClick(int x, int y);
    // One auto-scroll pass for the pointer at panel (x, y); false when auto-scrolling ends.
    bool AutoScrollStep(int x, int y);
    bool KeyDown(TViewerKey key);

    // --- painting helpers ---
    // The rectangle between the first "{" and "}" (panel coordinates) over which a
    // positioned background is stretched; nothing when "}" does not follow "{".
    std::optional<Rect> PositionedBackgroundRect();

    // --- form submission: delivered after the submitting click has finished ---
    void DeliverFormSubmit();

    // --- events (called only when set; the first parameter is the sender) ---
    std::function<void(THTMLViewerModel& sender, const std::string& src)> OnHotSpotCovered;
    std::function<void(THTMLViewerModel& sender, const std::string& src, bool& handled)>
        OnHotSpotClick;
    std::function<void(THTMLViewerModel& sender, bool processing_on)> OnProcessing;
    std::function<void(THTMLViewerModel& sender, const std::string& action,
                       const std::string& method, const std::vector<std::string>& results)>
        OnFormSubmit;
    std::function<void(THTMLViewerModel& sender)> OnHistoryChange;
    // The view was scrolled vertically or set to a position again (by the bar, the wheel,
    // the keys, a search, an anchor, a new layout or a load).
    std::function<void(THTMLViewerModel& sender)> OnScroll;
    // Pictures for image names (handed to the document).
    void SetOnBitmapRequest(decltype(TSectionList::OnBitmapRequest) f);
    void SetOnImageRequest(decltype(TSectionList::OnImageRequest) f);

  protected:
    // Hooks for the widget.
    virtual void Invalidate() {}
    virtual void ScrollBarsChanged() {}
    // The view moved vertically from old_y to new_y (one small step: the widget may move
    // the pixels instead of repainting).
    virtual void ViewScrolled(int /*old_y*/, int /*new_y*/) { Invalidate(); }
    virtual void SetBusyCursor(bool /*busy*/) {}
    virtual void StartAutoScroll() {}
    virtual void StopAutoScroll() {}
    // A form was submitted: the widget posts DeliverFormSubmit; without a widget it runs now.
    virtual void PostFormSubmit() { DeliverFormSubmit(); }
    virtual void BorderChanged() {}
    virtual void ProcessingChanged(bool /*on*/) {}
    // The events again, for the widget's signals: each is called after its callback.
    virtual void HistoryChanged() {}
    virtual void HotSpotCovered(const std::string& /*url*/) {}
    virtual void HotSpotClicked(const std::string& /*url*/, bool /*handled*/) {}
    virtual void FormSubmitted(const std::string& /*action*/, const std::string& /*method*/,
                               const std::vector<std::string>& /*results*/) {}
    virtual void Scrolled() {}

  private:
    class ProcessingScope;
    void NotifyHistoryChange();
    void SetProcessing(bool on);
    void LoadFile(const std::string& name, TFileType type);
    void LoadFileKeepingHistory(std::string_view name, TFileType type);
    template <class Parse, class Source>
    void LoadFromSource(Parse&& parse, Source&& source);
    void PrepareDocument();
    void ResetAfterFailure();
    void SetupAndLogic(const THtmlParseResult& parsed);
    void DoLogic();
    void DoScrollBars();
    void ApplyFonts();
    void RelayoutKeepingPosition(bool fetch_background);
    void DoHilite(int x, int y);
    void SubmitForm(const std::string& action, const std::vector<std::string>& results,
                    const std::string& method);
    Point ToLayout(int x, int y) const { return Point{x - margin_width_ + h_pos_, y + v_pos_}; }
    void RebuildNameIndex();
    THistoryEntry CurrentEntry() const;

    Canvas* measure_;
    std::unique_ptr<TSectionList> doc_;
    TNameList names_;
    std::unordered_map<std::string, const TSectionBase*> name_index_;
    TViewerHistory history_;

    int width_ = 150;
    int height_ = 150;
    int laid_out_width_ = -1;
    int scroll_bar_size_ = 16;
    Color def_background_ = 0xC0C0C0;
    Color def_font_color_ = 0x000000;
    Color def_hot_spot_color_ = 0x0000FF;
    int def_font_size_ = 12;
    std::string def_font_name_ = "Times New Roman";
    std::string def_pre_font_name_ = "Courier New";
    int char_set_ = 1;
    int image_cache_count_ = 5;
    bool position_background_ = false;
    bool no_select_ = false;
    TScrollStyle scroll_bars_ = TScrollStyle::ssBoth;
    THTMLBorderStyle border_style_ = THTMLBorderStyle::htFocused;
    int margin_width_ = 10;
    int margin_height_ = 5;
    std::string server_root_;

    std::string title_;
    std::string base_;
    std::string base_target_;
    std::string current_file_;
    std::string loading_file_;  // the file being parsed: its images resolve against it
    TFileType file_type_ = TFileType::HTMLType;
    TUrlTarget url_;
    bool processing_ = false;
    bool layout_in_progress_ = false;
    int doc_height_ = 0;
    int widest_line_ = 0;
    ScrollBarLayout bars_;
    int v_pos_ = 0;
    int h_pos_ = 0;
    int caret_pos_ = 0;
    CursorHit sel_anchor_;  // where the selection started (Index -1: nowhere)
    bool left_button_down_ = false;
    bool selecting_ = false;
    bool auto_scrolling_ = false;
    bool link_clicked_ = false;

    struct PendingSubmit {
        std::string Action;
        std::string Method;
        std::vector<std::string> Results;
    };
    std::optional<PendingSubmit> pending_submit_;

    // The source of a document whose style differs between screen and print, kept to
    // parse it again for printing; nothing for every other document.
    struct PrintSource {
        std::string Text;
        std::string BaseDir;  // where its LINK and @import files are
    };
    std::optional<PrintSource> print_source_;
};

}  // namespace quillon
