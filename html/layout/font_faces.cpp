#include "html/layout/font_faces.h"

#include <functional>
#include <string>

namespace quillon {

std::size_t TFontFaces::Hash::operator()(const TFontFace& f) const {
    std::size_t h = std::hash<std::string>{}(f.Font.Name);
    const auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(static_cast<std::size_t>(f.Font.Size));
    mix(f.Font.Style);
    mix(f.Font.FontColor);
    mix(static_cast<std::size_t>(f.Font.CharSet));
    mix(static_cast<std::size_t>(f.Font.NominalSize));
    mix(f.Font.FixedPitch ? 1U : 0U);
    mix(static_cast<std::size_t>(f.LineHeight));
    mix(static_cast<std::size_t>(f.CharHeight));
    mix(static_cast<std::size_t>(f.Descent));
    return h;
}

const TFontFace& TFontFaces::Intern(const TFontFace& face) {
    if (last_ && *last_ == face) return *last_;
    last_ = &*faces_.insert(face).first;
    return *last_;
}

}  // namespace quillon
