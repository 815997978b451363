#pragma once
// Documents for pagination checks, made from a seed: paragraphs, headings, lists, PRE
// blocks, tables (with and without header rows, nested ones, empty nested ones, rows made
// taller than a page by a picture beside words), placeholder images (some with words on
// their line) and PAGE breaks. Every word is a token of its own ("w0", "w1", ...) so that each word
// drawn on a sheet maps back to its place in the source; the builder records, per token, the table
// and row it sits in, and the source order of tokens, images and page breaks.
//
// The random numbers come from a generator of our own (splitmix64), so that a seed makes
// the same document with every standard library.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quillon::testing {

// A small deterministic random source.
class SeededRandom {
  public:
    explicit SeededRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // A number in [lo, hi].
    int Between(int lo, int hi) {
        return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    // True with probability percent / 100.
    bool Chance(int percent) { return Between(1, 100) <= percent; }

  private:
    std::uint64_t state_;
};

// Where a token sits.
struct TokenInfo {
    // The outermost table holding it (index into GeneratedDocument::tables), -1 outside
    // tables.
    int table = -1;
    // In a header row of that table.
    bool header = false;
    // From the outermost table inwards: (row id, cell index) of each table cell holding it.
    // Two tokens in different cells of one row may be drawn side by side.
    std::vector<std::pair<int, int>> cells;
};

struct ImageInfo {
    int width = 0;
    int height = 0;  // unique within the document: it names the image on the sheets
    // The table cells holding it, as for a token.
    std::vector<std::pair<int, int>> cells;
    // The outermost table holding it, as for a token.
    int table = -1;
    // Words follow it on its line, whose text may reach below its bottom.
    bool words_on_line = false;
};

struct TableInfo {
    int header_rows = 0;  // rows that are repeated where the table continues on a sheet
};

// One thing in source order: a token or an image.
struct SourceItem {
    enum class Kind { Token, Image } kind = Kind::Token;
    int index = 0;  // into tokens or images
};

struct GeneratedDocument {
    std::uint64_t seed = 0;
    std::string html;
    std::vector<TokenInfo> tokens;  // token i is the word "w<i>"
    std::vector<ImageInfo> images;
    std::vector<TableInfo> tables;
    std::vector<SourceItem> order;
    // For each PAGE break: the number of items of `order` before it.
    std::vector<std::size_t> page_breaks;
};

inline std::string TokenText(int index) {
    return "w" + std::to_string(index);
}

enum class HeaderKind {
    None,
    ThRows,  // leading rows made only of TH cells
    Thead,   // the rows of a THEAD
};

struct TableShape {
    int rows = 1;
    int columns = 1;
    HeaderKind header = HeaderKind::None;
    int header_rows = 0;  // with a header kind: how many of the leading rows
    int border = 1;
    int padding = 2;
    int spacing = 2;
    bool full_width = false;
    int max_words_per_cell = 1;
    // Per cent of body rows whose first cell holds a small nested table, and per cent of
    // those that are empty (no rows).
    int nested_percent = 0;
    int empty_nested_percent = 0;
    // Per cent of body rows of two or more columns whose last cell holds a picture instead
    // of words, between image_min and image_max pixels high (taller than a page makes the
    // row taller than a page).
    int image_percent = 0;
    int image_min = 17;
    int image_max = 1700;
    // The first body row starts with a TH cell and goes on with TD cells: not a header row.
    bool row_heading = false;
};

// Writes a document piece by piece and keeps the record of its tokens. Word counts and
// nested contents that vary are drawn from the builder's own random source.
class DocumentBuilder {
  public:
    explicit DocumentBuilder(std::uint64_t seed = 0) : random_(seed) { doc_.seed = seed; }

    SeededRandom& Random() { return random_; }

