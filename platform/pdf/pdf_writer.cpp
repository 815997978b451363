#include "platform/pdf/pdf_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "platform/pdf/content_stream.h"

namespace quillon::pdf {

namespace {

// Deflates data into out (cleared first) at the given zlib level.
void Deflate(std::string_view data, std::string& out, int level) {
    z_stream z{};
    if (deflateInit(&z, level) != Z_OK) throw PdfError("cannot start compressing");
    out.resize(deflateBound(&z, static_cast<uLong>(data.size())));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END) throw PdfError("cannot compress a PDF stream");
}

std::uint64_t HashPixels(const RgbaImage& image) {
    std::uint64_t h = 1469598103934665603ull ^ (static_cast<std::uint64_t>(image.Width()) << 32) ^
                      static_cast<std::uint64_t>(image.Height());
    const auto& px = image.Pixels();
    const auto* bytes = reinterpret_cast<const unsigned char*>(px.data());
    const std::size_t n = px.size() * sizeof(px[0]);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, bytes + i, 8);
        h = (h ^ w) * 1099511628211ull;
        h ^= h >> 29;
    }
    for (; i < n; ++i) h = (h ^ bytes[i]) * 1099511628211ull;
    return h;
}

// A PDF text string in UTF-16BE hex, from UTF-8.
std::string HexText(std::string_view utf8) {
    std::u16string units;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        char32_t cp = c;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (extra) cp = c & (0x3F >> extra);
        ++i;
        for (; extra > 0 && i < utf8.size(); --extra, ++i) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(cp));
        }
    }
    std::string out = "<FEFF";
    ContentStream hex(out);
    for (const char16_t u : units) hex.Glyph(static_cast<std::uint16_t>(u));
    out.push_back('>');
    return out;
}

// Joins the parts into one string (appending, which the compiler reads best).
template <class... Parts>
std::string Cat(const Parts&... parts) {
    std::string out;
    (out.append(std::string_view(parts)), ...);
    return out;
}

std::string Ref(int object) {
    return Cat(std::to_string(object), " 0 R");
}

// Appends the URI's bytes as a PDF literal string: bytes outside printable ASCII
// %-escaped, the string's own delimiters escaped.
void AppendUriString(std::string& out, std::string_view uri) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '(';
    for (const char ch : uri) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F) {
            const char escaped[3] = {'%', kHex[c >> 4], kHex[c & 0xF]};
            out.append(escaped, 3);
            continue;
        }
        if (ch == '(' || ch == ')' || ch == '\\') out += '\\';
        out += ch;
    }
    out += ')';
}

// Appends " /Rect [l b r t]" of a link.
void AppendRect(std::string& out, const PdfRect& r) {
    out += " /Rect [";
    ContentStream num(out);
    num.Num(r.left);
    num.Num(r.bottom);
    num.Num(r.right);
    num.Num(r.top);
    out += ']';
}

}  // namespace

PdfWriter::PdfWriter(const std::string& path, int level)
    : path_(path), level_(std::clamp(level, 0, 9)) {
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) throw PdfError(Cat("cannot write the PDF file ", path));
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
    offsets_.push_back(0);
    Write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    pages_object_ = NewObject();
    resources_object_ = NewObject();
}

PdfWriter::~PdfWriter() {
    if (file_) Abort();
}

void PdfWriter::Close() {
    if (!file_) return;
    const bool failed = std::ferror(file_) != 0;
    const bool close_failed = std::fclose(file_) != 0;
    file_ = nullptr;
    if (failed || close_failed) {
        std::remove(path_.c_str());
        throw PdfError(Cat("cannot write the PDF file ", path_));
    }
}

void PdfWriter::Abort() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    std::remove(path_.c_str());
}

int PdfWriter::NewObject() {
    offsets_.push_back(0);
    return static_cast<int>(offsets_.size() - 1);
}

