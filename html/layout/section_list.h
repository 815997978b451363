#pragma once
// The document: the top-level list of sections plus everything that belongs to the whole
// document: font settings and colours, background, forms and their controls, image maps,
// animated images, the selection and the callbacks to the viewer.
// The README's glossary of inherited names explains this and its neighbours.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "html/image/gif_image.h"
#include "html/layout/box_table.h"
#include "html/layout/cell.h"
#include "html/layout/control_host.h"
#include "html/layout/font_faces.h"
#include "html/layout/html_form.h"
#include "html/layout/link_table.h"
#include "html/layout/map_item.h"
#include "html/layout/my_font.h"
#include "html/layout/print_marks.h"
#include "html/layout/section_text_style.h"
#include "html/layout/sel_range.h"
#include "platform/core/canvas.h"
#include "platform/core/image_types.h"
#include "platform/core/rgba_image.h"

namespace quillon {

class TFormControlObj;
class TImageObj;

// A picture the document's image loader found.
struct TLoadedImage {
    // A still picture (transparency in alpha) or an animated GIF shared with the cache;
    // whoever animates it takes a copy.
    std::shared_ptr<const RgbaImage> Bitmap;
    std::shared_ptr<const TGIFImage> Gif;
    Transparency Transp = Transparency::NotTransp;
    bool FromCache = false;
};

class TSectionList : public TCell {
  public:
    TSectionList();
    // A document measuring its fonts on the owner's screen canvas.
    explicit TSectionList(Canvas& screen) : TSectionList() { SetScreenCanvas(&screen); }
    // A copy for printing: the sections, the settings, the selection and the background
    // (not the forms and maps). The copy's sections refer to the form controls of src, so
    // src must outlive the copy.
    TSectionList(const TSectionList& src);
    TSectionList& operator=(const TSectionList&) = delete;
    ~TSectionList();

    static std::unique_ptr<TSectionList> CreateCopy(const TSectionList& src);

    // Empties the document: sections, forms and their controls, maps, image lists,
    // the selection and the background image.
    void Clear();

    // --- font settings and colours (all colours are canvas colours 0x00RRGGBB) ---
    // Stores the settings, sets the background (calling BackgroundChange) and re-applies
    // the fonts of every section. Names are cut to 33 characters; sizes below 1 count as 1.
    void SetFonts(std::string_view name, std::string_view fixed_name, int size, Color text,
                  Color link, Color background);
    const std::string& BaseFontName() const { return base_font_name_; }
    const std::string& FixedFontName() const { return fixed_font_name_; }
    int BaseFontSize() const { return base_font_size_; }  // F
    Color TextColor() const { return text_color_; }
    Color LinkColor() const { return link_color_; }
    int CharSet() const { return char_set_; }
    void SetCharSet(int char_set) { char_set_ = char_set; }
    // BODY TEXT and LINK change the colours without re-applying fonts.
    void SetTextColor(Color c) { text_color_ = c; }
    void SetLinkColor(Color c) { link_color_ = c; }

    Color Background() const { return background_; }
    void SetBackground(Color c);
    // The name of the background image (BODY BACKGROUND); GetBackgroundBitmap loads it.
    void SetBackgroundBitmap(std::string_view name);
    const std::string& BackgroundImageName() const { return back_image_name_; }
    std::shared_ptr<const RgbaImage> BackImage;
    bool BackImageTried = false;
    // Loads the background image once (when images are shown, a name was given and it was
    // not tried before). Only a still picture is used, not an animated GIF.
    const std::shared_ptr<const RgbaImage>& GetBackgroundBitmap();

    // --- images ---
    // The document's image loader: the image cache first, then OnBitmapRequest, else
    // OnImageRequest, else the name as a file. Every picture found counts one use of its
    // cache entry until the document is cleared. nullopt when there is no picture (the
    // caller shows the error bitmap). With LLCorner requested, the lower-left pixel's
    // colour becomes transparent; a GIF naming a transparent colour reports TGif.
    std::optional<TLoadedImage> GetTheBitmap(std::string_view name, Transparency requested);
    // The cache key of an image name: with a request callback the name upper-cased and
    // trimmed (the application serves names, in any case); otherwise the file's canonical
    // path, case kept, so that different files never share an entry.
    std::string ImageCacheKey(std::string_view name) const;
    // Cache keys in use by this document, one per use.
    const std::vector<std::string>& ImageUses() const { return image_uses_; }
    // --- viewer state ---
    bool ImagesShown = true;
    bool IsPrinting = false;
    // The bottom of the area last drawn: while printing, the end of the page (pagination
    // chose it, see page_breaks.h; the drawing clip ends there too).
    int PrintPageBottom = 0;
    int ScrollY() const { return scroll_y_; }
    bool ScrollYChanged() const { return scroll_y_changed_; }
    // Stores a new scroll offset; when it changes every control is marked as not shown.
    void SetYOffset(int y);

