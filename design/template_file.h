#pragma once
// Reading and saving template files for the editor.

#include <filesystem>
#include <string>
#include <string_view>

namespace quillon::design {

// The whole file; false with a message naming the file and the reason when it cannot be
// read.
bool ReadTemplateFile(const std::filesystem::path& path, std::string& bytes, std::string& error);

// The name the previous version of a saved file is kept under: the file name + ".bak".
std::filesystem::path BackupPath(const std::filesystem::path& path);

// Replaces the file with bytes, keeping its previous version (when there is one) as
// BackupPath(path). The new text is written to a temporary file beside it first, so a
// failed write leaves the file as it was. False with a message when anything fails.
bool SaveWithBackup(const std::filesystem::path& path, std::string_view bytes, std::string& error);

}  // namespace quillon::design
