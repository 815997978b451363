#pragma once
// The parser's working state and routines (internal to the parse_*.cpp files). One
// HtmlParser reads one document.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "html/layout/box_style.h"
#include "html/layout/column_style.h"
#include "html/layout/html_enums.h"
#include "html/layout/my_font.h"
#include "html/layout/section.h"
#include "html/layout/url_target.h"
#include "html/parse/html_tokenizer.h"
#include "html/parse/symb.h"
#include "html/tree/html_parser.h"

namespace quillon {

class TCell;
class ThtmlForm;
class TFormControlObj;
class ThtmlTable;
class TCellList;
class TCellObj;
class StyleTracker;
class StyledElement;
namespace css {
struct ComputedStyle;
}

// ALIGN=left/center/right, otherwise `dflt`.
JustifyType AlignAttribute(const TAttributeList& attrs, JustifyType dflt);

class HtmlParser {
  public:
    // Nesting limits: deeper opening tags are ignored, so no input can exhaust the stack.
    static constexpr int kMaxTables = 32;
    static constexpr int kMaxBlocks = 64;         // lists, blockquotes, CENTER and DIV
    static constexpr std::size_t kMaxFonts = 25;  // pushed fonts above the base font
    static constexpr std::size_t kFlushLength = 200;

    // `base_dir`: the document's folder, for the style sheet files it names (empty: none).
    HtmlParser(TSectionList& doc, TNameList& names, std::unique_ptr<ByteSource> source,
               std::string base_dir = {}, css::Medium medium = css::Medium::Screen);
    ~HtmlParser();

    THtmlParseResult ParseHtml();
    THtmlParseResult ParseText();

  private:
    // Runs `parse` and undoes its effects on the document and names when it throws.
    THtmlParseResult Guarded(const std::function<void()>& parse);
    void InitState();

    // Symbols.
    Symb Sy() const { return tok_.Sy(); }
    void Next() {
        tok_.NextSymbol();
        if (tok_.StyleHint()) StyledSymbol();
    }
    const TAttributeList& Attrs() const { return tok_.Attributes(); }

    // Sections.
    void StartSection(int level, JustifyType align);
    void StartSectionIfNone(int level) {
        if (!section_) StartSection(level, justify_);
    }
    void StartPreSection(int level);
    void AddSection();
    bool NothingProduced() const;

    // Fonts.
    TMyFont& Top() { return fonts_.back(); }
    bool PushFont();
    void PopFont();
    void PopFontsTo(std::size_t depth);
    void ChangeFont();
    bool FontRoutine(bool preformatted);
    void BigSmallRoutine(bool preformatted);
    void SetFixedPitch(TMyFont& font, int nominal);

