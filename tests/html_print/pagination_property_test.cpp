// Pagination checked on generated documents: every word prints exactly once (a table's
// header words once more on each sheet the table continues on), whole, inside the page
// body and in document order; every PAGE break starts a sheet; nothing drawn overlaps; no
// sheet is empty unless the document is; counting makes as many sheets as printing.
//
// QUILLON_PAGINATION_SEED=N reruns one document and prints it with every fault found;
// QUILLON_PAGINATION_CASES=N sets how many documents are made.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "html/view/document_print.h"
#include "html/view/page_geometry.h"
#include "tests/html_print/document_generator.h"
#include "tests/html_print/print_test_support.h"
#include "tests/html_print/printed_sheets.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLON_PROPERTY_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QUILLON_PROPERTY_SANITIZED 1
#endif

namespace quillon::testing {
namespace {

struct PageSetup {
    const char* name;
    int width;
    int height;
    double margin_cm;
    int margin_width;
    bool repeat_headers;
};

// Pages wide enough for every generated line and table; bodies from 200 to 950 px high.
constexpr PageSetup kSetups[] = {
    {"480x320 no margins", 480, 320, 0, 0, true},
    {"560x200 no margins", 560, 200, 0, 0, true},
    {"640x480 1cm margins", 640, 480, 1.0, 10, false},
    {"800x1100 2cm margins", 800, 1100, 2.0, 10, true},
};

PrintSettings SettingsFor(const PageSetup& setup) {
    PrintSettings s;
    s.PrintMarginLeft = s.PrintMarginRight = setup.margin_cm;
    s.PrintMarginTop = s.PrintMarginBottom = setup.margin_cm;
    s.MarginWidth = setup.margin_width;
    s.RepeatTableHeaders = setup.repeat_headers;
    return s;
}

struct Fault {
    std::string kind;
    std::string detail;
};

// Where a token or image landed: from its first sheet and top to its last sheet and
// bottom.
struct Placement {
    bool placed = false;
    std::size_t first_sheet = 0, last_sheet = 0;
    int top = 0, bottom = 0, left = 0, right = 0;
};

struct Occurrence {
    std::size_t sheet;
    PrintedWord word;
};

std::string Where(std::size_t sheet, const Rect& r) {
    std::ostringstream s;
    s << "sheet " << sheet + 1 << " at " << r.left << "," << r.top;
    return s.str();
}

std::string SheetList(const std::set<std::size_t>& sheets) {
    std::string out = "{";
    for (const std::size_t s : sheets) out += (out.size() > 1 ? "," : "") + std::to_string(s + 1);
    return out + "}";
}

// The token number of a word, or -1 for other text (list numbers).
int TokenIndex(const std::string& word) {
    if (word.size() < 2 || word[0] != 'w') return -1;
    for (std::size_t i = 1; i < word.size(); ++i) {
        if (word[i] < '0' || word[i] > '9') return -1;
    }
    return std::atoi(word.c_str() + 1);
}

using CellPath = std::vector<std::pair<int, int>>;

// Two items in different cells of one table row may be drawn side by side.
bool SideBySide(const CellPath& a, const CellPath& b) {
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i].first != b[i].first) return false;
        if (a[i].second != b[i].second) return true;
    }
    return false;
}

class PrintCheck {
  public:
    PrintCheck(const GeneratedDocument& doc, const std::vector<PrintedSheet>& sheets,
               const PageGeometry& g, bool repeat_headers)
        : doc_(doc),
          sheets_(sheets),
          body_{g.Left, g.Top, g.Left + g.BodyWidth, g.Top + g.BodyHeight},
          repeat_(repeat_headers) {}

    std::vector<Fault> Run() {
        CollectWords();
        CheckWords();
        CheckHeaders();
        PlaceImages();
        CheckOrder();
        CheckPageBreaks();
        CheckOverlaps();
        CheckSheets();
        return std::move(faults_);
    }

  private:
    void Add(const std::string& kind, const std::string& detail) {
        faults_.push_back(Fault{kind, detail});
    }
    bool Inside(const Rect& r) const { return r.Intersect(body_) == r && !r.IsEmpty(); }