void PdfWriter::Write(std::string_view s) {
    if (!file_) throw PdfError(Cat("the PDF file ", path_, " is closed"));
    if (std::fwrite(s.data(), 1, s.size(), file_) != s.size()) {
        throw PdfError(Cat("cannot write the PDF file ", path_));
    }
    written_ += s.size();
}

void PdfWriter::BeginObject(int object) {
    offsets_[static_cast<std::size_t>(object)] = written_;
    Write(std::to_string(object));
    Write(" 0 obj\n");
}

void PdfWriter::WriteStream(int object, std::string_view dict, std::string_view data,
                            bool compress) {
    BeginObject(object);
    Write("<<");
    Write(dict);
    std::string_view body = data;
    if (compress && level_ > 0) {
        Deflate(data, packed_, level_);
        body = packed_;
        Write(" /Filter /FlateDecode");
    }
    Write(" /Length ");
    Write(std::to_string(body.size()));
    Write(" >>\nstream\n");
    Write(body);
    Write("\nendstream\nendobj\n");
}

int PdfWriter::AddFont(FontInfo font) {
    if (!font.face) throw PdfError("a PDF font needs the TrueType face it embeds");
    Font f;
    f.resource = Cat("F", std::to_string(fonts_.size() + 1));
    f.object = NewObject();
    const auto glyphs = static_cast<std::size_t>(font.face->GlyphCount());
    f.used.assign(glyphs, false);
    f.unicode.assign(glyphs, 0);
    std::erase(font.postscript_name, ' ');
    if (font.postscript_name.empty()) font.postscript_name = "Font";
    f.info = std::move(font);
    fonts_.push_back(std::move(f));
    return static_cast<int>(fonts_.size() - 1);
}

void PdfWriter::MarkGlyph(Font& f, std::uint16_t glyph, char32_t ch) {
    f.used[glyph] = true;
    if (ch) f.unicode[glyph] = ch;
}

const std::string& PdfWriter::ImageResource(const RgbaImage& image) {
    const std::uint64_t key = HashPixels(image);
    if (auto it = images_.find(key); it != images_.end()) return it->second;
    const int w = std::max(image.Width(), 1), h = std::max(image.Height(), 1);
    const auto& px = image.Pixels();
    std::string rgb, alpha;
    rgb.reserve(static_cast<std::size_t>(w) * h * 3);
    alpha.reserve(static_cast<std::size_t>(w) * h);
    bool translucent = false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(px.data());
    const std::size_t n = std::min(px.size() * sizeof(px[0]) / 4, static_cast<std::size_t>(w) * h);
    for (std::size_t i = 0; i < n; ++i) {
        rgb.append(reinterpret_cast<const char*>(bytes + 4 * i), 3);
        alpha.push_back(static_cast<char>(bytes[4 * i + 3]));
        translucent |= bytes[4 * i + 3] != 0xFF;
    }
    rgb.resize(static_cast<std::size_t>(w) * h * 3, '\xFF');
    alpha.resize(static_cast<std::size_t>(w) * h, '\xFF');
    const std::string size =
        Cat(" /Width ", std::to_string(w), " /Height ", std::to_string(h), " /BitsPerComponent 8");
    int mask = 0;
    if (translucent) {
        mask = NewObject();
        WriteStream(mask, Cat(" /Type /XObject /Subtype /Image /ColorSpace /DeviceGray", size),
                    alpha, true);
    }
    const int object = NewObject();
    WriteStream(object,
                Cat(" /Type /XObject /Subtype /Image /ColorSpace /DeviceRGB", size,
                    mask ? Cat(" /SMask ", Ref(mask)) : std::string()),
                rgb, true);
    std::string name = Cat("Im", std::to_string(image_objects_.size() + 1));
    image_objects_.emplace_back(name, object);
    return images_.emplace(key, std::move(name)).first->second;
}

void PdfWriter::BeginPage(double width_pt, double height_pt) {
    if (in_page_) EndPage();
    page_w_ = width_pt;
    page_h_ = height_pt;
    in_page_ = true;
    content_.clear();
}