    // The canvas fonts are measured on, given by the document's owner (the viewer's
    // screen, or a Qt canvas on an image when there is no display). A document without
    // one is built but not measured: its font metrics stay 0 until it gets a canvas and
    // its fonts are updated.
    Canvas* ScreenCanvas() const { return screen_canvas_; }
    void SetScreenCanvas(Canvas* canvas) {
        screen_canvas_ = canvas;
        measured_font_.reset();
    }
    // The metrics of `font` on the screen canvas (all 0 without one). The last font
    // measured is remembered, since the font runs of a document mostly share a handful of
    // fonts.
    FontMetrics MeasureFont(const TMyFont& font) const;
    // The shared face of `font` with its metrics measured as MeasureFont does.
    const TFontFace& FontFace(const TMyFont& font) const;
    // This document's face equal to `face` (a face of another document, for copies).
    const TFontFace& AdoptFontFace(const TFontFace& face) const { return font_faces_.Intern(face); }
    // How many distinct faces the document's runs have used.
    std::size_t FontFaceCount() const { return font_faces_.Count(); }
    // The document's shared copy of a run's link.
    const TUrlTarget& Link(const TUrlTarget& link) const { return links_.Intern(link); }
    // The line layouts of styled blocks, which sections refer to by number.
    SectionTextStyles& TextStyles() { return text_styles_; }
    const SectionTextStyles& TextStyles() const { return text_styles_; }
    // The anchors and headings that printing marks (a copy gets those of its sections).
    TPrintMarks& PrintMarks() { return print_marks_; }
    const TPrintMarks& PrintMarks() const { return print_marks_; }
    // The block boxes of its sections and the boxes of its table cells, by object.
    BoxTable& SideBoxes() { return side_boxes_; }
    const BoxTable& SideBoxes() const { return side_boxes_; }
    // Where form control widgets are created (the viewer's paint panel); null: headless.
    ControlHost* Host() const { return control_host_; }
    void SetControlHost(ControlHost* host) { control_host_ = host; }

    // --- callbacks to the viewer (called only when set) ---
    std::function<void(TSectionList& sender, Color background)> BackgroundChange;
    // A form is sent: its action, the submission strings and its method.
    std::function<void(TSectionList& sender, const std::string& action,
                       const std::vector<std::string>& submissions, const std::string& method)>
        OnFormSubmit;
    // A picture by name: the viewer sets `bitmap`, and `transparent_color` (starts -1) to a
    // colour 0x00RRGGBB when the pixels of that colour are transparent.
    std::function<void(TSectionList& sender, const std::string& name,
                       std::shared_ptr<const RgbaImage>& bitmap, std::int64_t& transparent_color)>
        OnBitmapRequest;
    // A picture by name as the bytes of an image file (empty: none).
    std::function<void(TSectionList& sender, const std::string& name, std::string& bytes)>
        OnImageRequest;
    // Without the two request callbacks: turns an image name into a file path (the viewer
    // resolves it against the document's folder). Unset: the name is the path.
    std::function<std::string(TSectionList& sender, const std::string& name)> OnExpandFilename;
    // An animated image shows its next frame: its rectangle must be painted again.
    std::function<void(TSectionList& sender, const Rect& area)> OnInvalidate;
    // A text control passes a scrolling key on to the viewer.
    std::function<void(TSectionList& sender, ControlKey key)> OnControlKey;
    // Copying puts the selected text on the clipboard.
    std::function<void(TSectionList& sender, const std::u32string& text)> OnClipboardText;
    // The animation timer is started (true) or stopped (false).
    std::function<void(TSectionList& sender, bool running)> OnTimerChange;

