#include "design/template_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

namespace quillon::design {

namespace fs = std::filesystem;

bool ReadTemplateFile(const fs::path& path, std::string& bytes, std::string& error) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        error = path.string() + " is a directory, not a template";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) {
        error = "cannot read " + path.string();
        return false;
    }
    bytes = std::move(s).str();
    return true;
}

fs::path BackupPath(const fs::path& path) {
    fs::path backup = path;
    backup += ".bak";
    return backup;
}

bool SaveWithBackup(const fs::path& path, std::string_view bytes, std::string& error) {
    fs::path temporary = path;
    temporary += ".saving";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "cannot write " + temporary.string() + ": " + std::strerror(errno);
            return false;
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            error = "cannot write " + temporary.string() + " (disk full?)";
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    if (fs::exists(path, ec)) {
        fs::copy_file(path, BackupPath(path), fs::copy_options::overwrite_existing, ec);
        if (ec) {
            error = "cannot keep the previous version as " + BackupPath(path).string() + ": " +
                    ec.message();
            fs::remove(temporary, ec);
            return false;
        }
        // The saved file keeps the permissions of the one it replaces.
        fs::permissions(temporary, fs::status(path, ec).permissions(), ec);
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        error = "cannot replace " + path.string() + ": " + ec.message();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

}  // namespace quillon::design
