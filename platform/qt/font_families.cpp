#include "platform/qt/font_families.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <mutex>
#include <unordered_map>

#include <QFontDatabase>

namespace quillon {

namespace {

constexpr const char* kSerif = "DejaVu Serif";
constexpr const char* kSans = "DejaVu Sans";
constexpr const char* kMono = "DejaVu Sans Mono";

struct StandIn {
    std::string_view name;  // lower case
    const char* family;
};

constexpr std::array kStandIns{
    StandIn{"times new roman", kSerif}, StandIn{"times", kSerif},
    StandIn{"serif", kSerif},           StandIn{"roman", kSerif},
    StandIn{"courier new", kMono},      StandIn{"courier", kMono},
    StandIn{"monospace", kMono},        StandIn{"fixedsys", kMono},
    StandIn{"lucida console", kMono},   StandIn{"arial", kSans},
    StandIn{"helvetica", kSans},        StandIn{"sans-serif", kSans},
    StandIn{"sans serif", kSans},       StandIn{"ms sans serif", kSans},
    StandIn{"verdana", kSans},          StandIn{"tahoma", kSans},
    StandIn{"system", kSans},
};

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return std::string(s.substr(first, last - first + 1));
}

}  // namespace

std::string InstalledFontFamily(std::string_view name, bool fixed_pitch) {
    // Looking a family up in the font database is slow; documents use few names.
    static std::mutex mutex;
    static std::unordered_map<std::string, std::string> resolved;
    const std::string key = Lower(Trimmed(name)) + (fixed_pitch ? "\x01" : "");
    std::lock_guard lock(mutex);
    if (auto it = resolved.find(key); it != resolved.end()) return it->second;

    // A list ("Liberation Sans, Arial, sans-serif") takes the first name that is installed
    // or stands for an installed family.
    std::string family;
    std::string_view rest = name;
    while (family.empty() && !rest.empty()) {
        const auto comma = rest.find(',');
        std::string one = Trimmed(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        if (one.size() >= 2 && (one.front() == '"' || one.front() == '\'') &&
            one.back() == one.front()) {
            one = Trimmed(std::string_view(one).substr(1, one.size() - 2));
        }
        if (one.empty()) continue;
        if (QFontDatabase::hasFamily(QString::fromUtf8(one))) {
            family = one;
            break;
        }
        const std::string lower = Lower(one);
        for (const StandIn& s : kStandIns) {
            if (s.name == lower) family = s.family;
        }
    }
    if (family.empty()) family = fixed_pitch ? kMono : kSerif;
    resolved.emplace(key, family);
    return family;
}

QFont MakeQFont(const FontSpec& wanted, int device_dpi) {
    QFont font(QString::fromStdString(InstalledFontFamily(wanted.name, wanted.fixed_pitch)));
    // The painter is scaled by dpi / 96, which turns this size back into the wanted points.
    const double size = wanted.size_pt > 0 ? wanted.size_pt : 12.0;
    font.setPointSizeF(size * Canvas::kLogicalDpi / std::max(device_dpi, 1));
    font.setBold(wanted.bold);
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setStrikeOut(wanted.strike_out);
    font.setFixedPitch(wanted.fixed_pitch);
    font.setHintingPreference(QFont::PreferNoHinting);
    // Without kerning and ligatures a line is as wide as its glyphs' advances, so measuring
    // needs no shaping and every device draws what was measured.
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

}  // namespace quillon
