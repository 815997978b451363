#include "platform/pdf/content_stream.h"

#include <charconv>
#include <cmath>

namespace quillon::pdf {

void ContentStream::Int(long long v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out_.append(buf, static_cast<std::size_t>(r.ptr - buf));
    out_.push_back(' ');
}

void ContentStream::Num(double v) {
    // Page coordinates are written in thousandths counted as an integer: the same digits as
    // formatting the double, in a fraction of the time (numbers are most of a page).
    const double thousandths = std::round(v * 1000.0);
    if (std::fabs(thousandths) < 1e15) {
        const auto t = static_cast<long long>(thousandths);
        const unsigned long long a =
            t < 0 ? 0ull - static_cast<unsigned long long>(t) : static_cast<unsigned long long>(t);
        unsigned frac = static_cast<unsigned>(a % 1000);
        if (frac == 0) {
            Int(t / 1000);
            return;
        }
        char buf[32];
        char* p = buf;
        if (t < 0) *p++ = '-';
        p = std::to_chars(p, buf + sizeof buf, a / 1000).ptr;
        *p++ = '.';
        int digits = 3;
        while (frac % 10 == 0) frac /= 10, --digits;
        for (int i = digits - 1; i >= 0; --i, frac /= 10) p[i] = static_cast<char>('0' + frac % 10);
        out_.append(buf, static_cast<std::size_t>(p + digits - buf));
        out_.push_back(' ');
        return;
    }
    const double rounded = thousandths / 1000.0;
    if (rounded == std::floor(rounded) && std::fabs(rounded) < 1e15) {
        Int(static_cast<long long>(rounded));
        return;
    }
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, 3);
    const char* end = r.ptr;
    while (end[-1] == '0') --end;
    out_.append(buf, static_cast<std::size_t>(end - buf));
    out_.push_back(' ');
}

void ContentStream::Transform(double a, double b, double c, double d, double e, double f) {
    Num(a), Num(b), Num(c), Num(d), Num(e), Num(f);
    Op("cm");
}

namespace {
void Rgb(ContentStream& s, std::uint32_t rgb) {
    s.Num(((rgb >> 16) & 0xFF) / 255.0);
    s.Num(((rgb >> 8) & 0xFF) / 255.0);
    s.Num((rgb & 0xFF) / 255.0);
}
}  // namespace

void ContentStream::FillColor(std::uint32_t rgb) {
    Rgb(*this, rgb);
    Op("rg");
}

void ContentStream::StrokeColor(std::uint32_t rgb) {
    Rgb(*this, rgb);
    Op("RG");
}

void ContentStream::LineWidth(double width) {
    Num(width);
    Op("w");
}

void ContentStream::Rectangle(double x, double y, double w, double h) {
    Num(x), Num(y), Num(w), Num(h);
    Op("re");
}

void ContentStream::MoveTo(double x, double y) {
    Num(x), Num(y);
    Op("m");
}

void ContentStream::LineTo(double x, double y) {
    Num(x), Num(y);
    Op("l");
}

void ContentStream::CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) {
    Num(x1), Num(y1), Num(x2), Num(y2), Num(x3), Num(y3);
    Op("c");
}

void ContentStream::SetFont(std::string_view font, double size) {
    out_.push_back('/');
    out_.append(font);
    out_.push_back(' ');
    Num(size);
    Op("Tf");
}

void ContentStream::TextOrigin(double x, double y) {
    // The page space points y down; text keeps its glyphs upright by flipping back.
    out_.append("1 0 0 -1 ");
    Num(x), Num(y);
    Op("Tm");
}

void ContentStream::Glyph(std::uint16_t id) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char hex[4] = {kHex[id >> 12], kHex[(id >> 8) & 15], kHex[(id >> 4) & 15], kHex[id & 15]};
    out_.append(hex, 4);
}

void ContentStream::BeginActualText(std::u16string_view text) {
    out_.append("/Span <</ActualText <FEFF");
    for (const char16_t c : text) Glyph(static_cast<std::uint16_t>(c));
    out_.append(">>> BDC\n");
}

void ContentStream::Image(std::string_view name) {
    out_.push_back('/');
    out_.append(name);
    out_.append(" Do\n");
}

}  // namespace quillon::pdf
