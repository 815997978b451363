#pragma once
// The help page of the viewer window, ViewHlp.htm. A page in the current folder comes first
// (an application's own); then the page shipped with the program: beside the executable
// (the build tree), in share/quillon beside the executable's folder (an installation that
// was moved) and in the data folder the program was installed to.

#include <filesystem>
#include <optional>
#include <vector>

namespace quillon {

inline constexpr const char* kHelpPageName = "ViewHlp.htm";

// The folders searched, in order.
std::vector<std::filesystem::path> HelpPageFolders();
// The first of folders that holds the help page, as a path to the page; nothing when none
// does.
std::optional<std::filesystem::path> FindHelpPage(
    const std::vector<std::filesystem::path>& folders);

}  // namespace quillon
