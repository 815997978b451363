#pragma once
// The state of one report run, kept by TQuillon between the steps of the run: the output
// targets, page and line counters, group keys, the [DEFAULT] values, the progress window
// and the running sums. Everything here lives from the start of a run to its clean-up;
// the run's steps (execution driver, paged output, sums) read and write it.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/report_level.h"
#include "engine/report_model.h"
#include "engine/sums.h"
#include "platform/core/host_services.h"
#include "platform/core/stream.h"

namespace quillon {

// Output targets of a run are the levels rlDetail..rlSum10.
inline constexpr int kFirstTargetLevel = rlDetail;
inline constexpr int kLastTargetLevel = rlSum10;
inline constexpr int kTargetCount = kLastTargetLevel - kFirstTargetLevel + 1;
constexpr bool IsTargetLevel(int level) {
    return level >= kFirstTargetLevel && level <= kLastTargetLevel;
}
constexpr int TargetIndex(int level) {
    return level - kFirstTargetLevel;
}

// Why a run stopped (RunState::FStopped). Any value but kNotStopped stops the run.
inline constexpr std::uint8_t kNotStopped = 0;
// OnProcessing, or the progress step without it, answered that the run is not to go on.
inline constexpr std::uint8_t kStoppedByProcessing = 1;
// A write failed and the user chose not to try again.
inline constexpr std::uint8_t kStoppedByOutputError = 2;
// The progress window's Stop button.
inline constexpr std::uint8_t kStoppedByStopButton = 9;

// Sum levels rlSum01..rlSum10 (group keys).
inline constexpr int kGroupLevelCount = rlSum10 - rlSum01 + 1;

struct RunState {
    bool FRunning = false;          // between the start of a run and its clean-up
    TStream* FRunStream = nullptr;  // the stream given to Execute; not owned
    bool BeginOfReport = false;
    int FPageNo = 1;
    int FColumn = 1;
    int FDetailCount = 0;
    bool FEof = false;
    std::uint8_t FStopped = kNotStopped;  // why the run stopped

    // The output targets (level files, page lists, line counters, pending breaks) live in
    // TQuillon's PagedOutput.

    // [DEFAULT] of QUILDOC.INI, read at the start of the run.
    std::vector<DefaultValue> FDefaultValues;

    // The progress window of the run, when the host shows one.
    std::unique_ptr<ProgressWindow> FProgressForm;
    // The texts last shown in it (the window is written only when they change).
    std::string FProgressPageText;
    std::string FProgressCaption;

    // Running sums of the levels rlSum01..rlEnd.
    ReportSums FSums;

    // Values remembered at the start of the run and restored by its clean-up.
    int FSavedPgSize = 0;
    int FSavedFirstPgSize = 0;
    bool FHasSavedOrientation = false;
    TPrinterOrientation FSavedOrientation = TPrinterOrientation::poPortrait;
    bool FHasSavedPgSize = false;

    // What the run could not do as the application meant it (a field name the template
    // lacks, sum() without running sums, calculated fields without a calculator), each
    // noted once and said together as one warning at the end of the run.
    std::vector<std::string> FNotes;
    std::unordered_set<std::string> FNoted;
};

}  // namespace quillon