    void CollectWords() {
        occurrences_.resize(doc_.tokens.size());
        for (std::size_t s = 0; s < sheets_.size(); ++s) {
            for (const PrintedWord& w : sheets_[s].words) {
                const int i = TokenIndex(w.text);
                if (i < 0) continue;
                if (i >= static_cast<int>(doc_.tokens.size())) {
                    Add("stray", w.text + " is not in the document, " + Where(s, w.box));
                    continue;
                }
                occurrences_[static_cast<std::size_t>(i)].push_back(Occurrence{s, w});
            }
        }
    }

    // Whole, and once for words outside header rows.
    void CheckWords() {
        placements_.resize(doc_.order.size());
        for (std::size_t i = 0; i < doc_.tokens.size(); ++i) {
            const std::vector<Occurrence>& occ = occurrences_[i];
            const std::string name = TokenText(static_cast<int>(i));
            if (occ.empty()) {
                Add("missing", name + " is not printed");
                continue;
            }
            for (const Occurrence& o : occ) {
                if (o.word.clipped || !Inside(o.word.box)) {
                    Add("cut",
                        name + " is not whole inside the body, " + Where(o.sheet, o.word.box));
                }
            }
            if (!doc_.tokens[i].header && occ.size() > 1) {
                Add("twice", name + " printed " + std::to_string(occ.size()) + " times, " +
                                 Where(occ[0].sheet, occ[0].word.box) + " and " +
                                 Where(occ[1].sheet, occ[1].word.box));
            }
        }
    }

    // A header row prints where its table starts and, when repeating, at the top of each
    // further sheet holding rows of the table (words, or a slice of a picture in a row
    // taller than the sheet), above them; never twice on one sheet, nor alone on a sheet.
    // The header rows (at most half a body) give way on a sheet whose rows fit it only
    // without them: what the table shows there reaches over more than half the body.
    void CheckHeaders() {
        for (std::size_t t = 0; t < doc_.tables.size(); ++t) {
            if (doc_.tables[t].header_rows == 0) continue;
            std::set<std::size_t> body_sheets;
            std::map<std::size_t, std::pair<int, int>> body_extent;  // sheet -> top, bottom
            const auto body_at = [&](std::size_t sheet, const Rect& box) {
                body_sheets.insert(sheet);
                const auto [it, fresh] = body_extent.emplace(sheet, std::pair{box.top, box.bottom});
                it->second.first = std::min(it->second.first, box.top);
                it->second.second = std::max(it->second.second, box.bottom);
            };
            for (std::size_t i = 0; i < doc_.tokens.size(); ++i) {
                if (doc_.tokens[i].table != static_cast<int>(t) || doc_.tokens[i].header) continue;
                for (const Occurrence& o : occurrences_[i]) body_at(o.sheet, o.word.box);
            }
            for (const ImageInfo& image : doc_.images) {
                if (image.table != static_cast<int>(t)) continue;
                for (std::size_t s = 0; s < sheets_.size(); ++s) {
                    for (const PrintedImage& pi : sheets_[s].images) {
                        if (pi.box.Height() == image.height && !pi.shown.IsEmpty())
                            body_at(s, pi.shown);
                    }
                }
            }
            const auto crowded = [&](std::size_t sheet) {
                const auto& [top, bottom] = body_extent.at(sheet);
                return bottom - top > body_.Height() / 2;
            };
            for (std::size_t i = 0; i < doc_.tokens.size(); ++i) {
                if (doc_.tokens[i].table != static_cast<int>(t) || !doc_.tokens[i].header) continue;
                const std::vector<Occurrence>& occ = occurrences_[i];
                if (occ.empty()) continue;
                const std::string name = TokenText(static_cast<int>(i));
                std::set<std::size_t> sheets;
                for (const Occurrence& o : occ) {
                    if (!sheets.insert(o.sheet).second) {
                        Add("twice", "header word " + name + " printed twice on sheet " +
                                         std::to_string(o.sheet + 1));
                    }
                }
                // The header row starts on a sheet with the first rows below it, unless
                // they fit the next sheet only without it.
                const std::size_t first = *sheets.begin();
                const auto next = body_sheets.lower_bound(first);
                if (next != body_sheets.end() && *next != first &&
                    (*next != first + 1 || sheets.count(*next) > 0 || !crowded(*next))) {
                    Add("header", "header word " + name + " on sheet " + std::to_string(first + 1) +
                                      ", its rows from sheet " + std::to_string(*next + 1));
                }
                std::set<std::size_t> expected{first};
                for (const std::size_t s : body_sheets) {
                    if (repeat_ && (sheets.count(s) > 0 || !crowded(s))) expected.insert(s);
                }
                if (sheets != expected) {
                    Add("header", "header word " + name + " on sheets " + SheetList(sheets) +
                                      ", expected " + SheetList(expected) + " (rows on " +
                                      SheetList(body_sheets) + ")");
                }
                for (const Occurrence& o : occ) {
                    if (o.sheet == *sheets.begin()) continue;
                    const auto rows = body_extent.find(o.sheet);
                    if (rows != body_extent.end() && o.word.box.bottom > rows->second.first) {
                        Add("header", "repeated header word " + name + " is not above the rows, " +
                                          Where(o.sheet, o.word.box));
                    }
                }
            }
        }
    }

