#pragma once
// Tables: rows of cells, each cell a TCell of sections, with an optional caption.
// The README's glossary of inherited names explains this and its neighbours.

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "html/layout/box_style.h"
#include "html/layout/box_table.h"
#include "html/layout/cell.h"
#include "html/layout/column_style.h"
#include "html/layout/html_enums.h"
#include "html/layout/object_pool.h"
#include "html/layout/section_base.h"
#include "html/layout/section_list.h"
#include "html/parse/html_attribute.h"

namespace quillon {

// One cell of a table (TD or TH), or a placeholder made by span expansion.
class TCellObj : public PooledObject {
  public:
    // A cell read from TD/TH attributes (COLSPAN, ROWSPAN, WIDTH, HEIGHT, BGCOLOR).
    TCellObj(TSectionList& doc, AlignmentType valign, const TAttributeList& attrs);
    // A caption cell or a placeholder: no attributes, spans 1 x 1.
    TCellObj(TSectionList& doc, AlignmentType valign);
    // A copy of src (with copies of its sections) for doc.
    TCellObj(TSectionList& doc, const TCellObj& src);
    TCellObj(const TCellObj&) = delete;
    TCellObj& operator=(const TCellObj&) = delete;
    ~TCellObj();

    // A table holds one of these per cell: the body comes first and the two small fields
    // after it use the body's tail padding.
    [[no_unique_address]] TCell Body;
    bool WidthIsPercent = false;
    AlignmentType VertAlign = AlignmentType::Middle;
    // visibility: hidden: the cell keeps its room; neither its colour (nor its row's or its
    // table's), its picture nor its frame is painted.
    bool Hidden = false;

    int SpanCols = 1;  // 0 marks a placeholder cell
    int SpanRows = 1;
    int HeightValue = 0;  // HEIGHT in pixels, 0 when not given
    int WidthValue = 0;   // WIDTH, 0 when not given

    // The content's minimum and maximum width, remembered for one layout pass of the
    // document so that nested tables are measured once per pass.
    MinMax ContentWidths(Canvas& canvas);

    // Gives the cell a box of its own: its border and padding replace the table's cell
    // padding on every side, its background (when it has one) the cell's colour, and its
    // borders are drawn at the cell's edges instead of the table's 3D frame (null: the
    // table's padding and colours). Cells styled alike share the style's object.
    void SetBox(const BoxStyle& style);
    const CellBox* Box() const { return box_.get(); }
    CellBox* MutableBox() { return box_.get(); }

    // Layout results.
    int SpanWidth = 0;
    int SpanHeight = 0;
    int InnerHeight = 0;
    int InnerOffset = 0;

  private:
    int minmax_pass_ = -1;
    MinMax content_minmax_;
    // Kept by the cell: a report styled by a sheet gives most cells one, and layout and
    // drawing ask for it several times per cell.
    std::unique_ptr<CellBox> box_;
};

// One row of a table.
class TCellList {
  public:
    TCellList() = default;
    // A row read from TR attributes (only BGCOLOR is kept here; ALIGN and VALIGN are
    // applied by the parser to the row's cells).
    explicit TCellList(const TAttributeList& attrs);
    TCellList(const TCellList&) = delete;
    TCellList& operator=(const TCellList&) = delete;

    bool BkGnd = false;
    Color BkColor = 0;
    // Style's background picture of the row (null: none), tiled over the row and seen in
    // its cells; such a row paints its colour itself rather than handing it to its cells.
    std::shared_ptr<BoxPicture> Picture;
    // Read from the table's THEAD; a row that holds TH cells only. Header rows are drawn
    // again at the top of each printed sheet the table continues on.
    bool InHead = false;
    bool HasDataCell = false;
    int RowSize = 0;        // layout: the row's height
    int RowSpanHeight = 0;  // layout: tallest spanned height of its cells

    // Appends a cell (a null cell is a placeholder without a body: not allowed, use a
    // TCellObj with SpanCols 0).
    TCellObj& Add(std::unique_ptr<TCellObj> cell);
    // The cells themselves, for the grid expansion.
    std::vector<std::unique_ptr<TCellObj>>& MutableCells() { return cells_; }
    // Makes room for n cells.
    void Reserve(int n) { cells_.reserve(static_cast<std::size_t>(std::max(0, n))); }
    // Inserts a cell at index (span expansion).
    TCellObj& Insert(int index, std::unique_ptr<TCellObj> cell);
    int Count() const { return static_cast<int>(cells_.size()); }
    TCellObj& operator[](int i) { return *cells_[static_cast<std::size_t>(i)]; }
    const TCellObj& operator[](int i) const { return *cells_[static_cast<std::size_t>(i)]; }
    const std::vector<std::unique_ptr<TCellObj>>& Cells() const { return cells_; }