void PdfWriter::AddUriLink(const PdfRect& area, std::string_view uri) {
    if (!in_page_) return;
    std::string dict;
    dict.reserve(128 + uri.size());
    dict += "<< /Type /Annot /Subtype /Link";
    AppendRect(dict, area);
    dict += " /Border [0 0 0] /A << /S /URI /URI ";
    AppendUriString(dict, uri);
    dict += " >> >>";
    page_links_.emplace_back(std::move(dict), Jump{});
}

void PdfWriter::AddJumpLink(const PdfRect& area, std::string_view name) {
    if (!in_page_) return;
    page_links_.emplace_back(std::string(), Jump{0, area, std::string(name)});
}

void PdfWriter::AddDestination(std::string_view name, double y) {
    if (!in_page_) return;
    destinations_.try_emplace(std::string(name), Place{static_cast<int>(page_objects_.size()), y});
}

void PdfWriter::AddOutlineItem(int level, std::string_view title, double y) {
    if (!in_page_) return;
    outline_.push_back(
        OutlineItem{level, std::string(title), Place{static_cast<int>(page_objects_.size()), y}});
}

void PdfWriter::EndPage() {
    if (!in_page_) return;
    in_page_ = false;
    const int contents = NewObject();
    WriteStream(contents, "", content_, true);
    // Links to outside addresses are written now; jumps get their objects now and are
    // written at the end, when every destination is known.
    std::string annots;
    for (auto& [dict, jump] : page_links_) {
        const int object = NewObject();
        annots += Cat(Ref(object), " ");
        if (dict.empty()) {
            jump.object = object;
            jumps_.push_back(std::move(jump));
            continue;
        }
        BeginObject(object);
        Write(dict);
        Write("\nendobj\n");
    }
    page_links_.clear();
    const int page = NewObject();
    std::string dict = Cat("<< /Type /Page /Parent ", Ref(pages_object_), " /MediaBox [0 0 ");
    ContentStream num(dict);
    num.Num(page_w_);
    num.Num(page_h_);
    dict += Cat("] /Resources ", Ref(resources_object_), " /Contents ", Ref(contents));
    if (!annots.empty()) dict += Cat(" /Annots [", annots, "]");
    dict += " >>\n";
    BeginObject(page);
    Write(dict);
    Write("endobj\n");
    page_objects_.push_back(page);
    content_.clear();
}

