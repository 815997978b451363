#include "html/layout/page_breaks.h"

#include <algorithm>
#include <type_traits>

#include "html/layout/cell.h"
#include "html/layout/html_table.h"
#include "html/layout/image_obj.h"
#include "html/layout/section.h"
#include "html/layout/spacer_sections.h"

namespace quillon {

namespace {

// Leading rows that repeat: the THEAD rows when the table starts with them, else the rows
// of TH cells only. A table that is all header repeats nothing.
std::size_t HeaderRowCount(const ThtmlTable& t) {
    const auto& rows = t.RowList;
    std::size_t n = 0;
    if (!rows.empty() && rows.front()->InHead) {
        while (n < rows.size() && rows[n]->InHead) ++n;
    } else {
        while (n < rows.size() && !rows[n]->HasDataCell && rows[n]->Count() > 0) ++n;
    }
    return n < rows.size() ? n : 0;
}

}  // namespace

class PageBreakCollector {
  public:
    explicit PageBreakCollector(PageBreakMap& map) : map_(map) {}

    void Cell(const TCell& cell, int x, int room) {
        for (const auto& s : cell.Sections()) Section(*s, x, room);
    }

  private:
    void Span(int top, int bottom) {
        if (bottom > top) map_.collected_.push_back({top, bottom});
    }

    void Section(TSectionBase& s, int x, int room) {
        if (auto* table = dynamic_cast<ThtmlTable*>(&s)) {
            Table(*table, x, room);
        } else if (const auto* text = dynamic_cast<const TSection*>(&s)) {
            Text(*text, x, room);
        } else if (s.IfNewPage()) {
            map_.forced_.push_back(s.LayoutY);
        } else if (dynamic_cast<const THorzLine*>(&s)) {
            Span(s.LayoutY, s.LayoutY + s.Height);
        }
    }

    void Text(const TSection& s, int x, int room) {
        int y = s.LayoutY;
        for (const LineRec& line : s.LineList) {
            const int advance = line.Advance();
            Span(y, y + advance);
            // The text of a line made tall by a picture: a slice of the line ends above it
            // rather than through its words.
            if (line.ExtraAbove > 0 || line.ExtraBelow > 0) {
                Span(y + line.ExtraAbove, y + line.ExtraAbove + line.TextHeight);
            }
            y += advance;
        }
        const auto& images = s.InlineImages();
        const auto& boxes = s.ImageBoxes();
        for (std::size_t i = 0; i < images.size() && i < boxes.size(); ++i) {
            if (images[i]->Floating()) Span(boxes[i].top, boxes[i].bottom);
        }
        // An inline block stays whole with its line; one taller than a page is cut between
        // the lines inside it.
        const auto& places = s.BlockPlaces();
        for (std::size_t i = 0; i < s.InlineBlocks().size() && i < places.size(); ++i) {
            Cell(s.InlineBlocks()[i]->Body, x + places[i].x, room);
        }
    }

