#include "platform/qt/font_face.h"

#include <mutex>

#include <QString>

namespace quillon {

namespace {

std::string FaceKey(const QRawFont& raw) {
    return raw.familyName().toStdString() + '\n' + raw.styleName().toStdString() + '\n' +
           std::to_string(raw.weight()) + '\n' + std::to_string(static_cast<int>(raw.style()));
}

struct Registry {
    std::mutex mutex;
    std::unordered_map<std::string, std::unique_ptr<FontFace>> faces;
};

Registry& Faces() {
    static Registry registry;
    return registry;
}

}  // namespace

bool IsSimpleCharacter(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xAD) return false;
    if (c < 0x0300) return true;                 // Latin and its extensions, spacing marks
    if (c < 0x0370) return false;                // combining marks
    if (c < 0x0483) return true;                 // Greek, Cyrillic
    if (c < 0x048A) return false;                // Cyrillic combining marks
    if (c < 0x0530) return true;                 // Cyrillic supplement
    if (c >= 0x1E00 && c < 0x2000) return true;  // Latin and Greek extended
    if (c >= 0x2010 && c < 0x2028) return true;  // dashes, quotes, bullets
    if (c >= 0x2030 && c < 0x205F) return true;
    if (c >= 0x20A0 && c < 0x20D0) return true;  // currency signs
    if (c >= 0x2100 && c < 0x2400) return true;  // letterlike, numbers, arrows, maths
    if (c >= 0x2500 && c < 0x2700) return true;  // box drawing, blocks, shapes
    return false;
}

FontFace& FontFace::Of(const QFont& font) {
    return Of(QRawFont::fromFont(font));
}

FontFace& FontFace::Of(const QRawFont& raw) {
    Registry& r = Faces();
    const std::string key = FaceKey(raw);
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.faces.find(key);
    if (it == r.faces.end()) {
        it = r.faces.emplace(key, std::unique_ptr<FontFace>(new FontFace(raw))).first;
    }
    return *it->second;
}

FontFace::FontFace(const QRawFont& raw) : raw_(raw) {
    units_per_em_ = raw.isValid() ? std::max(16, static_cast<int>(raw.unitsPerEm())) : 1000;
    try {
        QRawFont tables = raw;
        truetype_ = std::make_shared<pdf::TrueTypeFace>([tables](std::string_view tag) {
            const QByteArray bytes = tables.fontTable(std::string(tag).c_str());
            return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        });
        units_per_em_ = truetype_->UnitsPerEm();
    } catch (const std::exception&) {
        truetype_.reset();  // no TrueType outlines: measured and drawn through Qt
    }
    for (const QChar c : raw.familyName() + raw.styleName()) {
        if (c.isLetterOrNumber() || c == u'-')
            name_.push_back(c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : 'X');
    }
    bold_ = raw.weight() >= QFont::DemiBold;
    italic_ = raw.style() != QFont::StyleNormal;
    const QString family = raw.familyName();
    serif_ = family.contains(u"Serif") ? !family.contains(u"Sans")
                                       : family.contains(u"Times") || family.contains(u"Roman");
}

void FontFace::LoadPage(char32_t page) {
    auto glyphs = std::make_unique<std::array<Glyph, 256>>();
    if (raw_.isValid()) {
        std::array<QChar, 256> chars;
        for (int i = 0; i < 256; ++i) {
            const char32_t c = (page << 8) | static_cast<char32_t>(i);
            // Surrogate code points have no glyphs of their own.
            chars[static_cast<std::size_t>(i)] =
                (c >= 0xD800 && c < 0xE000) ? QChar(0) : QChar(static_cast<char16_t>(c));
        }
        std::array<quint32, 256> ids{};
        int n = 256;
        raw_.glyphIndexesForChars(chars.data(), 256, ids.data(), &n);
        std::array<QPointF, 256> advances;
        if (!truetype_) {
            raw_.advancesForGlyphIndexes(ids.data(), advances.data(), n,
                                         QRawFont::UseDesignMetrics);
        }
        const double to_units = units_per_em_ / std::max(raw_.pixelSize(), 1.0);
        for (int i = 0; i < n && i < 256; ++i) {
            const auto id = static_cast<std::uint16_t>(ids[static_cast<std::size_t>(i)]);
            const char32_t c = (page << 8) | static_cast<char32_t>(i);
            Glyph& g = (*glyphs)[static_cast<std::size_t>(i)];
            if (id == 0 || !IsSimpleCharacter(c)) continue;
            g.id = id;
            g.advance = static_cast<std::uint16_t>(
                truetype_ ? truetype_->Advance(id)
                          : std::lround(advances[static_cast<std::size_t>(i)].x() * to_units));
        }
    }
    pages_[page] = std::move(glyphs);
}

FontFace::Glyph FontFace::LookupAstral(char32_t ch) {
    if (auto it = astral_.find(ch); it != astral_.end()) return it->second;
    // Beyond the first plane: emoji and rare scripts are left to Qt's layout.
    return astral_.emplace(ch, Glyph{}).first->second;
}

bool FontFace::IsSimple(std::u32string_view text) {
    for (const char32_t c : text) {
        if (Lookup(c).id == 0) return false;
    }
    return true;
}

bool FontFace::SimpleAdvance(std::u32string_view text, std::int64_t& units) {
    std::int64_t sum = 0;
    for (const char32_t c : text) {
        const Glyph g = Lookup(c);
        if (g.id == 0) return false;
        sum += g.advance;
    }
    units = sum;
    return true;
}

}  // namespace quillon