    void Paragraph(int words) { Block("<P>", words, "</P>\n"); }
    void Heading(int level, int words) {
        const std::string n = std::to_string(level);
        Block("<H" + n + ">", words, "</H" + n + ">\n");
    }
    // Lines of text separated by BR inside one paragraph.
    void BrokenLines(int lines, int words_per_line) {
        html_ += "<P>";
        for (int i = 0; i < lines; ++i) {
            if (i > 0) html_ += "<BR>";
            Words(words_per_line);
        }
        html_ += "</P>\n";
    }
    void Pre(const std::vector<int>& words_per_line) {
        html_ += "<PRE>";
        for (std::size_t i = 0; i < words_per_line.size(); ++i) {
            if (i > 0) html_ += "\n";
            Words(words_per_line[i]);
        }
        html_ += "</PRE>\n";
    }
    // A list of items with the given word counts; an item with a negative count holds
    // -count words and a nested list of two one-word items.
    void List(bool ordered, const std::vector<int>& items) {
        const std::string tag = ordered ? "OL" : "UL";
        html_ += "<" + tag + ">";
        for (const int words : items) {
            html_ += "<LI>";
            Words(words < 0 ? -words : words);
            if (words < 0) List(!ordered, {1, 1});
            html_ += "\n";
        }
        html_ += "</" + tag + ">\n";
    }
    // A paragraph holding an image placeholder (no picture file) of width x height. The
    // height names the image on the sheets: one already taken is made a pixel taller.
    // With words, they follow the image on its line.
    void Image(int width, int height, int words = 0) {
        html_ += "<P>";
        InlineImage(width, height);
        doc_.images.back().words_on_line = words > 0;
        if (words > 0) html_ += ' ';
        Words(words);
        html_ += "</P>\n";
    }
    void PageBreak() {
        html_ += "<PAGE>\n";
        doc_.page_breaks.push_back(doc_.order.size());
    }
    void Table(const TableShape& shape) {
        const bool outermost = cells_.empty();
        if (outermost) {
            table_ = static_cast<int>(doc_.tables.size());
            doc_.tables.push_back(
                TableInfo{shape.header == HeaderKind::None ? 0 : shape.header_rows});
        }
        html_ += "<TABLE BORDER=" + std::to_string(shape.border) +
                 " CELLPADDING=" + std::to_string(shape.padding) +
                 " CELLSPACING=" + std::to_string(shape.spacing) +
                 (shape.full_width ? " WIDTH=\"100%\"" : "") + ">\n";
        const int headers = shape.header == HeaderKind::None ? 0 : shape.header_rows;
        if (shape.header == HeaderKind::Thead) html_ += "<THEAD>";
        for (int r = 0; r < shape.rows; ++r) {
            const bool header = r < headers;
            if (shape.header == HeaderKind::Thead && r == headers) html_ += "</THEAD><TBODY>\n";
            const int row = next_row_++;
            html_ += "<TR>";
            for (int c = 0; c < shape.columns; ++c) {
                const bool th = (header && shape.header == HeaderKind::ThRows) ||
                                (shape.row_heading && shape.columns > 1 && r == headers && c == 0);
                html_ += th ? "<TH>" : "<TD>";
                cells_.emplace_back(row, c);
                header_ = outermost ? header : header_;
                if (!header && c > 0 && c == shape.columns - 1 && shape.image_percent > 0 &&
                    random_.Chance(shape.image_percent)) {
                    InlineImage(random_.Between(10, 40),
                                random_.Between(shape.image_min, shape.image_max));
                } else if (!header && c == 0 && shape.nested_percent > 0 &&
                           random_.Chance(shape.nested_percent)) {
                    TableShape inner;
                    const bool empty = shape.empty_nested_percent > 0 &&
                                       random_.Chance(shape.empty_nested_percent);
                    inner.rows = empty ? 0 : random_.Between(1, 3);
                    inner.columns = random_.Between(1, 2);
                    inner.border = random_.Between(0, 1);
                    inner.padding = random_.Between(0, 2);
                    inner.spacing = random_.Between(0, 1);
                    Words(1);
                    Table(inner);
                } else {
                    // Header cells keep to one word, so that header and row fit small pages.
                    Words(header ? 1 : random_.Between(1, shape.max_words_per_cell));
                }
                cells_.pop_back();
                html_ += th ? "</TH>" : "</TD>";
            }
            html_ += "</TR>\n";
        }
        if (shape.header == HeaderKind::Thead)
            html_ += headers >= shape.rows ? "</THEAD>" : "</TBODY>";
        html_ += "</TABLE>\n";
        if (outermost) {
            table_ = -1;
            header_ = false;
        }
    }

    GeneratedDocument Take() {
        doc_.html = html_;
        return doc_;
    }

  private:
    // An image placeholder (no picture file) of width x height. The height names the image
    // on the sheets: one already taken is made a pixel taller.
    void InlineImage(int width, int height) {
        for (bool taken = true; taken;) {
            taken = false;
            for (const ImageInfo& i : doc_.images) taken = taken || i.height == height;
            if (taken) ++height;
        }
        html_ += "<IMG WIDTH=" + std::to_string(width) + " HEIGHT=" + std::to_string(height) + ">";
        doc_.order.push_back(
            SourceItem{SourceItem::Kind::Image, static_cast<int>(doc_.images.size())});
        doc_.images.push_back(ImageInfo{width, height, cells_, table_});
    }