  private:
    std::vector<std::unique_ptr<TCellObj>> cells_;
};

// A table may have this many columns after span expansion; more raise EProcessError.
inline constexpr int kMaxColumns = 1000;
// Placeholder cells one table may need for its spans; more raise EProcessError.
inline constexpr long kMaxPlaceholderCells = 1'000'000;

// Column limits of a table: per column minimum, maximum and percentage, and the totals.
struct ColumnLimits {
    std::vector<int> Min, Max, Percent;
    // Columns whose cells give a pixel width, where the table spreads its width as browsers
    // do (empty otherwise): they grow to that width before the columns without one.
    std::vector<bool> Fixed;
    int TotalMin = 0;
    int TotalMax = 0;
    explicit ColumnLimits(int columns)
        : Min(static_cast<std::size_t>(columns)),
          Max(static_cast<std::size_t>(columns)),
          Percent(static_cast<std::size_t>(columns)) {}
    void Total();
};

class ThtmlTable : public TSectionBase {
  public:
    // A table read from TABLE attributes; `align` is the enclosing paragraph's alignment,
    // `enclosing` the cell the table is added to, `level` the list level.
    ThtmlTable(TSectionList& doc, const TAttributeList& attrs, JustifyType align, TCell* enclosing,
               int level);

    bool HasBorder = false;
    // The borders of adjacent cells are drawn once, the wider where they meet, and the
    // cells have no spacing between them (Spacing becomes 0 when the grid is built).
    bool CollapseBorders = false;
    int Padding = 2;
    int Spacing = 3;
    int WidthValue = 0;  // WIDTH, 0 when not given
    bool WidthIsPercent = false;
    // The innermost of the table section's boxes holds the table's own margins (from
    // style); a percentage width is of the room outside them, as in browsers.
    bool OwnMargins = false;
    // Style's min-width and max-width of the whole table (borders and spacing included).
    std::optional<BoxLength> MinWidth, MaxWidth;
    // Some cell's padding, min-width or max-width is a percentage of the table's width:
    // layout works out the columns without them, resolves them against the width that
    // gives and works out the columns again, so that the cells keep their content inside.
    bool CellPercentages = false;
    // A specified width is spread over the columns as browsers do: columns without a width
    // first reach their maximum widths, then share the rest by those (documents with style).
    bool SpreadAsBrowsers = false;
    JustifyType BlockAlign = JustifyType::Left;
    AlignmentType Floating = AlignmentType::ANone;  // ALeft or ARight when it floats
    bool HasBackColor = false;
    Color BackColor = 0;
    // Style's background picture of the table (null: none), tiled over the table without
    // its caption, under the cells; such a table paints its colour there itself rather than
    // handing it to its cells.
    std::shared_ptr<BoxPicture> Picture;
    bool HasEdgeColor = false;
    Color EdgeColor = 0;
    // visibility: hidden: the table keeps its room; its frame and border colour are not
    // painted (its cells say for themselves).
    bool Hidden = false;
    int SideSpace = 5;
    int NestLevel = 0;
    TCell* EnclosingCell = nullptr;  // not owned
    std::vector<std::unique_ptr<TCellList>> RowList;
    std::unique_ptr<TCellObj> CaptionCell;
    bool CaptionOnTop = true;
    // What COL and COLGROUP give their columns, in column order. A cell of one column
    // without a WIDTH of its own takes its column's width (Value 0: none given). A cell
    // without a colour of its own or its row's takes its column's over the table's.
    std::vector<ColumnStyle> ColStyles;
    // The colour COL or COLGROUP gave column c (null: none).
    const Color* ColumnColour(int c) const {
        if (c < 0 || c >= static_cast<int>(ColStyles.size())) return nullptr;
        const ColumnStyle& col_style = ColStyles[static_cast<std::size_t>(c)];
        return col_style.HasBack ? &col_style.Back : nullptr;
    }

    // Layout state.
    bool Prepared = false;
    std::string GridError;  // why the grid could not be built (raised again on each use)
    bool HasAbsWidths = false;
    int ColumnCount = 0;
    std::vector<int> ColumnWidths;
    std::vector<int> ColumnPercents;
    int BodyWidth = 0;
    int BlockWidth = 0;
    int BlockIndent = 0;
    int BodyIndent = 0;
    int CaptionSpace = 0;
    int BodyHeight = 0;
    int CaptionNarrowest = 0;
    int DrawX = 0;
    int DrawY = 0;
    int DrawHeight = 0;  // the whole table with its caption (a floating table's Height is 0)