    // Images: the placeholder's box has the image's size, its slices add up to its height
    // exactly, each inside the body; an image no taller than the body is on one sheet
    // (with the words on its line, when their line fits the body too: else the words stay
    // whole and the picture is cut).
    void PlaceImages() {
        for (std::size_t k = 0; k < doc_.order.size(); ++k) {
            const SourceItem& item = doc_.order[k];
            Placement& p = placements_[k];
            if (item.kind == SourceItem::Kind::Token) {
                const std::vector<Occurrence>& occ =
                    occurrences_[static_cast<std::size_t>(item.index)];
                if (occ.empty()) continue;
                // The first print of a header word is its place in the flow.
                const Occurrence* first = &occ[0];
                for (const Occurrence& o : occ) {
                    if (o.sheet < first->sheet ||
                        (o.sheet == first->sheet && o.word.box.top < first->word.box.top)) {
                        first = &o;
                    }
                }
                p = Placement{true,
                              first->sheet,
                              first->sheet,
                              first->word.box.top,
                              first->word.box.bottom,
                              first->word.box.left,
                              first->word.box.right};
                continue;
            }
            const ImageInfo& image = doc_.images[static_cast<std::size_t>(item.index)];
            const std::string name =
                "image " + std::to_string(image.width) + "x" + std::to_string(image.height);
            int shown = 0;
            int slices = 0;
            for (std::size_t s = 0; s < sheets_.size(); ++s) {
                for (const PrintedImage& pi : sheets_[s].images) {
                    if (pi.box.Height() != image.height) continue;
                    if (pi.box.Width() != image.width) {
                        Add("image", name + " drawn " + std::to_string(pi.box.Width()) + " wide");
                    }
                    // The body's clip may leave a one-pixel rim for borders at its edges.
                    const Rect rim{body_.left - 1, body_.top - 1, body_.right + 1,
                                   body_.bottom + 1};
                    if (pi.shown.Intersect(rim) != pi.shown) {
                        Add("cut", name + " shows outside the body, " + Where(s, pi.shown));
                    }
                    shown += pi.shown.Intersect(body_).Height();
                    ++slices;
                    if (!p.placed) {
                        p = Placement{true,        s,           s, pi.shown.top, pi.shown.bottom,
                                      pi.box.left, pi.box.right};
                    }
                    p.last_sheet = s;
                    p.bottom = pi.shown.bottom;
                }
            }
            if (slices == 0) {
                Add("missing", name + " is not printed");
            } else if (shown != image.height) {
                Add("image", name + ": " + std::to_string(shown) + " px of it printed in " +
                                 std::to_string(slices) + " slices");
            } else if (image.height + (image.words_on_line ? kLineHeight : 0) <= body_.Height() &&
                       slices > 1) {
                Add("cut", name + " fits a page but is cut into " + std::to_string(slices));
            }
        }
    }

    // Consecutive items in source order: later sheets, or lower on the same sheet (to the
    // right on the same line), except for items in different cells of one row. A word
    // after an image on its line is beside the image's last slice.
    void CheckOrder() {
        std::optional<std::size_t> previous;
        for (std::size_t k = 0; k < doc_.order.size(); ++k) {
            if (!placements_[k].placed) continue;
            if (previous) {
                const std::size_t j = *previous;
                const SourceItem& a = doc_.order[j];
                const SourceItem& b = doc_.order[k];
                const bool words =
                    a.kind == SourceItem::Kind::Token && b.kind == SourceItem::Kind::Token;
                if (!SideBySide(Cells(a), Cells(b))) CheckPair(j, k, words);
            }
            previous = k;
        }
    }

    const CellPath& Cells(const SourceItem& item) const {
        const auto i = static_cast<std::size_t>(item.index);
        return item.kind == SourceItem::Kind::Token ? doc_.tokens[i].cells : doc_.images[i].cells;
    }

