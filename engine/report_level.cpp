#include "engine/report_level.h"

namespace quillon {

std::string LevelTitle(int level) {
    switch (level) {
        case rlHead:
            return "Report Heading";
        case rlNewPage:
            return "Page Heading";
        case rlDetailHead:
            return "Detail Line Heading";
        case rlDetail:
            return "Detail Line";
        case rlFooter:
            return "Page Footer";
        case rlEnd:
            return "Report End Level";
        default:
            break;
    }
    if (level >= rlSum01 && level <= rlSum10) {
        const int group = level - rlSum01 + 1;
        std::string title = "Sum Lines Level ";
        title += static_cast<char>('0' + group / 10);
        title += static_cast<char>('0' + group % 10);
        return title;
    }
    return {};
}

}  // namespace quillon
