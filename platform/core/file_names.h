#pragma once
// Telling report files by their names: the extension in lower case, and the level files a
// multi-level run writes beside its report (".h04" for an HTML report, ".t04" for text).

#include <cctype>
#include <filesystem>
#include <string>
#include <string_view>

namespace quillon {

// ".htm" for "Report.HTM"; empty when the name has no extension.
inline std::string LowerExtension(std::string_view file_name) {
    std::string ext = std::filesystem::path(file_name).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// ".h04" for letter 'h': a level file of a multi-level run (`ext` in lower case).
inline bool IsLevelExtension(std::string_view ext, char letter) {
    return ext.size() == 4 && ext[0] == '.' && ext[1] == letter &&
           std::isdigit(static_cast<unsigned char>(ext[2])) != 0 &&
           std::isdigit(static_cast<unsigned char>(ext[3])) != 0;
}

}  // namespace quillon
