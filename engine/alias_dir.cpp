#include "engine/alias_dir.h"

#include <filesystem>
#include <system_error>

namespace quillon {

std::optional<std::string> ExecutableDir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty() || !exe.has_parent_path()) return std::nullopt;
    std::string dir = exe.parent_path().string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

bool IsAbsoluteFormatPath(std::string_view file_name) {
    if (file_name.empty()) return false;
    if (file_name.front() == '/' || file_name.front() == '\\') return true;
    const char c = file_name.front();
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return letter && file_name.size() >= 2 && file_name[1] == ':';
}

std::string GetAliasDir(bool check_format_file, std::string_view format_file, bool designing,
                        const MessageRoutine& message) {
    if (designing) return {};
    if (check_format_file && IsAbsoluteFormatPath(format_file)) return {};
    if (auto dir = ExecutableDir()) return *dir;
    ShowMessage(message, "GetModuleFileName Error", TMsgDlgType::mtError, mbOK);
    return {};
}

}  // namespace quillon
