#pragma once
// The published properties of a report (TQuillon's PgSize, Options, FormatFile, ...) as one
// value, so that the steps of a run receive them without reaching into the report.

#include <string>

#include "engine/messages.h"
#include "engine/print_options.h"

namespace quillon {

struct ReportProperties {
    bool MultiLevel = false;
    // Lines per page and on the first page; a run scales them to the printer's page
    // height (PgHeight) with prScaled and restores them at its end.
    int PgSize = 64;
    int PgHeight = 0;
    int FirstPgSize = 64;
    TPrintOptions Options{prNumbersAlignRight, prScaled};
    TPageOrientation Orientation = orDefault;
    std::string PrnFile = "PRX";
    std::string AliasName;
    std::string FormatFile;
    std::string FormatFile1;
    std::string FormatFile2;
    std::string FormatName;
    TRepLanguage Language = laEnglish;
    bool ClearFieldsList = true;
    bool StripNames = true;
    std::string RTFNameTag = "strike";
};

}  // namespace quillon
