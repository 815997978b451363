#pragma once
// A PDF file written as it is made: every page goes to the file when it ends, so memory
// does not grow with the page count. Fonts are TrueType faces embedded as subsets at the
// end (with the widths and the text mapping of the glyphs used); images are written once
// each, the first time they are drawn. Pages may carry links (to addresses outside or to
// named places of the document) and places for the outline; the jumps and the outline are
// resolved and written at the end, when every place is known.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/core/rgba_image.h"
#include "platform/pdf/truetype_face.h"

namespace quillon::pdf {

class PdfError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A face as the document names and describes it.
struct FontInfo {
    std::string postscript_name;  // spaces are dropped
    bool bold = false;
    bool italic = false;
    bool serif = false;
    std::shared_ptr<const TrueTypeFace> face;
};

// An area of a page in points, y up from the page's bottom edge.
struct PdfRect {
    double left = 0, bottom = 0, right = 0, top = 0;
};

class PdfWriter {
  public:
    // Creates the file (PdfError when it cannot be written). Page content is compressed
    // at zlib `level` (0 stores it as it is).
    explicit PdfWriter(const std::string& path, int level = 1);
    // A writer not finished removes its file: half a document is never left behind.
    ~PdfWriter();
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    // A font (PdfError without a face); FontResource gives its resource name ("F1", ...).
    int AddFont(FontInfo font);
    const std::string& FontResource(int font) const { return fonts_[font].resource; }
    // Records that the page uses glyph `glyph` of `font` for character `ch`, 0 when not
    // known (shaped text). The first character given for a glyph is the one text
    // extraction gives.
    void UseGlyph(int font, std::uint16_t glyph, char32_t ch) {
        Font& f = fonts_[static_cast<std::size_t>(font)];
        if (glyph < f.used.size() && (!f.used[glyph] || (ch && !f.unicode[glyph]))) {
            MarkGlyph(f, glyph, ch);
        }
    }
    // The resource name of the image ("Im1", ...); an image of the same pixels drawn
    // before is not written again.
    const std::string& ImageResource(const RgbaImage& image);

    // A page of the given size in points; its content is appended to Content() until
    // EndPage.
    void BeginPage(double width_pt, double height_pt);
    std::string& Content() { return content_; }
    // Marks of the current page (ignored outside a page); y in points up from its bottom.
    // A clickable area that opens `uri` (bytes outside printable ASCII are %-escaped).
    void AddUriLink(const PdfRect& area, std::string_view uri);
    // A clickable area that jumps to the destination `name`; one whose name never gets a
    // destination does nothing.
    void AddJumpLink(const PdfRect& area, std::string_view name);
    // The destination `name` at height y of the current page; the first one of a name
    // counts.
    void AddDestination(std::string_view name, double y);
    // An outline entry (bookmark) titled `title` (UTF-8) jumping to height y of the current
    // page. Entries nest by level: an entry goes under the last entry before it of a
    // smaller level, or at the top when there is none.
    void AddOutlineItem(int level, std::string_view title, double y);
    void EndPage();
    // Writes the fonts, the page tree and the cross-reference table, and closes the file.
    // A document without a page is not a PDF file: it is removed and PdfError thrown.
    void Finish(std::string_view title);
    // Closes and removes the file.
    void Abort();

  private:
    struct Font {
        FontInfo info;
        std::string resource;
        int object = 0;
        std::vector<bool> used;
        std::vector<char32_t> unicode;  // per glyph, 0 when unused
    };
    void MarkGlyph(Font& f, std::uint16_t glyph, char32_t ch);
    int NewObject();
    void BeginObject(int object);
    void Write(std::string_view s);
    void WriteStream(int object, std::string_view dict, std::string_view data, bool compress);
    struct Place {
        int page = 0;  // index in page_objects_
        double y = 0;
    };
    struct Jump {
        int object = 0;
        PdfRect area;
        std::string name;
    };
    struct OutlineItem {
        int level = 0;
        std::string title;
        Place place;
    };
    void WriteFont(const Font& f);
    std::string Destination(const Place& place) const;
    void WriteJumps();
    // The outline's root object, 0 when there is no outline.
    int WriteOutline();
    void Close();

    std::string path_;
    std::FILE* file_ = nullptr;
    std::uint64_t written_ = 0;
    int level_;
    std::vector<std::uint64_t> offsets_;  // by object number; [0] unused
    int pages_object_ = 0;
    int resources_object_ = 0;
    std::vector<int> page_objects_;
    std::vector<Font> fonts_;
    std::unordered_map<std::uint64_t, std::string> images_;  // pixel hash -> resource
    std::vector<std::pair<std::string, int>> image_objects_;
    double page_w_ = 0, page_h_ = 0;
    bool in_page_ = false;
    std::string content_;
    std::string packed_;  // compression buffer, reused
    // The current page's links in the order they were made: a URI link's dictionary, or a
    // jump (an empty dictionary).
    std::vector<std::pair<std::string, Jump>> page_links_;
    std::vector<Jump> jumps_;  // objects reserved on their pages, written at Finish
    std::unordered_map<std::string, Place> destinations_;
    std::vector<OutlineItem> outline_;
};

}  // namespace quillon::pdf