    void CheckPair(std::size_t j, std::size_t k, bool words) {
        const Placement& a = placements_[j];
        const Placement& b = placements_[k];
        bool ok = true;
        if (b.first_sheet != a.last_sheet) {
            ok = b.first_sheet > a.last_sheet;
        } else if (words && a.top == b.top) {
            ok = b.left >= a.right;
        } else if (doc_.order[j].kind == SourceItem::Kind::Image && b.top < a.bottom &&
                   b.bottom > a.top) {
            ok = b.left >= a.right;  // a word on the image's line
        } else {
            ok = b.top >= a.bottom;
        }
        if (!ok) {
            Add("order", Name(k) + " (" + Where(b.first_sheet, Rect{b.left, b.top}) +
                             ") comes after " + Name(j) + " (" +
                             Where(a.last_sheet, Rect{a.left, a.top}) + ") in the document");
        }
    }

    std::string Name(std::size_t k) const {
        const SourceItem& item = doc_.order[k];
        if (item.kind == SourceItem::Kind::Token) return TokenText(item.index);
        return "image " + std::to_string(doc_.images[static_cast<std::size_t>(item.index)].height) +
               " high";
    }

    // What follows a PAGE break is on a later sheet than what precedes it.
    void CheckPageBreaks() {
        for (const std::size_t at : doc_.page_breaks) {
            if (at == 0 || at >= doc_.order.size()) continue;
            const Placement& before = placements_[at - 1];
            const Placement& after = placements_[at];
            if (!before.placed || !after.placed) continue;
            if (after.first_sheet <= before.last_sheet) {
                Add("page-break", Name(at) + " follows a PAGE break but is on sheet " +
                                      std::to_string(after.first_sheet + 1) + " with " +
                                      Name(at - 1));
            }
        }
    }

    void CheckOverlaps() {
        for (std::size_t s = 0; s < sheets_.size(); ++s) {
            std::vector<std::pair<Rect, std::string>> boxes;
            for (const PrintedWord& w : sheets_[s].words) boxes.emplace_back(w.box, w.text);
            for (const PrintedImage& i : sheets_[s].images) {
                boxes.emplace_back(i.shown, "image " + std::to_string(i.box.Height()) + " high");
            }
            std::sort(boxes.begin(), boxes.end(),
                      [](const auto& x, const auto& y) { return x.first.top < y.first.top; });
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                for (std::size_t j = i + 1;
                     j < boxes.size() && boxes[j].first.top < boxes[i].first.bottom; ++j) {
                    if (!boxes[i].first.Intersect(boxes[j].first).IsEmpty()) {
                        Add("overlap", boxes[i].second + " and " + boxes[j].second +
                                           " overlap on " + Where(s, boxes[j].first));
                    }
                }
            }
        }
    }

    void CheckSheets() {
        if (doc_.order.empty()) {
            if (sheets_.size() != 1) {
                Add("count", "an empty document printed " + std::to_string(sheets_.size()) +
                                 " sheets, not one blank sheet");
            }
            return;
        }
        for (std::size_t s = 0; s < sheets_.size(); ++s) {
            if (sheets_[s].Empty())
                Add("empty-sheet", "sheet " + std::to_string(s + 1) + " is empty");
        }
    }

    const GeneratedDocument& doc_;
    const std::vector<PrintedSheet>& sheets_;
    const Rect body_;
    const bool repeat_;
    std::vector<std::vector<Occurrence>> occurrences_;
    std::vector<Placement> placements_;
    std::vector<Fault> faults_;
};

// Prints the document on one page set-up and checks what the sheets show.
// What each sheet shows, for a rerun of one document.
std::string SheetsText(const std::vector<PrintedSheet>& sheets) {
    std::string out;
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        out += "  sheet " + std::to_string(s + 1) + ":";
        for (const PrintedWord& w : sheets[s].words) {
            out += " " + w.text + "@" + std::to_string(w.box.left) + "," +
                   std::to_string(w.box.top) + (w.clipped ? "(clipped)" : "");
        }
        for (const PrintedImage& i : sheets[s].images) {
            out += " image" + std::to_string(i.box.Height()) + "@" + std::to_string(i.shown.top) +
                   "-" + std::to_string(i.shown.bottom);
        }
        out += "\n";
    }
    return out;
}