    // Style (parse_style.cpp).
    enum class Tracked { Nothing, Opened, HiddenVoid };
    void StyledSymbol();
    void ReadNewSheets();
    Tracked TrackTag();
    Tracked SkipHidden(const StyledElement& hidden);
    void OpenStyled(std::string_view tag, const TAttributeList* attrs = nullptr);
    void CloseStyled();
    void CloseAllStyled();
    void AddPageBreak();
    struct OpenBox {
        std::shared_ptr<const BoxStyle> style;
        TCell* cell = nullptr;
        int first = 0;          // the index in cell of the first section it may hold
        std::size_t depth = 0;  // of its element in the tree
    };
    void CloseBox(const OpenBox& box);
    // Inline blocks (parse_inline_block.cpp): an element laid out as one box on the line
    // takes a place in the current section, and its content goes to the block's own cell
    // until it closes; then the section goes on after it.
    struct OpenInline {
        TInlineBlock* block = nullptr;
        TCell* outer_cell = nullptr;
        std::unique_ptr<TSection> outer_section;
        bool outer_named = false;
        JustifyType outer_justify = JustifyType::Left;
        std::size_t depth = 0;  // of its element in the tree
    };
    static constexpr std::size_t kMaxInlineBlocks = 16;  // nested deeper: laid out as inline
    // Whether the element `tag` (just opened in the tree, with style s) is read as an
    // inline block.
    bool ReadsAsInlineBlock(std::string_view tag, const css::ComputedStyle& s) const;
    void OpenInlineBlock(const css::ComputedStyle& s, BoxStyle box);
    void CloseInlineBlock();
    // Whether the innermost open element is an inline block (its routine adds no lines).
    bool InInlineBlockElement() const;
    // A block, floating image or table that clears floats starts a section that does.
    void ClearFloats(std::string_view tag, const css::ComputedStyle& s);
    // What the style of the image element just read says of its image.
    void StyleImageElement(TImageObj& image) const;
    struct TextLook {
        TMyFont font;
        TextStyleState style;
    };
    TextLook CurrentLook();
    void ChangeFontIfLookChanged(const TextLook& before);
    // The font and text style in effect: the font stack's top with what the style sheets
    // say of the open elements laid over it. A document without style takes the inline
    // branch only: these run for every section and link.
    const TMyFont& EffectiveFont() { return styles_ ? SheetFont() : Top(); }
    TextStyleState EffectiveStyle() const { return styles_ ? SheetTextStyle() : style_; }
    const TMyFont& SheetFont();
    TextStyleState SheetTextStyle() const;
    void ApplyFontStyle(TMyFont& f, const css::ComputedStyle& s) const;
    // ALIGN of `attrs` unless the style sheet aligns the element's text.
    JustifyType AlignFor(const TAttributeList& attrs, JustifyType dflt) const {
        return styles_ ? SheetAlign(attrs, dflt) : AlignAttribute(attrs, dflt);
    }
    JustifyType SheetAlign(const TAttributeList& attrs, JustifyType dflt) const;
    // What the style sheets give a table, a row and a cell (nothing without style).
    void StyleTable(ThtmlTable& table) const {
        if (styles_) SheetTable(table);
    }
    void StyleRow(TCellList& row) const {
        if (styles_) SheetRow(row);
    }
    void StyleCell(TCellObj& cell, ThtmlTable& table) const {
        if (styles_) SheetCell(cell, table);
    }
    // What the style sheets give the COLGROUP just opened or the COL just read (`tag`): a
    // width over its WIDTH and a background colour (nothing without style).
    void StyleColumn(ColumnStyle& col_style, std::string_view tag) const {
        if (styles_) SheetColumn(col_style, tag);
    }
    void SheetColumn(ColumnStyle& col_style, std::string_view tag) const;
    void SheetTable(ThtmlTable& table) const;
    void SheetRow(TCellList& row) const;
    void SheetCell(TCellObj& cell, ThtmlTable& table) const;
    // The space before a paragraph (heading: true, a heading) whose style gives margins:
    // the larger of its top margin and the bottom margin of the block before it, either
    // `dflt` when not given; nothing when neither is given.
    std::optional<int> MarginSpace(int dflt, bool heading);
    // The marker style sheets give a list (list-style-type), over its TYPE and PLAIN.
    void ListStyleOf(Symb list, char32_t& number_style, bool& plain) const;
    // Text in the case the style asks for (text-transform), its spaces and line ends kept
    // where white-space says so.
    void AddStyledText(const std::u32string& text);
    // Lines of a styled block (parse_text_style.cpp): the text style of a section being
    // started, from the innermost block around it.
    static bool IsBlockElement(const StyledElement& e);
    StyledElement* InnermostBlock();
    void StyleSection(TSection& section);
    // The tokenizer keeps spaces and line ends inside elements whose style keeps them.
    void KeepSpacesAsStyled();
    // Text whose spaces are kept; every line end starts a new line.
    void AddKeptText(std::u32string_view text);
    // A hidden cell keeps its room but paints no background or borders.
    static void HideCell(TCellObj& cell);

    // Links.
    void OpenLink(const TAttribute& href);
    void CloseLink();

    // Routines.
    void Body(int level, const SymbSet& term);
    static bool IsCommon(Symb s);
    void Common(int level);
    bool CommonAction(int level, bool preformatted);
    void ApplyBody();
    void Paragraph(int level);
    void LineBreak(int level);
    void HeadingStart(int level);
    void HeadingEnd();
    void MarkHeading();
    void StyleTag(Symb s);
    void Anchor(int level);
    void CenterDiv(int level, const SymbSet& term);
    bool ListRoutine(int level, Symb list, const SymbSet& term);
    void Preformatted(int level);
    void TableRoutine(int level);
    void OptionRoutine(TFormControlObj& control);
    void TextAreaRoutine(TFormControlObj& control);
    void MapRoutine();
    void FormControl(int level);

    TSectionList& doc_;
    TNameList& names_;
    HtmlTokenizer tok_;

    TCell* cell_ = nullptr;              // where finished sections go
    std::unique_ptr<TSection> section_;  // the section being filled (belongs to cell_)
    bool section_named_ = false;         // a NAME points at section_
    std::vector<TMyFont> fonts_;         // [0] is the base font
    // The heading being read: the cell and index of its first section, and its level.
    struct OpenHeading {
        TCell* cell = nullptr;
        int first = 0;
        int level = 0;
    };
    OpenHeading heading_;
    TUrlTarget link_;
    bool in_link_ = false;
    bool link_pushed_ = false;  // the link's font is on the stack
    JustifyType justify_ = JustifyType::Left;
    TextStyleState style_;
    ThtmlForm* form_ = nullptr;
    int base_font_size_ = 3;
    struct PreFont {
        std::string name;
        Color color;
        int nominal;
        bool fixed;
    };
    std::optional<PreFont> pre_font_;
    int tables_ = 0;
    int blocks_ = 0;
    THtmlParseResult result_;
    std::u32string title_;

    std::string base_dir_;
    css::Medium medium_ = css::Medium::Screen;
    std::unique_ptr<StyleTracker> styles_;  // made once the document shows style
    std::size_t sheet_read_ = 0;            // characters of tok_.StyleSheet() read
    std::size_t media_read_ = 0;            // tok_.StyleSheetMedia() parts passed
    std::vector<OpenBox> open_boxes_;
    std::vector<OpenInline> open_inline_;
    std::optional<int> pending_margin_;  // the bottom margin of the block just closed
    TMyFont effective_font_;  // what EffectiveFont() returns while the document has style
};

}  // namespace quillon
