#include "engine/clock_formats.h"

namespace quillon {

bool IsPlainTimeLocale(std::string_view name) {
    constexpr std::string_view kTimeKey = "LC_TIME=";
    if (const std::size_t at = name.find(kTimeKey); at != std::string_view::npos) {
        name = name.substr(at + kTimeKey.size());
        name = name.substr(0, name.find(';'));
    }
    return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
}

ClockFormats ClockFormatsFor(std::string_view locale_name) {
    if (IsPlainTimeLocale(locale_name)) return {"%Y-%m-%d", "%Y-%m-%d %H:%M:%S", "%H:%M:%S"};
    return {"%x", "%x %X", "%X"};
}

}  // namespace quillon
