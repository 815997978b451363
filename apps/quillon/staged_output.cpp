#include "apps/quillon/staged_output.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace quillon::app {

namespace fs = std::filesystem;

StagedOutput::StagedOutput(fs::path target) : target_(std::move(target)) {
    fs::path dir = target_.parent_path();
    if (dir.empty()) dir = ".";
    // A dot name, so that a folder left by a killed run stays out of sight.
    std::string name = ".";
    name.append(target_.filename().string()).append(".quillon-XXXXXX");
    std::string pattern = (dir / name).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        error_ = std::strerror(errno);
        return;
    }
    folder_ = pattern;
}

StagedOutput::~StagedOutput() {
    if (folder_.empty()) return;
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

std::vector<fs::path> StagedOutput::WrittenFiles() const {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_, ec)) {
        if (entry.path().filename() != target_.filename()) files.push_back(entry.path());
    }
    // The target last: once it is in place, everything it goes with is too.
    if (fs::exists(StagePath(), ec)) files.push_back(StagePath());
    return files;
}

bool StagedOutput::MoveAll(bool incomplete) {
    if (folder_.empty()) return false;
    fs::path dir = target_.parent_path();
    if (dir.empty()) dir = ".";
    for (const fs::path& file : WrittenFiles()) {
        const fs::path name = incomplete ? IncompleteName(file.filename()) : file.filename();
        std::error_code ec;
        fs::rename(file, dir / name, ec);
        if (ec) {
            error_ = "cannot move the report to " + (dir / name).string() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

bool StagedOutput::Commit() {
    return MoveAll(false);
}

fs::path StagedOutput::KeepIncomplete() {
    MoveAll(true);
    return target_.parent_path() / IncompleteName(target_.filename());
}

fs::path StagedOutput::IncompleteName(const fs::path& file) {
    fs::path name = file.stem();
    name += ".incomplete";
    name += file.extension();
    return file.parent_path() / name;
}

}  // namespace quillon::app
