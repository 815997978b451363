#pragma once
// A block of text: the characters (with one placeholder character per image, form control
// and inline block), the font runs marked by position, the images, the form controls, the
// inline blocks and, after layout, the lines.
// The README's glossary of inherited names explains this and its neighbours.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "html/layout/font_obj.h"
#include "html/layout/html_enums.h"
#include "html/layout/image_obj.h"
#include "html/layout/inline_block.h"
#include "html/layout/inline_first_vector.h"
#include "html/layout/line_rec_list.h"
#include "html/layout/section_base.h"
#include "html/layout/section_text.h"
#include "html/layout/section_text_style.h"
#include "html/parse/html_attribute.h"
#include "html/parse/symb.h"

namespace quillon {

class TCell;
class ThtmlForm;
class TFormControlObj;

class TSection : public TSectionBase {
  public:
    // A section at list nesting `level`. Its first font run, at position 0, is a copy of
    // `font` with the style set of `style` added and its sub/superscript state; `link`
    // (may be null) is copied into that run.
    TSection(TSectionList& doc, int level, const TMyFont& font, const TUrlTarget* link,
             JustifyType align, const TextStyleState& style = {});

    int CharCount() const override { return static_cast<int>(text_.size()); }
    // The text in UTF-32 (a copy).
    std::u32string Text() const { return text_.str(); }
    char32_t CharAt(int i) const { return text_[static_cast<std::size_t>(i)]; }
    // The text as a UTF-32 view, valid until `scratch` changes (see TSectionText::View).
    std::u32string_view TextView(std::u32string& scratch) const { return text_.View(scratch); }
    // See TSectionText::Visit.
    template <class F>
    decltype(auto) VisitText(F&& f) const {
        return text_.Visit(std::forward<F>(f));
    }

    int NestLevel = 0;
    int LeftIndent() const { return kListIndent * NestLevel; }

    TFontList FontRuns;
    LineRecList LineList;  // rebuilt by layout

    // The images and form controls of the section, in text order, and where layout put
    // them. Most sections have none: the lists are allocated with the first image or
    // control, and read as empty lists before that.
    struct Inlines {
        TImageList Images;
        std::vector<TFormControlObj*> Controls;  // owned by their forms
        std::vector<std::unique_ptr<TInlineBlock>> Blocks;
        // Layout results, in the coordinates of the cell (x from its left edge, y as given
        // to DrawLogic): the box of every image (floats at their place), in Images order,
        // and the top-left corner of every form control and inline block, in the order of
        // Controls and Blocks.
        std::vector<Rect> ImageBoxes;
        std::vector<Point> ControlPlaces;
        std::vector<Point> BlockPlaces;
    };
    const TImageList& InlineImages() const {
        return inlines_ ? inlines_->Images : kNoInlines.Images;
    }
    const std::vector<TFormControlObj*>& InlineControls() const {
        return inlines_ ? inlines_->Controls : kNoInlines.Controls;
    }
    const std::vector<std::unique_ptr<TInlineBlock>>& InlineBlocks() const {
        return inlines_ ? inlines_->Blocks : kNoInlines.Blocks;
    }
    const std::vector<Point>& BlockPlaces() const {
        return inlines_ ? inlines_->BlockPlaces : kNoInlines.BlockPlaces;
    }
    const std::vector<Rect>& ImageBoxes() const {
        return inlines_ ? inlines_->ImageBoxes : kNoInlines.ImageBoxes;
    }
    const std::vector<Point>& ControlPlaces() const {
        return inlines_ ? inlines_->ControlPlaces : kNoInlines.ControlPlaces;
    }
    bool HasInlines() const { return inlines_ != nullptr; }
    // The lists for changing them, allocated on first use.
    Inlines& MutableInlines();