    void Table(ThtmlTable& t, int x, int room) {
        if (t.DrawHeight <= 0) return;
        if (t.DrawHeight < room) map_.tables_.push_back({t.LayoutY, t.LayoutY + t.DrawHeight});
        if (t.CaptionCell && t.CaptionOnTop) Cell(t.CaptionCell->Body, x, room);

        const int body_x = x + t.BodyIndent;
        const int body_y = t.LayoutY + (t.CaptionOnTop ? t.CaptionSpace : 0);
        const std::size_t head_rows = HeaderRowCount(t);
        // A cell's box starts below the spacing and reaches one pixel into the row below
        // (where that row's spacing is); without spacing the rows share that pixel row.
        const int box_top = t.Spacing;
        const int box_below = std::min(t.Spacing, 1);
        int row_y = body_y;
        int head_bottom = body_y;
        for (std::size_t r = 0; r < t.RowList.size(); ++r) {
            const TCellList& row = *t.RowList[r];
            if (r < head_rows) {
                head_bottom = std::max(head_bottom, row_y + RowReach(row) + box_below);
            }
            row_y += row.RowSize;
        }
        // Header rows fill at most half a page, so that every page moves the table on.
        const bool repeats = head_rows > 0 && head_bottom - body_y <= room / 2;
        if (repeats) {
            map_.headers_.push_back(RepeatedHeader{&t, x, body_y, head_bottom, row_y});
        }

        row_y = body_y;
        for (std::size_t r = 0; r < t.RowList.size(); ++r) {
            const TCellList& row = *t.RowList[r];
            const int reach = RowReach(row);
            if (reach <= room) {
                // A row that shows nothing (no content, frame or background) holds no
                // page on its own. One that fits a page only without the repeated header
                // rows is still kept whole: its page goes without them.
                if (RowShows(t, row)) Span(row_y + box_top, row_y + reach + box_below);
            } else {
                // Too tall for a page: cut between the lines of its cells.
                int cx = body_x;
                for (int c = 0; c < row.Count(); ++c) {
                    const TCellObj& cell = row[c];
                    if (cell.SpanCols > 0)
                        Cell(cell.Body, cx + t.Spacing + t.CellRoom(cell, kBoxLeft), room);
                    if (c < t.ColumnCount) cx += t.ColumnWidths[static_cast<std::size_t>(c)];
                }
            }
            // The header stays with the first row below it, or with the first slice of
            // that row when it is taller than a page.
            if (repeats && r == head_rows) {
                Span(body_y + box_top, row_y + reach + box_below);
            }
            row_y += row.RowSize;
        }
        if (t.CaptionCell && !t.CaptionOnTop) Cell(t.CaptionCell->Body, x, room);
    }

    static int RowReach(const TCellList& row) { return std::max(row.RowSize, row.RowSpanHeight); }

    // Whether anything of the row is drawn: a frame or background, or a cell's content.
    static bool RowShows(const ThtmlTable& t, const TCellList& row) {
        if (t.HasBorder || t.HasBackColor || t.HasEdgeColor || t.Picture || row.BkGnd ||
            row.Picture) {
            return true;
        }
        for (const auto& cell : row.Cells()) {
            if (cell->SpanCols <= 0) continue;
            const CellBox* box = cell->Box();
            if (cell->Body.BkGnd ||
                (box && (box->HasEdges() || box->Style->Background || box->Style->Picture))) {
                return true;
            }
            for (const auto& s : cell->Body.Sections()) {
                if (SectionShows(*s)) return true;
            }
        }
        return false;
    }

    static bool SectionShows(const TSectionBase& s) {
        if (const auto* table = dynamic_cast<const ThtmlTable*>(&s)) {
            if (table->HasBorder || table->HasBackColor || table->HasEdgeColor || table->Picture)
                return true;
            if (table->CaptionCell) return true;
            for (const auto& row : table->RowList) {
                if (RowShows(*table, *row)) return true;
            }
            return false;
        }
        if (const auto* text = dynamic_cast<const TSection*>(&s)) {
            if (!text->InlineImages().empty()) return true;
            // Blanks alone draw nothing.
            return text->VisitText([](auto part) {
                for (const auto c : part) {
                    const auto u =
                        static_cast<char32_t>(static_cast<std::make_unsigned_t<decltype(c)>>(c));
                    if (u != U' ' && u != 0xA0) return true;
                }
                return false;
            });
        }
        return s.Height > 0;  // rules, form controls and the like
    }