void PdfWriter::WriteFont(const Font& f) {
    const TrueTypeFace* face = f.info.face.get();
    // A subset is named with a tag made from what it holds.
    std::uint64_t h = 1469598103934665603ull + static_cast<std::uint64_t>(f.object);
    for (std::size_t g = 0; g < f.used.size(); ++g) {
        if (f.used[g]) h = (h ^ g) * 1099511628211ull;
    }
    std::string name;
    for (int i = 0; i < 6; ++i, h /= 26) name.push_back(static_cast<char>('A' + h % 26));
    name += '+';
    name += f.info.postscript_name;

    const double scale = 1000.0 / face->UnitsPerEm();
    const int cid = NewObject(), descriptor = NewObject(), file = NewObject(),
              to_unicode = NewObject();

    std::string widths = " /W [";
    ContentStream w(widths);
    for (std::size_t g = 0; g < f.used.size();) {
        if (!f.used[g]) {
            ++g;
            continue;
        }
        w.Int(static_cast<long long>(g));
        widths += "[";
        for (; g < f.used.size() && f.used[g]; ++g) {
            w.Num(face->Advance(static_cast<std::uint16_t>(g)) * scale);
        }
        widths += "] ";
    }
    widths += "]";

    BeginObject(f.object);
    Write(Cat("<< /Type /Font /Subtype /Type0 /BaseFont /", name,
              " /Encoding /Identity-H /DescendantFonts [", Ref(cid), "] /ToUnicode ",
              Ref(to_unicode), " >>\nendobj\n"));
    BeginObject(cid);
    Write(Cat("<< /Type /Font /Subtype /CIDFontType2 /BaseFont /", name,
              " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
              " /FontDescriptor ",
              Ref(descriptor), " /CIDToGIDMap /Identity", widths, " >>\nendobj\n"));

    int flags = 4;  // symbolic: glyphs are addressed by id
    if (face->FixedPitch()) flags |= 1;
    if (f.info.serif) flags |= 2;
    if (f.info.italic) flags |= 64;
    std::string d = Cat("<< /Type /FontDescriptor /FontName /", name, " /Flags ",
                        std::to_string(flags), " /FontBBox [");
    ContentStream dn(d);
    for (int i = 0; i < 4; ++i) dn.Num(face->BoundingBox()[i] * scale);
    d += "] /ItalicAngle ";
    dn.Int(f.info.italic ? -12 : 0);
    d += "/Ascent ";
    dn.Num(face->Ascent() * scale);
    d += "/Descent ";
    dn.Num(face->Descent() * scale);
    d += "/CapHeight ";
    dn.Num(face->CapHeight() * scale);
    d += "/StemV ";
    dn.Int(f.info.bold ? 120 : 80);
    d += Cat("/FontFile2 ", Ref(file), " >>\nendobj\n");
    BeginObject(descriptor);
    Write(d);

    const std::string program = face->Subset(f.used);
    WriteStream(file, Cat(" /Length1 ", std::to_string(program.size())), program, true);

    std::string cmap =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    std::vector<std::size_t> mapped;
    for (std::size_t g = 0; g < f.unicode.size(); ++g) {
        if (f.used[g] && f.unicode[g]) mapped.push_back(g);
    }
    ContentStream hex(cmap);
    for (std::size_t i = 0; i < mapped.size(); i += 100) {
        const std::size_t n = std::min<std::size_t>(100, mapped.size() - i);
        cmap += Cat(std::to_string(n), " beginbfchar\n");
        for (std::size_t k = i; k < i + n; ++k) {
            const std::size_t g = mapped[k];
            cmap += '<';
            hex.Glyph(static_cast<std::uint16_t>(g));
            cmap += "> <";
            char32_t u = f.unicode[g];
            if (u >= 0x10000) {
                u -= 0x10000;
                hex.Glyph(static_cast<std::uint16_t>(0xD800 + (u >> 10)));
                hex.Glyph(static_cast<std::uint16_t>(0xDC00 + (u & 0x3FF)));
            } else {
                hex.Glyph(static_cast<std::uint16_t>(u));
            }
            cmap += ">\n";
        }
        cmap += "endbfchar\n";
    }
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    WriteStream(to_unicode, "", cmap, true);
}

std::string PdfWriter::Destination(const Place& place) const {
    std::string out =
        Cat("[", Ref(page_objects_[static_cast<std::size_t>(place.page)]), " /XYZ null ");
    ContentStream(out).Num(place.y);
    out += "null]";
    return out;
}

void PdfWriter::WriteJumps() {
    for (const Jump& jump : jumps_) {
        std::string dict = "<< /Type /Annot /Subtype /Link";
        AppendRect(dict, jump.area);
        dict += " /Border [0 0 0]";
        if (const auto it = destinations_.find(jump.name); it != destinations_.end()) {
            dict += Cat(" /Dest ", Destination(it->second));
        }
        BeginObject(jump.object);
        Write(Cat(dict, " >>\nendobj\n"));
    }
}