    void Block(const std::string& open, int words, const std::string& close) {
        html_ += open;
        Words(words);
        html_ += close;
    }
    void Words(int n) {
        for (int i = 0; i < n; ++i) {
            if (i > 0) html_ += ' ';
            const int index = static_cast<int>(doc_.tokens.size());
            html_ += TokenText(index);
            doc_.tokens.push_back(TokenInfo{table_, header_, cells_});
            doc_.order.push_back(SourceItem{SourceItem::Kind::Token, index});
        }
    }

    SeededRandom random_;
    GeneratedDocument doc_;
    std::string html_;
    int table_ = -1;
    bool header_ = false;
    int next_row_ = 0;
    std::vector<std::pair<int, int>> cells_;
};

struct GeneratorOptions {
    // Header rows in a THEAD as well as TH-only leading rows.
    bool thead = false;
    // Rows made taller than a page by a picture beside words, empty nested tables, and
    // words on the line of a picture.
    bool tall_content = false;
};

// A document of a few blocks of every kind, page breaks anywhere (first, last, twice in a
// row, right after a table). Sizes stay within the narrowest page the checks use: lines of
// a few short words, tables of at most four columns whose rows of words are much lower
// than a page body; only images, and the rows holding them, are taller than a page.
inline GeneratedDocument GenerateDocument(std::uint64_t seed, const GeneratorOptions& options) {
    DocumentBuilder b(seed);
    SeededRandom& r = b.Random();
    const int blocks = r.Chance(15) ? r.Between(0, 2) : r.Between(2, 14);
    if (r.Chance(10)) b.PageBreak();
    for (int i = 0; i < blocks; ++i) {
        const int kind = r.Between(0, 99);
        bool table = false;
        if (kind < 22) {
            b.Paragraph(r.Chance(20) ? r.Between(20, 120) : r.Between(1, 12));
        } else if (kind < 30) {
            b.Heading(r.Between(1, 3), r.Between(1, 5));
        } else if (kind < 36) {
            b.BrokenLines(r.Between(1, 30), r.Between(1, 3));
        } else if (kind < 44) {
            std::vector<int> items(static_cast<std::size_t>(r.Between(1, 12)));
            for (int& words : items) words = r.Chance(15) ? -r.Between(1, 3) : r.Between(1, 14);
            b.List(r.Chance(50), items);
        } else if (kind < 50) {
            std::vector<int> lines(static_cast<std::size_t>(r.Between(1, 25)));
            for (int& words : lines) words = r.Between(1, 4);
            b.Pre(lines);
        } else if (kind < 56) {
            // Mostly small pictures; some taller than a small page, some than every page.
            const int size = r.Between(0, 9);
            const int height = size < 6   ? r.Between(17, 150)
                               : size < 8 ? r.Between(220, 500)
                                          : r.Between(1100, 1700);
            // A few with words after them on their line.
            const int width = r.Between(20, 200);
            b.Image(width, height, options.tall_content && r.Chance(20) ? r.Between(1, 3) : 0);
        } else if (kind < 62) {
            b.PageBreak();
        } else {
            TableShape t;
            const int length = r.Between(0, 9);
            t.rows = length < 6   ? r.Between(1, 10)
                     : length < 9 ? r.Between(10, 60)
                                  : r.Between(60, 200);
            t.columns = r.Between(1, 4);
            const int header = r.Between(0, 9);
            if (header >= 5) {
                t.header = options.thead && header >= 8 ? HeaderKind::Thead : HeaderKind::ThRows;
                t.header_rows = header == 9 ? 2 : 1;
                t.rows += t.header_rows;
            }
            t.border = r.Between(0, 2);
            t.padding = r.Between(0, 4);
            t.spacing = r.Between(0, 2);
            t.full_width = r.Chance(30);
            t.max_words_per_cell = r.Chance(30) ? 3 : 1;
            t.nested_percent = r.Chance(20) ? 20 : 0;
            if (options.tall_content && r.Chance(30)) t.empty_nested_percent = 50;
            // Some tables with pictures beside words: rows lower and higher than a page.
            if (options.tall_content && r.Chance(12)) {
                t.image_percent = r.Chance(50) ? 30 : 8;
                t.image_max = r.Chance(50) ? 500 : 1700;
            }
            t.row_heading = r.Chance(10);
            b.Table(t);
            table = true;
        }
        if (table && r.Chance(25)) b.PageBreak();
    }
    if (r.Chance(15)) b.PageBreak();
    return b.Take();
}

}  // namespace quillon::testing
