#include "engine/level_files.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "engine/execution_driver.h"
#include "engine/report_level.h"

namespace quillon {

namespace fs = std::filesystem;

namespace {

// Two files belong to one run when their modification times differ by less than this
// (0.00002 days).
constexpr auto kSameRunTolerance = std::chrono::milliseconds(1728);

// The level number 3 stands for the main file in the walk by name.
constexpr int kMainFileStep = rlDetail;
constexpr int kLastStep = rlFooter;

bool Exists(const std::string& name) {
    std::error_code ec;
    return fs::is_regular_file(name, ec);
}

std::optional<fs::file_time_type> ModTime(const fs::path& name) {
    std::error_code ec;
    const fs::file_time_type time = fs::last_write_time(name, ec);
    if (ec) return std::nullopt;
    return time;
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

std::chrono::nanoseconds TimeDistance(fs::file_time_type a, fs::file_time_type b) {
    const auto d = std::chrono::duration_cast<std::chrono::nanoseconds>(a - b);
    return d < std::chrono::nanoseconds::zero() ? -d : d;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The walk through the remembered list of a run.
std::string WalkRunList(const RunFiles& run, std::size_t at, int Direction) {
    if (Direction == kLevelFileLast) {
        for (std::size_t i = run.size(); i > at + 1; --i) {
            if (Exists(run[i - 1])) return run[i - 1];
        }
        return {};
    }
    if (Direction > 0) {
        for (std::size_t i = at + 1; i < run.size(); ++i) {
            if (Exists(run[i])) return run[i];
        }
        return {};
    }
    for (std::size_t i = at; i > 0; --i) {
        if (Exists(run[i - 1])) return run[i - 1];
    }
    return {};
}

// The main file of the level files named prefix + two digits: a file named prefix + two
// characters that are not both digits, of the same run as t0 (the nearest in time when
// there are several). Its extension and case are whatever the run gave it.
std::string FindMainFile(const std::string& prefix, fs::file_time_type t0) {
    const fs::path prefix_path(prefix);
    const std::string stem = prefix_path.filename().string();
    fs::path dir = prefix_path.parent_path();
    if (dir.empty()) dir = ".";
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) return {};
    std::string best;
    std::chrono::nanoseconds best_distance{};
    for (const fs::directory_entry& entry : it) {
        const std::string name = entry.path().filename().string();
        if (name.size() != stem.size() + 2 || name.compare(0, stem.size(), stem) != 0) continue;
        if (IsDigit(name[stem.size()]) && IsDigit(name[stem.size() + 1])) continue;
        if (!entry.is_regular_file(ec)) continue;
        const auto time = ModTime(entry.path());
        if (!time) continue;
        const auto distance = TimeDistance(*time, t0);
        if (distance >= kSameRunTolerance) continue;
        if (best.empty() || distance < best_distance) {
            best = prefix_path.parent_path().empty() ? name
                                                     : (prefix_path.parent_path() / name).string();
            best_distance = distance;
        }
    }
    return best;
}

// The walk by name for a file the run list does not know.
std::string WalkByName(const std::string& FileName, int Direction) {
    const auto t0 = ModTime(FileName);
    if (!t0) return {};
    const std::size_t n = FileName.size();
    const bool is_level_file = IsDigit(FileName[n - 2]) && IsDigit(FileName[n - 1]);
    if (!is_level_file && Direction < 0) return {};
    int k = rlSum01;
    if (is_level_file) {
        k = (FileName[n - 2] - '0') * 10 + (FileName[n - 1] - '0');
        k += Direction > 0 ? 1 : -1;
    }
    const int step = Direction > 0 ? 1 : -1;
    const std::string prefix = FileName.substr(0, n - 2);
    std::string result;
    for (; k >= kMainFileStep && k <= kLastStep; k += step) {
        std::string candidate;
        if (k == kMainFileStep) {
            candidate = FindMainFile(prefix, *t0);
        } else {
            candidate = LevelFileName(FileName, k);
            const auto time = Exists(candidate) ? ModTime(candidate) : std::nullopt;
            if (!time || TimeDistance(*time, *t0) >= kSameRunTolerance) candidate.clear();
        }
        if (candidate.empty()) continue;
        result = std::move(candidate);
        if (Direction == kLevelFileNext || Direction == kLevelFilePrior) break;
    }
    return result;
}

}  // namespace

std::string SecondHTMFile(const RunFiles& run, const std::string& FileName, int Direction) {
    if (FileName.size() < 5 || !Exists(FileName)) return {};
    if (Direction == kLevelFileSame) return FileName;
    for (std::size_t i = 0; i < run.size(); ++i) {
        if (SameFile(run[i], FileName)) return WalkRunList(run, i, Direction);
    }
    return WalkByName(FileName, Direction);
}

}  // namespace quillon
