#include "platform/pdf/truetype_face.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace quillon::pdf {

namespace {

std::uint32_t U16(std::string_view t, std::size_t at) {
    if (at + 2 > t.size()) throw std::runtime_error("font table too short");
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(t[at])) << 8) |
           static_cast<unsigned char>(t[at + 1]);
}

int S16(std::string_view t, std::size_t at) {
    const auto v = static_cast<int>(U16(t, at));
    return v >= 0x8000 ? v - 0x10000 : v;
}

std::uint32_t U32(std::string_view t, std::size_t at) {
    return (U16(t, at) << 16) | U16(t, at + 2);
}

void Put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
    out.push_back(static_cast<char>(v & 0xFF));
}

void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v >> 16);
    Put16(out, v & 0xFFFF);
}

void Set32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
}

std::uint32_t CheckSum(std::string_view data) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < data.size(); i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            word =
                (word << 8) | (i + k < data.size() ? static_cast<unsigned char>(data[i + k]) : 0);
        }
        sum += word;
    }
    return sum;
}

// The glyph ids a composite glyph is built from.
void ComponentsOf(std::string_view glyph, std::vector<std::uint16_t>& out) {
    if (glyph.size() < 10 || S16(glyph, 0) >= 0) return;
    std::size_t at = 10;
    for (;;) {
        if (at + 4 > glyph.size()) return;
        const std::uint32_t flags = U16(glyph, at);
        out.push_back(static_cast<std::uint16_t>(U16(glyph, at + 2)));
        at += 4 + ((flags & 0x0001) ? 4 : 2);
        if (flags & 0x0008) {
            at += 2;
        } else if (flags & 0x0040) {
            at += 4;
        } else if (flags & 0x0080) {
            at += 8;
        }
        if (!(flags & 0x0020)) return;
    }
}

}  // namespace

TrueTypeFace::TrueTypeFace(TableSource tables) : tables_(std::move(tables)) {
    const std::string head = tables_("head");
    const std::string hhea = tables_("hhea");
    const std::string maxp = tables_("maxp");
    const std::string hmtx = tables_("hmtx");
    if (head.size() < 54 || hhea.size() < 36 || maxp.size() < 6 || tables_("glyf").empty() ||
        tables_("loca").empty()) {
        throw std::runtime_error("the face has no TrueType outlines");
    }
    units_per_em_ = std::max<int>(static_cast<int>(U16(head, 18)), 16);
    for (int i = 0; i < 4; ++i) bbox_[i] = S16(head, 36 + 2 * static_cast<std::size_t>(i));
    long_loca_ = S16(head, 50) != 0;
    ascent_ = S16(hhea, 4);
    descent_ = S16(hhea, 6);
    glyph_count_ = static_cast<int>(U16(maxp, 4));
    const std::string os2 = tables_("OS/2");
    cap_height_ = os2.size() >= 90 && U16(os2, 0) >= 2 ? S16(os2, 88) : ascent_;
    const std::string post = tables_("post");
    fixed_pitch_ = post.size() >= 16 && U32(post, 12) != 0;

    const std::size_t metrics = std::min<std::size_t>(U16(hhea, 34), hmtx.size() / 4);
    advances_.resize(static_cast<std::size_t>(glyph_count_));
    std::uint16_t last = 0;
    for (std::size_t g = 0; g < advances_.size(); ++g) {
        if (g < metrics) last = static_cast<std::uint16_t>(U16(hmtx, 4 * g));
        advances_[g] = last;
    }
}

int TrueTypeFace::Advance(std::uint16_t glyph) const {
    return glyph < advances_.size() ? advances_[glyph] : 0;
}

std::string TrueTypeFace::Subset(const std::vector<bool>& used) const {
    const std::string loca = tables_("loca");
    const std::string glyf = tables_("glyf");
    const auto count = static_cast<std::size_t>(glyph_count_);
    // Offsets missing from a short loca table point at the end: those glyphs are empty.
    auto offset = [&](std::size_t g) -> std::size_t {
        const std::size_t at = long_loca_ ? 4 * g : 2 * g;
        if (at + (long_loca_ ? 4 : 2) > loca.size()) return glyf.size();
        return long_loca_ ? U32(loca, at) : 2 * static_cast<std::size_t>(U16(loca, at));
    };
    auto glyph_bytes = [&](std::size_t g) -> std::string_view {
        const std::size_t from = std::min(offset(g), glyf.size());
        const std::size_t to = std::min(std::max(offset(g + 1), from), glyf.size());
        return std::string_view(glyf).substr(from, to - from);
    };

    // Glyph 0 (the missing-glyph box) and every part of a kept composite stay.
    std::vector<bool> keep(count, false);
    std::vector<std::uint16_t> pending;
    if (count > 0) pending.push_back(0);
    for (std::size_t g = 0; g < std::min(count, used.size()); ++g) {
        if (used[g]) pending.push_back(static_cast<std::uint16_t>(g));
    }
    while (!pending.empty()) {
        const std::uint16_t g = pending.back();
        pending.pop_back();
        if (g >= count || keep[g]) continue;
        keep[g] = true;
        ComponentsOf(glyph_bytes(g), pending);
    }

    std::string new_glyf;
    std::string new_loca;
    for (std::size_t g = 0; g < count; ++g) {
        Put32(new_loca, static_cast<std::uint32_t>(new_glyf.size()));
        if (!keep[g]) continue;
        new_glyf.append(glyph_bytes(g));
        while (new_glyf.size() % 4) new_glyf.push_back('\0');
    }
    Put32(new_loca, static_cast<std::uint32_t>(new_glyf.size()));

    std::string head = tables_("head");
    Set32(head, 8, 0);           // checksum adjustment, set below
    head[50] = 0, head[51] = 1;  // long offsets in loca

    struct Table {
        std::array<char, 4> tag;
        std::string data;
    };
    std::vector<Table> out;
    auto add = [&](const char* tag, std::string data) {
        if (data.empty()) return;
        out.push_back(Table{{tag[0], tag[1], tag[2], tag[3]}, std::move(data)});
    };
    // In tag order, as the table directory wants them.
    add("cvt ", tables_("cvt "));
    add("fpgm", tables_("fpgm"));
    add("glyf", std::move(new_glyf));
    add("head", std::move(head));
    add("hhea", tables_("hhea"));
    add("hmtx", tables_("hmtx"));
    add("loca", std::move(new_loca));
    add("maxp", tables_("maxp"));
    add("prep", tables_("prep"));

    const auto n = static_cast<std::uint32_t>(out.size());
    std::uint32_t power = 1, log2 = 0;
    while (power * 2 <= n) power *= 2, ++log2;
    std::string file;
    Put32(file, 0x00010000);
    Put16(file, n);
    Put16(file, power * 16);
    Put16(file, log2);
    Put16(file, n * 16 - power * 16);
    std::uint32_t at = 12 + 16 * n;
    std::size_t head_at = 0;
    for (const Table& t : out) {
        file.append(t.tag.data(), 4);
        Put32(file, CheckSum(t.data));
        Put32(file, at);
        Put32(file, static_cast<std::uint32_t>(t.data.size()));
        if (std::string_view(t.tag.data(), 4) == "head") head_at = at;
        at += static_cast<std::uint32_t>((t.data.size() + 3) / 4 * 4);
    }
    for (const Table& t : out) {
        file.append(t.data);
        while (file.size() % 4) file.push_back('\0');
    }
    if (head_at) Set32(file, head_at + 8, 0xB1B0AFBAu - CheckSum(file));
    return file;
}

}  // namespace quillon::pdf