std::vector<Fault> PrintAndCheck(const GeneratedDocument& doc, const ShownDocument& shown,
                                 const PageSetup& setup, bool show_sheets = false) {
    const PrintSettings settings = SettingsFor(setup);
    RecordingTarget target(setup.width, setup.height);
    target.LogOnly = true;
    const PageGeometry g = ComputePageGeometry(target.Device(), settings);
    const PrintResult r = PrintDocument(shown.doc, settings, target, 1, 99999);
    const std::vector<PrintedSheet> sheets = ReadSheets(target);
    if (show_sheets) std::cout << setup.name << ":\n" << SheetsText(sheets);
    std::vector<Fault> faults = PrintCheck(doc, sheets, g, setup.repeat_headers).Run();
    RecordingTarget counter(setup.width, setup.height);
    const int counted = NumPrinterPages(shown.doc, settings, counter);
    if (counted != static_cast<int>(sheets.size()) || r.PagesPrinted != counted) {
        faults.push_back(Fault{"count", "counted " + std::to_string(counted) + " pages, printed " +
                                            std::to_string(r.PagesPrinted) + " on " +
                                            std::to_string(sheets.size()) + " sheets"});
    }
    return faults;
}

std::optional<long> EnvNumber(const char* name) {
    const char* v = std::getenv(name);
    if (v == nullptr || *v == '\0') return std::nullopt;
    return std::strtol(v, nullptr, 10);
}

int DefaultCases() {
#if defined(QUILLON_PROPERTY_SANITIZED)
    return 60;
#elif defined(NDEBUG)
    return 300;
#else
    return 120;
#endif
}

// Runs every page set-up over the documents of the seeds (`cases` of them unless the
// environment says otherwise) and reports, per kind of fault, which seeds fail, with the
// first faults of the first failing documents.
void RunSeeds(const GeneratorOptions& options, const std::string& what,
              int cases = DefaultCases()) {
    std::vector<std::uint64_t> seeds;
    const bool one = EnvNumber("QUILLON_PAGINATION_SEED").has_value();
    if (one) {
        seeds.push_back(static_cast<std::uint64_t>(*EnvNumber("QUILLON_PAGINATION_SEED")));
    } else {
        const long count = EnvNumber("QUILLON_PAGINATION_CASES").value_or(cases);
        for (long s = 1; s <= count; ++s) seeds.push_back(static_cast<std::uint64_t>(s));
    }
    // Per kind of fault: the prints ("seed/set-up") that show it and its first instance.
    std::map<std::string, std::vector<std::string>> failing;
    std::map<std::string, std::string> example;
    std::string details;
    for (const std::uint64_t seed : seeds) {
        const GeneratedDocument doc = GenerateDocument(seed, options);
        if (one) std::cout << "Document of seed " << seed << ":\n" << doc.html << "\n";
        const ShownDocument shown(doc.html);
        for (const PageSetup& setup : kSetups) {
            const std::vector<Fault> faults = PrintAndCheck(doc, shown, setup, one);
            const std::string print = std::to_string(seed) + "/" + setup.name;
            std::set<std::string> kinds;
            for (const Fault& f : faults) {
                if (kinds.insert(f.kind).second) failing[f.kind].push_back(print);
                example.emplace(f.kind, print + ": " + f.detail);
                if (one) details += "  " + print + ": " + f.kind + ": " + f.detail + "\n";
            }
        }
    }
    if (failing.empty()) return;
    std::string summary = what + ": faults in " + std::to_string(seeds.size()) + " documents\n";
    for (const auto& [kind, prints] : failing) {
        summary += "  " + kind + ": " + std::to_string(prints.size()) + " prints, e.g.";
        for (std::size_t i = 0; i < std::min<std::size_t>(prints.size(), 5); ++i) {
            summary += " [" + prints[i] + "]";
        }
        summary += "\n    first: " + example[kind] + "\n";
    }
    ADD_FAILURE() << summary << details
                  << "Rerun one with QUILLON_PAGINATION_SEED=<seed> to see its document, its "
                     "sheets and every fault.";
}

TEST(PaginationProperty, GeneratedDocumentsPrintEveryLineOnceWholeInOrderWithoutOverlaps) {
    RunSeeds(GeneratorOptions{}, "TH header rows");
}

// Header rows given by THEAD.
TEST(PaginationProperty, TheadRowsRepeatAsHeaderRows) {
    GeneratorOptions options;
    options.thead = true;
    RunSeeds(options, "THEAD header rows");
}

