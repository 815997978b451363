#pragma once
// Walking the output files of one report run: the main file (PrnFile) and, for a
// multi-level run, one file per sum level, named like the main file with its last two
// characters replaced by the level number ("REPORT.HTM" -> "REPORT.H04" .. "REPORT.H13",
// "r.html" -> "r.ht04").
//
// A run remembers the files it wrote (RunFiles). A file of that list is walked through the
// list, whatever its name. A file that is not in it (a report written by another program
// or an older session) is walked by name: level files are guessed from its name, and a
// guess belongs to the same run only when its modification time is within 1.728 seconds
// (0.00002 days) of the given file's.

#include <string>
#include <vector>

namespace quillon {

// The files of one run: the main file first, then the level files in level order.
using RunFiles = std::vector<std::string>;

// Directions of SecondHTMFile.
inline constexpr int kLevelFileSame = 0;    // FileName itself
inline constexpr int kLevelFileNext = 1;    // the next level file (the main file is first)
inline constexpr int kLevelFilePrior = -1;  // the previous file (back to the main file)
inline constexpr int kLevelFileLast = 2;    // the last level file after FileName

// The file of the same run as FileName in the given direction, or empty when there is
// none, when FileName does not exist or when its name is shorter than 5 characters.
std::string SecondHTMFile(const RunFiles& run, const std::string& FileName, int Direction);

}  // namespace quillon