    // Builds the grid once: spans become placeholder cells, backgrounds are inherited.
    // EProcessError when the grid would exceed kMaxColumns or kMaxPlaceholderCells.
    void AddDummyCells();
    // Column limits from pixel cell widths (percentages ignored).
    ColumnLimits GetMinMaxAbs(Canvas& canvas);
    // Column widths for `target` from limits of GetMinMaxAbs.
    void GetWidthsAbs(const ColumnLimits& limits, int target, bool specified);
    // Column limits with percentages; `the_width` (0: unknown) turns pixel cell widths
    // into percentages.
    ColumnLimits GetWidths(Canvas& canvas, int the_width);
    // Column widths that fill a specified table width over percentage columns.
    void SpreadSpecifiedWidth(const ColumnLimits& limits, int the_width);
    // The same as browsers spread it, when the width is more than the columns' minimums.
    void SpreadLikeBrowsers(const ColumnLimits& limits, int the_width);
    // The table's `width` with min-width and max-width (percentages of `room`) applied;
    // `specified` becomes true when min-width widens it beyond its content.
    int LimitWidth(Canvas& canvas, int room, int width, bool& specified);
    // Narrows a cell's maximum width (with its added width) to its max-width and widens
    // both to its min-width, where the cell's style gives them (percentages once resolved).
    void LimitCell(const TCellObj& cell, int added, int& min, int& max) const;
    // The added width of a cell: padding on both sides and one spacing.
    int AddedWidth() const { return 2 * Padding + Spacing - 1; }
    // The room between a cell's edge and its content on one side: the table's padding, or
    // the cell's own border and padding.
    int CellRoom(const TCellObj& cell, BoxSide side) const { return CellRoom(cell.Box(), side); }
    int CellRoom(const CellBox* box, BoxSide side) const {
        return box ? box->Edges[side].Room() + box->Padding[side] : Padding;
    }
    // The added width and height of a cell: its room on both sides and one spacing.
    int AddedWidth(const TCellObj& cell) const {
        const CellBox* box = cell.Box();
        return box ? CellRoom(box, kBoxLeft) + CellRoom(box, kBoxRight) + Spacing - 1
                   : AddedWidth();
    }
    int AddedHeight(const TCellObj& cell) const {
        const CellBox* box = cell.Box();
        return box ? CellRoom(box, kBoxTop) + CellRoom(box, kBoxBottom) + Spacing - 1
                   : AddedWidth();
    }

    TCellList& AddRow(std::unique_ptr<TCellList> row);

    int CharCount() const override;
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
    void UpdateFonts() override;
    MinMax MinMaxWidth(Canvas& canvas) override;
    bool IfHTMLTable() const override { return true; }

    // Every cell in order: the caption first when on top, rows left to right, the caption
    // last when at the bottom. Placeholders are skipped.
    template <class F>
    void ForEachCell(F&& f) const;

    // A copy of src (with copies of every cell) for doc.
    ThtmlTable(TSectionList& doc, const ThtmlTable& src);

  private:
    void ExpandGrid();
    // Where borders collapse: of two cells' facing borders only the wider is drawn.
    void CollapseCellEdges();
    void ApplyColumnStyles();
    // Cells without a colour of their own or their row's take their column's, else the
    // table's (after the grid is built, when a cell's column is known).
    void TakeColumnColours();
    // Column widths, the table's widths and the row heights for `available` pixels;
    // percentages of the table's width, min-width and max-width are of `room`.
    void ColumnsAndRows(Canvas& canvas, int available, int room);
    // The column widths for a table `width` pixels wide (spacing excluded) whose width is
    // `specified` or else the content's within that room.
    void SpreadColumns(Canvas& canvas, int width, bool specified);
    // Column limits for the table's minimum and maximum widths.
    ColumnLimits IntrinsicLimits(Canvas& canvas);
    // Resolves the cells' percentages against a table BodyWidth pixels wide (negative: they
    // count as nothing), less its outer spacing as in browsers.
    void ResolveCellPercentages(int body_width);
    // Column widths when the table has no WIDTH and percentage columns fit or are fitted.
    // Returns true when the widths are final.
    bool FitPercentages(ColumnLimits& limits, int width);
    // Row heights: lays out cells by row span at y 0 (cursor indices are not kept).
    void RowHeights(Canvas& canvas, std::vector<int>& heights);
    // Paints `part` of the table's background over `area` (a table with a picture): its
    // colour and the picture tiled from the area's corner.
    void PaintBackground(Canvas& canvas, const Rect& area, const Rect& part) const;
    // Paints `part` (one cell's, in column `column`) of a row with a picture whose box is
    // `area`.
    void PaintRowBackground(Canvas& canvas, const TCellList& row, int column, const Rect& area,
                            const Rect& part) const;
    // The cell under a point in layout coordinates and its content origin, or null.
    TCellObj* CellAt(int x, int y, int& content_x);
    int minmax_pass_ = -1;
    MinMax minmax_;
    // Column widths and row heights depend only on the room given: within one layout pass
    // a second layout for the same room (a nested table laid out for its row heights, then
    // in its place) reuses them, so that cost grows with the depth, not 2 to its power.
    int grid_pass_ = -1;
    int grid_room_ = -1;
    int percent_base_ = -1;  // the BodyWidth the cells' percentages are resolved against
    std::vector<int> row_heights_;
};

template <class F>
void ThtmlTable::ForEachCell(F&& f) const {
    if (CaptionCell && CaptionOnTop) f(*CaptionCell);
    for (const auto& row : RowList) {
        for (const auto& cell : row->Cells()) {
            if (cell->SpanCols > 0) f(*cell);
        }
    }
    if (CaptionCell && !CaptionOnTop) f(*CaptionCell);
}

}  // namespace quillon
