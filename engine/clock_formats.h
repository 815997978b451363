#pragma once
// The formats of the built-in fields DATE, DATETIME and TIME. Under the C or POSIX locale
// (no locale chosen at all) they are ISO 8601, 2026-12-06 and 2026-12-06 14:05:09, which
// read the same everywhere; under a real locale they follow its own date and time.

#include <string_view>

namespace quillon {

struct ClockFormats {
    const char* date;  // strftime formats
    const char* datetime;
    const char* time;
};

// True when the time category of locale_name (a std::locale name, possibly composite:
// "LC_CTYPE=...;LC_TIME=...;...") is C, POSIX or C.<encoding>.
bool IsPlainTimeLocale(std::string_view locale_name);

// The formats for a locale of that name.
ClockFormats ClockFormatsFor(std::string_view locale_name);

}  // namespace quillon
