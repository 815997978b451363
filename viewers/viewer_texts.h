#pragma once
// Captions and hints of the viewer windows in the report's seven languages (UTF-8),
// indexed by TRepLanguage like the report's own messages.

#include <array>
#include <string_view>

#include "engine/messages.h"
#include "engine/rep_viewer_par.h"

namespace quillon {

inline constexpr int kViewerBtnCount = vbViewerHelp + 1;

// The default "Report" menu.
extern const MessageTable MainMenuCaption;
extern const MessageTable MainMenuPrint;
extern const MessageTable MainMenuPrintTXT;
extern const MessageTable MainMenuPrinterSetup;
extern const MessageTable MainMenuShowPageMargins;
extern const MessageTable MainMenuSetPageMargins;
extern const MessageTable MainMenuFindPage;
extern const MessageTable MainMenuNextPage;
extern const MessageTable MainMenuFirstPage;
extern const MessageTable MainMenuPriorPage;
extern const MessageTable MainMenuLastPage;
extern const MessageTable MainMenuFindText;
extern const MessageTable MainMenuFindNext;
extern const MessageTable MainMenuSelectAll;
extern const MessageTable MainMenuCopy;
extern const MessageTable MainMenuClose;
// Prompts and answers of the page and search boxes.
extern const MessageTable MainMenuPageNumber;
extern const MessageTable MainMenuTextToFind;
extern const MessageTable MainMenuTextNotFound;
// The rows of the margins dialog.
extern const MessageTable MARGIN_TOP;
extern const MessageTable MARGIN_BOTTOM;
extern const MessageTable MARGIN_LEFT;
extern const MessageTable MARGIN_RIGHT;

// The hint of a tool button in a language.
std::string_view ViewerBtnHint(TRepLanguage language, TViewerBtn button);

}  // namespace quillon
