#pragma once
// Where a laid-out document may be cut into printed pages. Read once from the layout: the
// spans that must stay whole on one page (text lines, pictures, rules, table rows), the
// forced breaks (PAGE), the tables that rather start on a new page than low on one, and the
// header rows of tables, which are drawn again at the top of every page a table continues
// on. Finding where a page ends is then a binary search, so cutting a document into pages
// takes time in proportion to its size.

#include <cstddef>
#include <vector>

namespace quillon {

class TCell;
class ThtmlTable;

// The header rows of a table: its THEAD rows, or else its leading rows of TH cells only.
struct RepeatedHeader {
    ThtmlTable* Table = nullptr;  // not owned
    int X = 0;                    // where the table is drawn, from the document's left edge
    int Top = 0;                  // the header rows, [Top, Bottom) in document y
    int Bottom = 0;
    int BodyBottom = 0;  // the bottom of the table's last row
    int Height() const { return Bottom - Top; }
};

class PageBreakMap {
  public:
    // Reads the document laid out `height` high. A table row no taller than `room` (the
    // page body's height) is kept whole; a taller one is cut between the lines of its
    // cells.
    PageBreakMap(const TCell& document, int height, int room);

    // The bottom of everything that prints (at least the document height).
    int End() const { return end_; }
    // Where a page that starts at `top` with `room` pixels of body ends: at the first
    // forced break more than 5 pixels below its top, else at the lowest place at most
    // `room` below its top that cuts nothing, moved up to the top of a table that starts
    // in the lower half and would fit on a page of its own; when what is there is taller
    // than the page (it is printed in slices), at the lowest place that cuts none of the
    // spans that fit a page (the lines of the cells beside a tall picture), else at
    // top + room; at End() when below `room` there is only space. Always more than `top`
    // while the document goes on.
    int PageEnd(int top, int room) const;
    // Whether a page may end at y without cutting a span.
    bool CutsNothing(int y) const;
    // Whether a page ending at y cuts a span that would fit on a page of its own.
    bool CutsFitting(int y) const;
    // Whether a span lies in [top, bottom), wholly or in part.
    bool PrintsBetween(int top, int bottom) const;

    // The forced breaks, in document y, in order.
    const std::vector<int>& ForcedBreaks() const { return forced_; }
    // The tables with header rows, by the top of their header rows.
    const std::vector<RepeatedHeader>& Headers() const { return headers_; }
    // The spans that stay whole, by their top.
    struct Span {
        int Top = 0;
        int Bottom = 0;
    };
    const std::vector<Span>& Spans() const { return all_.Spans(); }

  private:
    friend class PageBreakCollector;

    // Spans by their top, with what a cut at some y needs to know.
    class SpanIndex {
      public:
        // Sorts the spans and works out their reaches and runs.
        void Build(std::vector<Span> spans);
        const std::vector<Span>& Spans() const { return spans_; }
        // The lowest bottom of all spans (0 without spans).
        int Reach() const { return reach_.empty() ? 0 : reach_.back(); }
        // How many spans start above y.
        std::size_t SpansAbove(int y) const;
        bool CutsNothing(int y) const;
        bool PrintsBetween(int top, int bottom) const;
        // The top of the run of overlapping spans that holds y (y inside a span).
        int RunTop(int y) const;

      private:
        std::vector<Span> spans_;
        std::vector<int> reach_;    // the lowest bottom of spans_[0..i]
        std::vector<int> run_top_;  // the top of the run of overlapping spans holding spans_[i]
    };

    std::vector<Span> collected_;  // filled by the collector, then indexed
    SpanIndex all_;
    SpanIndex fitting_;  // the spans no taller than a page body
    std::vector<int> forced_;
    std::vector<Span> tables_;  // tables that are moved whole to a new page, by their top
    std::vector<RepeatedHeader> headers_;
    int end_ = 0;
};

}  // namespace quillon
