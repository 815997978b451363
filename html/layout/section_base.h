#pragma once
// A block of the document: the abstract base of text sections, spacers, rules, page breaks
// and tables. Layout and drawing operations are virtual; the base versions give the
// results of a block without content.
// The README's glossary of inherited names explains this and its neighbours.

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "html/layout/box_style.h"
#include "html/layout/object_pool.h"
#include "html/layout/url_target.h"
#include "platform/core/canvas.h"

namespace quillon {

class TSectionList;
class IndentManager;
class SelTextCount;
class TFormControlObj;
class TInlineBlock;

struct MinMax {
    int Min = 0;
    int Max = 0;
    friend bool operator==(const MinMax&, const MinMax&) = default;
};

// A link hit: the link, and the image form control when an image button was clicked.
struct UrlHit {
    TUrlTarget Url;
    TFormControlObj* FormControl = nullptr;
};

// A caret position: the cursor index (-1: none) and the caret's place and height. Inside
// an inline block the index numbers the block's content; Blocks then holds the blocks
// around it, outermost first, each with the cursor index of its placeholder.
struct CursorHit {
    struct InBlock {
        TInlineBlock* Block = nullptr;
        int Placeholder = 0;
    };
    int Index = -1;
    int X = 0;
    int Y = 0;
    int Height = 0;
    std::vector<InBlock> Blocks;
};

class TSectionBase : public PooledObject {
  public:
    explicit TSectionBase(TSectionList* doc) : Document(doc) {}
    virtual ~TSectionBase();
    TSectionBase(const TSectionBase&) = delete;
    TSectionBase& operator=(const TSectionBase&) = delete;

    TSectionList* Document;  // the owning document (not owned)
    int Height = 0;          // pixels
    int PaintHeight = 0;     // height including overhanging floats
    int TopY = 0;            // document y of its top, set when drawn
    int LayoutY = 0;         // y of its top in its cell at the last layout
    int FirstCursor = 0;     // cursor index of its first character, set by layout

    // Number of characters (cursor positions) it holds.
    virtual int CharCount() const { return 0; }

    // A copy of this section for the document `doc` (printing works on a copy).
    virtual std::unique_ptr<TSectionBase> CreateCopy(TSectionList& doc) const = 0;
    // Appends the selected part of the section to the sink.
    virtual void CopyToClipboard(SelTextCount& sink) const;
    // Lays the section out at y; returns its height. Widens max_width to the widest line
    // and advances cursor past its characters.
    virtual int DrawLogic(Canvas& canvas, int y, IndentManager& im, int& max_width, int& cursor);
    // Paints the section (its top at document y, shown at screen y); returns the y below.
    virtual int Draw(Canvas& canvas, const Rect& clip, IndentManager& im, int x, int y);
    virtual std::optional<UrlHit> GetURL(Canvas& canvas, int x, int y);
    virtual CursorHit FindCursor(Canvas& canvas, int x, int y);
    // The cursor index of the next match at or after `from`, or -1.
    virtual int FindString(int from, std::u32string_view to_find, bool match_case,
                           char32_t replacement);
    virtual std::optional<Point> CursorToXY(Canvas& canvas, int cursor);
    virtual std::optional<char32_t> GetChAtPos(int pos) const;
    // Re-applies the document's font settings (and spacing).
    virtual void UpdateFonts();
    // Recomputes heights that follow the document's font size.
    virtual void UpdateSpacing() {}
    virtual MinMax MinMaxWidth(Canvas& canvas);
    virtual bool IfHTMLTable() const { return false; }
    virtual bool IfNewPage() const { return false; }

    // Joins a document (or a table cell of it) and recomputes its spacing.
    void SetParent(TSectionList* doc);

    // The block boxes around the section, outermost first (an empty list removes them).
    // The cell lays the section out inside their insets and leaves room for the top edges
    // of the boxes it starts above it (LayoutY is the content's top) and for the bottom
    // edges of the boxes it ends below it (Height is the content's height). The document
    // keeps them; a section without a document has none. section_list.h defines the
    // lookups, inline: for a document without boxes each is a test of an empty table.
    void SetBoxes(std::vector<BoxMembership> boxes);
    inline const SectionBoxes* Boxes() const;
    inline SectionBoxes* Boxes();
    inline int BoxTopRoom() const;
    inline int BoxBottomRoom() const;
    // The section's place in the flow of its cell: its content with the room of its boxes.
    inline int FlowTop() const;
    inline int FlowHeight() const;

  protected:
    // Copies the common fields of src (for CreateCopy).
    void CopyBase(const TSectionBase& src);

  private:
    [[gnu::cold]] void ChangeDocument(TSectionList* doc);
};

}  // namespace quillon