// Rows taller than a page beside words, empty nested tables, words on the line of a tall
// picture. Their documents print onto many more sheets: half as many of them.
TEST(PaginationProperty, TallRowsEmptyNestedTablesAndWordsBesidePictures) {
    GeneratorOptions options;
    options.tall_content = true;
    RunSeeds(options, "tall content", DefaultCases() / 2);
}

// Hand-made documents for the faults seen in reports, checked the same way.
struct ShapedCase {
    const char* name;
    GeneratedDocument (*make)();
};

class ReportShapedDocument : public ::testing::TestWithParam<ShapedCase> {};

TEST_P(ReportShapedDocument, PrintsWhole) {
    const GeneratedDocument doc = GetParam().make();
    const ShownDocument shown(doc.html);
    for (const PageSetup& setup : kSetups) {
        for (const Fault& f : PrintAndCheck(doc, shown, setup)) {
            ADD_FAILURE() << setup.name << ": " << f.kind << ": " << f.detail;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    PaginationProperty, ReportShapedDocument,
    ::testing::Values(
        ShapedCase{"ParagraphsAndTablesBetweenPageBreaks",
                   [] {
                       DocumentBuilder b;
                       for (int i = 0; i < 3; ++i) {
                           if (i > 0) b.PageBreak();
                           b.Paragraph(1);
                           if (i < 2) b.Table(TableShape{});
                       }
                       return b.Take();
                   }},
        // Report pages: heading, a 40-row table with a header row, PAGE; a break at the end.
        ShapedCase{"ReportPagesOfLongTables",
                   [] {
                       DocumentBuilder b;
                       TableShape t;
                       t.rows = 41;
                       t.columns = 4;
                       t.header = HeaderKind::ThRows;
                       t.header_rows = 1;
                       for (int page = 0; page < 3; ++page) {
                           b.Heading(2, 3);
                           b.Table(t);
                           b.PageBreak();
                       }
                       return b.Take();
                   }},
        // A picture taller than every page between lines, and a page break right after it.
        ShapedCase{"ATallPicture",
                   [] {
                       DocumentBuilder b;
                       b.BrokenLines(5, 2);
                       b.Image(100, 1500);
                       b.PageBreak();
                       b.BrokenLines(3, 1);
                       return b.Take();
                   }},
        // Header rows above rows taller than every page, the first right below them: the
        // header is drawn above each slice and never alone.
        ShapedCase{"HeaderRowsAboveRowsTallerThanEveryPage",
                   [] {
                       DocumentBuilder b;
                       b.Paragraph(2);
                       TableShape t;
                       t.rows = 3;
                       t.columns = 3;
                       t.header = HeaderKind::ThRows;
                       t.header_rows = 1;
                       t.image_percent = 100;
                       t.image_min = t.image_max = 1500;
                       b.Table(t);
                       return b.Take();
                   }},
        // Rows of a picture a little lower than the page body of each set-up: each prints
        // whole, without the header rows when it fits only without them.
        ShapedCase{"RowsThatFitAPageOnlyWithoutTheHeaderRows",
                   [] {
                       DocumentBuilder b;
                       for (const int height : {185, 300, 390, 930}) {
                           TableShape t;
                           t.rows = 3;
                           t.columns = 2;
                           t.header = HeaderKind::ThRows;
                           t.header_rows = 1;
                           t.border = t.padding = t.spacing = 0;
                           t.image_percent = 100;
                           t.image_min = t.image_max = height;
                           b.Table(t);
                       }
                       return b.Take();
                   }},
        // Words on the line of pictures taller than the page whose slices would end across
        // those words in one set-up or another.
        ShapedCase{"WordsOnTheLinesOfTallPictures",
                   [] {
                       DocumentBuilder b;
                       for (const int height : {205, 325, 410, 645, 953}) {
                           b.Image(40, height, 2);
                       }
                       return b.Take();
                   }},
        ShapedCase{"PicturesAsHighAsTheBody",
                   [] {
                       DocumentBuilder b;
                       for (const int height : {196, 198, 200, 316, 318, 320}) {
                           b.Image(40, height);
                       }
                       return b.Take();
                   }},
        ShapedCase{"AnEmptyDocument", [] { return DocumentBuilder().Take(); }},
        ShapedCase{"ADocumentOfOnePageBreak",
                   [] {
                       DocumentBuilder b;
                       b.PageBreak();
                       return b.Take();
                   }}),
    [](const ::testing::TestParamInfo<ShapedCase>& info) { return std::string(info.param.name); });

// The checks themselves see faults: a line drawn on two sheets, one cut by the body's
// bottom, one drawn over another, an empty sheet.
TEST(PaginationProperty, TheChecksFindFaultsInMadeUpSheets) {
    DocumentBuilder b;
    b.BrokenLines(3, 1);  // w0, w1, w2
    const GeneratedDocument doc = b.Take();
    PageGeometry g;
    g.Left = 0;
    g.Top = 0;
    g.BodyWidth = 400;
    g.BodyHeight = 40;
    const auto word = [](const char* text, int x, int y) {
        return PrintedWord{
            text, Rect{x, y, x + 8 * static_cast<int>(std::string(text).size()), y + kLineHeight},
            false};
    };
    const auto kinds = [&](const std::vector<PrintedSheet>& sheets) {
        std::set<std::string> out;
        for (const Fault& f : PrintCheck(doc, sheets, g, true).Run()) out.insert(f.kind);
        return out;
    };
    std::vector<PrintedSheet> good(2);
    good[0].words = {word("w0", 0, 0), word("w1", 0, 16)};
    good[1].words = {word("w2", 0, 0)};
    EXPECT_TRUE(kinds(good).empty());

    std::vector<PrintedSheet> twice = good;
    twice[1].words.insert(twice[1].words.begin(), word("w1", 0, 0));
    twice[1].words[1].box = twice[1].words[1].box.Offset(0, 16);
    EXPECT_EQ(kinds(twice), (std::set<std::string>{"twice"}));

    std::vector<PrintedSheet> cut = good;
    cut[0].words[1] = word("w1", 0, 30);
    EXPECT_EQ(kinds(cut), (std::set<std::string>{"cut"}));

    std::vector<PrintedSheet> over = good;
    over[0].words.push_back(word("1.", 8, 8));  // a list number drawn over w0
    EXPECT_EQ(kinds(over), (std::set<std::string>{"overlap"}));

    std::vector<PrintedSheet> backwards(2);
    backwards[0].words = {word("w0", 0, 0), word("w2", 0, 16)};
    backwards[1].words = {word("w1", 0, 0)};
    EXPECT_EQ(kinds(backwards), (std::set<std::string>{"order"}));

    std::vector<PrintedSheet> lost = good;
    lost[1].words.clear();
    EXPECT_EQ(kinds(lost), (std::set<std::string>{"missing", "empty-sheet"}));
}

// A table's header row is expected once more at the top of each sheet its rows continue on,
// when headers repeat, and once only when they do not.
TEST(PaginationProperty, TheChecksFollowRepeatedHeaderRows) {
    DocumentBuilder b;
    TableShape t;
    t.rows = 3;  // w0 in the header row, w1 and w2 below
    t.header = HeaderKind::ThRows;
    t.header_rows = 1;
    b.Table(t);
    const GeneratedDocument doc = b.Take();
    PageGeometry g;
    g.BodyWidth = 400;
    g.BodyHeight = 40;
    const auto word = [](const char* text, int y) {
        return PrintedWord{text, Rect{0, y, 16, y + kLineHeight}, false};
    };
    const auto kinds = [&](const std::vector<PrintedSheet>& sheets, bool repeat) {
        std::set<std::string> out;
        for (const Fault& f : PrintCheck(doc, sheets, g, repeat).Run()) out.insert(f.kind);
        return out;
    };
    std::vector<PrintedSheet> repeated(2);
    repeated[0].words = {word("w0", 0), word("w1", 16)};
    repeated[1].words = {word("w0", 0), word("w2", 16)};
    EXPECT_TRUE(kinds(repeated, true).empty());
    EXPECT_EQ(kinds(repeated, false), (std::set<std::string>{"header"}));

    std::vector<PrintedSheet> once(2);
    once[0].words = {word("w0", 0), word("w1", 16)};
    once[1].words = {word("w2", 0)};
    EXPECT_TRUE(kinds(once, false).empty());
    EXPECT_EQ(kinds(once, true), (std::set<std::string>{"header"}));

    // Drawn over the row it should stand above.
    std::vector<PrintedSheet> over = repeated;
    over[1].words[0] = word("w0", 10);
    EXPECT_EQ(kinds(over, true), (std::set<std::string>{"header", "overlap"}));
}

}  // namespace
}  // namespace quillon::testing
