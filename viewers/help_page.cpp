#include "viewers/help_page.h"

#include <system_error>

#include "engine/alias_dir.h"

namespace quillon {

std::vector<std::filesystem::path> HelpPageFolders() {
    std::vector<std::filesystem::path> folders;
    std::error_code ec;
    const std::filesystem::path current = std::filesystem::current_path(ec);
    if (!ec) folders.push_back(current);
    if (const std::optional<std::string> exe = ExecutableDir()) {
        const std::filesystem::path dir(*exe);
        folders.push_back(dir);
        folders.push_back((dir / ".." / "share" / "quillon").lexically_normal());
    }
#if defined(QUILLON_DATA_DIR)
    folders.emplace_back(QUILLON_DATA_DIR);
#endif
    return folders;
}

std::optional<std::filesystem::path> FindHelpPage(
    const std::vector<std::filesystem::path>& folders) {
    for (const std::filesystem::path& folder : folders) {
        std::error_code ec;
        const std::filesystem::path page = folder / kHelpPageName;
        if (std::filesystem::is_regular_file(page, ec)) return page;
    }
    return std::nullopt;
}

}  // namespace quillon
