#pragma once
// The sixteen report levels. The number of a level is also its marker number in a template
// ("@3" starts the detail line).

#include <cstdint>
#include <string>

namespace quillon {

enum TReportLevel : std::uint8_t {
    rlHead = 0,        // report heading, printed once at the start
    rlNewPage = 1,     // page heading
    rlDetailHead = 2,  // heading of a group of detail lines
    rlDetail = 3,      // detail line
    rlSum01 = 4,       // sum lines, group levels 1 to 10
    rlSum02 = 5,
    rlSum03 = 6,
    rlSum04 = 7,
    rlSum05 = 8,
    rlSum06 = 9,
    rlSum07 = 10,
    rlSum08 = 11,
    rlSum09 = 12,
    rlSum10 = 13,
    rlFooter = 14,  // page footer
    rlEnd = 15,     // report end
};

inline constexpr int kLevelCount = 16;

// True for 0..15.
constexpr bool IsReportLevel(int level) {
    return level >= 0 && level < kLevelCount;
}

// The title the design tools show: "Report Heading", "Sum Lines Level 03", ...
// Empty for a number outside 0..15.
std::string LevelTitle(int level);

}  // namespace quillon
