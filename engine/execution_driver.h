#pragma once
// The run of one report (TQuillon::Execute, ExecAndLoad, LoadAfterExecute): set-up,
// the record loop with its group changes, the report end and the clean-up. Helpers the
// run uses that are useful on their own are declared here.

#include <string>
#include <string_view>

namespace quillon {

// name with its extension (from its last "." after the last "/" or "\") replaced by the
// extension of other ("" when other has none).
std::string WithExtensionOf(std::string_view name, std::string_view other);

// The file of sum level level (rlSum01..rlSum10) of a multi-level run: prn_file with its
// last two characters replaced by the two-digit level number ("REPORT.HTM" gives
// "REPORT.H04" .. "REPORT.H13"). Empty when prn_file is shorter than two characters.
std::string LevelFileName(std::string_view prn_file, int level);

}  // namespace quillon