    PageBreakMap& map_;
};

PageBreakMap::PageBreakMap(const TCell& document, int height, int room) {
    PageBreakCollector(*this).Cell(document, 0, room);
    const auto by_top = [](const Span& a, const Span& b) { return a.Top < b.Top; };
    std::vector<Span> fitting;
    for (const Span& s : collected_) {
        if (s.Bottom - s.Top <= room) fitting.push_back(s);
    }
    all_.Build(std::move(collected_));
    collected_.clear();
    fitting_.Build(std::move(fitting));
    std::stable_sort(tables_.begin(), tables_.end(), by_top);
    std::sort(forced_.begin(), forced_.end());
    std::stable_sort(
        headers_.begin(), headers_.end(),
        [](const RepeatedHeader& a, const RepeatedHeader& b) { return a.Top < b.Top; });
    end_ = std::max(height, all_.Reach());
    if (!forced_.empty()) end_ = std::max(end_, forced_.back());
}

void PageBreakMap::SpanIndex::Build(std::vector<Span> spans) {
    spans_ = std::move(spans);
    std::stable_sort(spans_.begin(), spans_.end(),
                     [](const Span& a, const Span& b) { return a.Top < b.Top; });
    reach_.resize(spans_.size());
    run_top_.resize(spans_.size());
    int reach = 0;
    for (std::size_t i = 0; i < spans_.size(); ++i) {
        // A span that starts where every span above has ended starts a run.
        const bool starts_run = i == 0 || reach <= spans_[i].Top;
        run_top_[i] = starts_run ? spans_[i].Top : run_top_[i - 1];
        reach = std::max(reach, spans_[i].Bottom);
        reach_[i] = reach;
    }
}

std::size_t PageBreakMap::SpanIndex::SpansAbove(int y) const {
    return static_cast<std::size_t>(
        std::lower_bound(spans_.begin(), spans_.end(), y,
                         [](const Span& s, int v) { return s.Top < v; }) -
        spans_.begin());
}

bool PageBreakMap::SpanIndex::CutsNothing(int y) const {
    // The spans starting above y all end at or above it.
    const std::size_t n = SpansAbove(y);
    return n == 0 || reach_[n - 1] <= y;
}

bool PageBreakMap::SpanIndex::PrintsBetween(int top, int bottom) const {
    const std::size_t n = SpansAbove(bottom);
    return n > 0 && reach_[n - 1] > top;
}

int PageBreakMap::SpanIndex::RunTop(int y) const {
    const std::size_t n = SpansAbove(y);
    return n == 0 ? y : run_top_[n - 1];
}

bool PageBreakMap::CutsNothing(int y) const {
    return all_.CutsNothing(y);
}

bool PageBreakMap::CutsFitting(int y) const {
    return !fitting_.CutsNothing(y);
}

bool PageBreakMap::PrintsBetween(int top, int bottom) const {
    return all_.PrintsBetween(top, bottom);
}

int PageBreakMap::PageEnd(int top, int room) const {
    room = std::max(room, 1);
    const int limit = top + room;
    // A forced break ends the page, unless it lies at the page's top: no more than 5 pixels
    // below it with nothing printed above it (the last few pixels of a slice are).
    auto forced = std::upper_bound(forced_.begin(), forced_.end(), top);
    while (forced != forced_.end() && *forced <= top + 5 && !all_.PrintsBetween(top, *forced)) {
        ++forced;
    }
    if (forced != forced_.end() && *forced <= limit) return *forced;
    // Where the page would end at the latest without a break: the next forced break or the
    // document's end.
    const int stop = forced != forced_.end() ? *forced : end_;
    if (limit >= stop) return stop;

    int end = limit;
    if (!all_.CutsNothing(limit)) {
        // The page ends above the spans it would cut.
        const int run = all_.RunTop(limit);
        if (run > top) {
            end = run;
        } else if (!fitting_.CutsNothing(limit)) {
            // The run is taller than a page: a slice, which ends above the lines beside
            // the tall part that it would cut, unless they too fill the page.
            const int lines = fitting_.RunTop(limit);
            if (lines > top) end = lines;
        }
    } else {
        // Between here and the stop there is only space and the ends of frames: they make
        // no page of their own.
        const std::size_t next = all_.SpansAbove(limit);
        if (next == all_.Spans().size() || all_.Spans()[next].Top >= stop) return stop;
    }
    // A table that starts in the lower half of the page, would be cut at its end and fits
    // on a page of its own starts the next page.
    auto t = std::upper_bound(tables_.begin(), tables_.end(), top + room / 2,
                              [](int v, const Span& s) { return v < s.Top; });
    for (; t != tables_.end() && t->Top < end; ++t) {
        if (t->Bottom > end && t->Bottom - t->Top < room && all_.CutsNothing(t->Top)) {
            end = t->Top;
            break;
        }
    }
    return end;
}

}  // namespace quillon
