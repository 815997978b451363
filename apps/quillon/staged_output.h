#pragma once
// The files of one report run are written into a fresh folder beside their target and moved
// into place only when the run succeeds: a failed run leaves nothing that looks like a
// report, and an earlier report of the same name stays untouched. The folder is on the
// target's file system, so that moving a file is a rename.

#include <filesystem>
#include <string>
#include <vector>

namespace quillon::app {

class StagedOutput {
  public:
    // Stages target (its folder must exist). Valid() tells whether the folder was made;
    // Error() says why not.
    explicit StagedOutput(std::filesystem::path target);
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;
    // Removes the folder with whatever is left in it.
    ~StagedOutput();

    bool Valid() const { return !folder_.empty(); }
    const std::string& Error() const { return error_; }
    const std::filesystem::path& Target() const { return target_; }
    // Where the run writes the target; files of other names written beside it (the level
    // files of a multi-level run) are moved along with it.
    std::filesystem::path StagePath() const { return folder_ / target_.filename(); }

    // Moves every written file beside the target, replacing files of the same names; the
    // target itself comes last. False (with Error()) when a move failed.
    bool Commit();
    // Moves every written file beside the target under a name that says it is incomplete
    // ("report.txt" becomes "report.incomplete.txt"); returns the name the target got.
    std::filesystem::path KeepIncomplete();

    // "report.txt" -> "report.incomplete.txt"; "report" -> "report.incomplete".
    static std::filesystem::path IncompleteName(const std::filesystem::path& file);

  private:
    std::vector<std::filesystem::path> WrittenFiles() const;
    bool MoveAll(bool incomplete);

    std::filesystem::path target_;
    std::filesystem::path folder_;
    std::string error_;
};

}  // namespace quillon::app