    // --- forms, controls, maps, animated images ---
    ThtmlForm& AddForm(std::unique_ptr<ThtmlForm> form);
    const std::vector<std::unique_ptr<ThtmlForm>>& Forms() const { return forms_; }
    // Every form control of the document in creation order (owned by their forms).
    const std::vector<TFormControlObj*>& AllControls() const { return all_controls_; }
    void RegisterControl(TFormControlObj& control) { all_controls_.push_back(&control); }
    TMapItem& AddImageMap(std::unique_ptr<TMapItem> map);
    const std::vector<std::unique_ptr<TMapItem>>& ImageMaps() const { return image_maps_; }
    // The map of that (upper-cased) name, or null.
    const TMapItem* FindImageMap(std::string_view name) const;
    std::vector<TImageObj*> AnimatedImages;  // not owned
    bool TimerRunning() const { return timer_running_; }
    void SetTimerRunning(bool running);
    // Advances the animated images that were painted in the last paint (GIF animation).
    void CheckGIFList();

    // --- selection (cursor indices) ---
    int SelStart = 0;
    int SelEnd = 0;
    // The inline block whose content SelStart and SelEnd number, or null for the text of
    // the document itself (see SelRange).
    const TInlineBlock* SelBlock = nullptr;
    void SetSelection(const SelRange& range) {
        SelStart = range.Start;
        SelEnd = range.End;
        SelBlock = range.Block;
    }
    // Characters in the selection (placeholders not counted, line ends counted).
    int GetSelLength() const;
    // The selected text, at most size - 1 characters (size 0: nothing).
    std::u32string GetSelTextBuf(int size) const;
    // The whole selected text, handed to OnClipboardText; returns it too.
    std::u32string CopyToClipboard();
    // Hands the selected text to sink (the content of SelBlock, or of the document).
    void CopySelection(SelTextCount& sink) const;

    // --- layout and drawing ---
    // Counts the layout passes (DoLogic calls); widths measured within one pass are kept.
    int LayoutPass() const { return layout_pass_; }
    // Sizes every form control, lays out all sections for `width` from y; returns the
    // document height. Widens max_width and advances cursor.
    int DoLogic(Canvas& canvas, int y, int width, int& max_width, int& cursor);
    // Paints the sections in rect at (x, y).
    void Draw(Canvas& canvas, const Rect& rect, int clip_width, int x, int y);
    // The y of section n: the sum of the heights of the sections before it.
    int FindPositionByIndex(int n) const;
    // The section at document y, and the line within it for a text section (-1 else).
    struct LineAt {
        TSectionBase* Section = nullptr;
        int Line = -1;
    };
    LineAt FindLineAtPosition(int y);

  private:
    std::string base_font_name_ = "Times New Roman";
    std::string fixed_font_name_ = "Courier New";
    int base_font_size_ = 12;
    Color text_color_ = 0x000000;
    Color link_color_ = 0x0000FF;
    Color background_ = 0xFFFFFF;
    int char_set_ = 0;
    std::string back_image_name_;
    int scroll_y_ = 0;
    bool scroll_y_changed_ = false;
    bool timer_running_ = false;
    int layout_pass_ = 0;
    // After a layout: for each section, the lowest y reached by it or any section before
    // it, so that drawing starts at the first section a clip can show.
    std::vector<int> reach_;

    Canvas* screen_canvas_ = nullptr;
    mutable std::optional<TMyFont> measured_font_;
    mutable FontMetrics measured_metrics_;
    mutable TFontFaces font_faces_;
    mutable TLinkTable links_;
    TPrintMarks print_marks_;
    SectionTextStyles text_styles_;
    BoxTable side_boxes_;
    ControlHost* control_host_ = nullptr;

    std::vector<std::unique_ptr<ThtmlForm>> forms_;
    std::vector<TFormControlObj*> all_controls_;
    std::vector<std::unique_ptr<TMapItem>> image_maps_;
    std::unordered_map<std::string, TMapItem*> maps_by_key_;
    std::vector<std::string> image_uses_;
};

// A section's boxes are kept by its document (null: none).
inline const SectionBoxes* TSectionBase::Boxes() const {
    return Document ? Document->SideBoxes().Find(this) : nullptr;
}
inline SectionBoxes* TSectionBase::Boxes() {
    return Document ? Document->SideBoxes().FindMutable(this) : nullptr;
}
inline int TSectionBase::BoxTopRoom() const {
    const SectionBoxes* boxes = Boxes();
    return boxes ? boxes->TopRoom() : 0;
}
inline int TSectionBase::BoxBottomRoom() const {
    const SectionBoxes* boxes = Boxes();
    return boxes ? boxes->BottomRoom() : 0;
}
inline int TSectionBase::FlowTop() const {
    return LayoutY - BoxTopRoom();
}
inline int TSectionBase::FlowHeight() const {
    const SectionBoxes* boxes = Boxes();
    return boxes ? Height + boxes->TopRoom() + boxes->BottomRoom() : Height;
}

}  // namespace quillon