int PdfWriter::WriteOutline() {
    if (outline_.empty()) return 0;
    // The entries come in document order, so every entry's children follow it directly.
    const std::size_t n = outline_.size();
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> parent(n, kNone), first(n, kNone), last(n, kNone), next(n, kNone),
        prev(n, kNone);
    std::vector<int> count(n, 0);
    std::vector<std::size_t> open;  // the chain of entries the next one may go under
    std::size_t root_first = kNone, root_last = kNone;
    for (std::size_t i = 0; i < n; ++i) {
        while (!open.empty() && outline_[open.back()].level >= outline_[i].level) open.pop_back();
        std::size_t& head = open.empty() ? root_first : first[open.back()];
        std::size_t& tail = open.empty() ? root_last : last[open.back()];
        if (!open.empty()) parent[i] = open.back();
        if (head == kNone) head = i;
        if (tail != kNone) {
            next[tail] = i;
            prev[i] = tail;
        }
        tail = i;
        open.push_back(i);
    }
    // Every entry is shown open: its count is that of all entries below it.
    for (std::size_t i = n; i-- > 0;) {
        if (parent[i] != kNone) count[parent[i]] += 1 + count[i];
    }
    const int root = NewObject();
    std::vector<int> objects(n);
    for (int& o : objects) o = NewObject();
    const auto ref = [&](std::size_t i) { return Ref(objects[i]); };
    for (std::size_t i = 0; i < n; ++i) {
        std::string d = Cat("<< /Title ", HexText(outline_[i].title), " /Parent ",
                            parent[i] == kNone ? Ref(root) : ref(parent[i]));
        if (prev[i] != kNone) d += Cat(" /Prev ", ref(prev[i]));
        if (next[i] != kNone) d += Cat(" /Next ", ref(next[i]));
        if (first[i] != kNone) {
            d += Cat(" /First ", ref(first[i]), " /Last ", ref(last[i]), " /Count ",
                     std::to_string(count[i]));
        }
        d += Cat(" /Dest ", Destination(outline_[i].place), " >>\nendobj\n");
        BeginObject(objects[i]);
        Write(d);
    }
    BeginObject(root);
    Write(Cat("<< /Type /Outlines /First ", ref(root_first), " /Last ", ref(root_last), " /Count ",
              std::to_string(n), " >>\nendobj\n"));
    return root;
}

void PdfWriter::Finish(std::string_view title) {
    if (in_page_) EndPage();
    if (page_objects_.empty()) {
        Abort();
        throw PdfError(Cat("a PDF file needs at least one page; ", path_, " was not written"));
    }
    for (const Font& f : fonts_) WriteFont(f);
    WriteJumps();
    const int outline = WriteOutline();

    std::string res = "<< /ProcSet [/PDF /Text /ImageC /ImageB] /Font <<";
    for (const Font& f : fonts_) res += Cat(" /", f.resource, " ", Ref(f.object));
    res += " >> /XObject <<";
    for (const auto& [name, object] : image_objects_) res += Cat(" /", name, " ", Ref(object));
    res += " >> >>\nendobj\n";
    BeginObject(resources_object_);
    Write(res);

    std::string kids;
    for (const int p : page_objects_) kids += Cat(Ref(p), " ");
    BeginObject(pages_object_);
    Write(Cat("<< /Type /Pages /Kids [", kids, "] /Count ", std::to_string(page_objects_.size()),
              " >>\nendobj\n"));

    const int info = NewObject();
    BeginObject(info);
    Write("<< /Producer (Quillon)");
    if (!title.empty()) Write(Cat(" /Title ", HexText(title)));
    Write(" >>\nendobj\n");
    const int catalog = NewObject();
    BeginObject(catalog);
    Write(Cat("<< /Type /Catalog /Pages ", Ref(pages_object_),
              outline ? Cat(" /Outlines ", Ref(outline), " /PageMode /UseOutlines") : "",
              " >>\nendobj\n"));

    const std::uint64_t xref = written_;
    std::string table = Cat("xref\n0 ", std::to_string(offsets_.size()), "\n0000000000 65535 f \n");
    for (std::size_t i = 1; i < offsets_.size(); ++i) {
        char line[24];
        std::snprintf(line, sizeof line, "%010llu 00000 n \n",
                      static_cast<unsigned long long>(offsets_[i]));
        table += line;
    }
    table += Cat("trailer\n<< /Size ", std::to_string(offsets_.size()), " /Root ", Ref(catalog),
                 " /Info ", Ref(info), " >>\nstartxref\n", std::to_string(xref), "\n%%EOF\n");
    Write(table);
    Close();
}

}  // namespace quillon::pdf