    // Appends text. Empty text is ignored; a leading space is dropped when the section is
    // empty, already ends in a space, or holds only floating image placeholders.
    virtual void AddText(std::u32string_view s);
    // Appends text as it is, every space kept (white-space: pre).
    void AppendKept(std::u32string_view s) { AppendRaw(s); }
    // Starts a run with `font` at the current end (or replaces the last run's font when it
    // starts there). The style set is added; sub- and superscript shrink the nominal size
    // to three quarters.
    void ChangeFont(const TMyFont& font, const TextStyleState& style);
    // B, STRONG / I, EM, CITE, VAR / U and their end tags set or clear a style on the run
    // at the current end.
    void ChangeStyle(Symb sym);
    // A link starts (ASy: `link` is copied into the new run) or ends (any other symbol).
    void HRef(Symb sym, const TUrlTarget& link, const TMyFont& font, const TextStyleState& style);
    // An IMG at the current end (placeholder 4).
    TImageObj& AddImage(const TAttributeList& attrs, TCell* cell);
    // An INPUT, SELECT or TEXTAREA at the current end (placeholder 2; INPUT TYPE=image also
    // adds its image). `form` is the current form; when null an implicit form is created
    // and stored there, so that following controls share it.
    TFormControlObj& AddFormControl(Symb tag, const TAttributeList& attrs, TCell* cell,
                                    ThtmlForm*& form);
    // An inline block at the current end (placeholder 3); its content is added to its Body.
    TInlineBlock& AddInlineBlock();
    // CLEAR=left, right, or anything else (all).
    void DoClearAttribute(const TAttributeList& attrs);
    // A section without text gets one space, so that an empty line still has height.
    void BreakInfo();

    std::unique_ptr<TSectionBase> CreateCopy(TSectionList& doc) const override;
    void CopyToClipboard(SelTextCount& sink) const override;
    int DrawLogic(Canvas& canvas, int y, IndentManager& im, int& max_width, int& cursor) override;
    int Draw(Canvas& canvas, const Rect& clip, IndentManager& im, int x, int y) override;
    std::optional<UrlHit> GetURL(Canvas& canvas, int x, int y) override;
    CursorHit FindCursor(Canvas& canvas, int x, int y) override;
    int FindString(int from, std::u32string_view to_find, bool match_case,
                   char32_t replacement) override;
    std::optional<Point> CursorToXY(Canvas& canvas, int cursor) override;
    std::optional<char32_t> GetChAtPos(int pos) const override;
    // The character ranges [first, second) of hidden runs (visibility: hidden), in order;
    // empty for most sections. Such text keeps its room but is not found nor copied.
    std::vector<std::pair<int, int>> HiddenRanges() const;
    void UpdateFonts() override;
    MinMax MinMaxWidth(Canvas& canvas) override;

    // A copy of src for doc: text, runs, images (form controls stay shared with src).
    TSection(TSectionList& doc, const TSection& src);

    // The marker drawn before the first line: the number of an ordered item ("3."), a
    // bullet (U+2022) for an unordered item, empty for none.
    virtual std::u32string MarkerText() const { return {}; }

  protected:
    void AppendRaw(std::u32string_view s) { text_.append(s); }
    bool OnlyFloatingImages() const;
    // Lays the text out into lines in its text style (TextStyleOf(), null: none); no_wrap
    // keeps every line whole (preformatted text).
    int LayoutText(Canvas& canvas, int y, IndentManager& im, int& max_width, int& cursor,
                   const SectionTextStyle* style, bool no_wrap);
    // Paints the list marker of the first line (list items).
    virtual void DrawMarker(Canvas& /*canvas*/, const LineRec& /*line*/, int /*line_x*/,
                            int /*line_top*/) {}

  private:
    TFontObj& RunAtEnd();

    static const Inlines kNoInlines;
    std::unique_ptr<Inlines> inlines_;
    [[no_unique_address]] TSectionText text_;

  public:
    // Declared after the text so that they take the padding at its end: a report has a
    // section for every table cell.
    ListTypeType ItemKind = ListTypeType::None;
    JustifyType BlockAlign = JustifyType::Left;
    ClearAttrType ClearMode = ClearAttrType::clrNone;
    // The number of its text style in the document's table (0: none, as without style).
    std::uint16_t TextStyle = 0;
    const SectionTextStyle* TextStyleOf() const;
};

// Preformatted text: one line of a PRE block or of a plain-text document. Text is kept as
// it is (no space folding) and never wraps.
class TPreFormated : public TSection {
  public:
    TPreFormated(TSectionList& doc, int level, const TMyFont& font, const TUrlTarget* link,
                 const TextStyleState& style = {});

    void AddText(std::u32string_view s) override;
    std::unique_ptr<TSectionBase> CreateCopy(TSectionList& doc) const override;
    int DrawLogic(Canvas& canvas, int y, IndentManager& im, int& max_width, int& cursor) override;
    MinMax MinMaxWidth(Canvas& canvas) override;

    TPreFormated(TSectionList& doc, const TPreFormated& src) : TSection(doc, src) {}
};

}  // namespace quillon
