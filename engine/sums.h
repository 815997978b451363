#pragma once
// Running sums of a report run (the automatic sums of prAutoSum). One list of cells per
// level rlSum01..rlEnd; cell n belongs to detail field slot n. Detail values are added into
// the innermost sum level L0 of the active format; when a group closes, its cells roll up
// into the next level that the format defines and are cleared.
//
// The outermost defined sum level rolls into the page footer when the format has one (the
// footer keeps a running total that no group clears) and always into the report end, so
// the report end holds the grand totals whether or not the format has a page footer.

#include <array>
#include <string_view>
#include <vector>

#include "engine/report_level.h"

namespace quillon {

class LevelTable;
class ReportModel;

struct SumCell {
    double Value = 0.0;
    bool Numeric = true;  // false once the field held a text that is not a number
};

// The innermost sum level L0 of a level table: the first of rlSum01..rlSum10 that it
// defines, else rlEnd.
int InnermostSumLevel(const LevelTable* levels);
// The level that the sums of level close into: the first of level+1..rlEnd that the table
// defines (rlFooter included), else rlEnd.
int NextSumLevel(const LevelTable* levels, int level);
// The number of the detail slot that carries name, directly or as an alias of a field
// registered first in another level; 0 when no detail slot carries it.
int DetailSlotCarrying(ReportModel& model, std::string_view name);
// The level whose sums a calculated field of current_level reads: current_level itself
// for rlSum01..rlEnd, else L0.
int CalcSumLevel(const LevelTable* levels, int current_level);

class ReportSums {
  public:
    // Adds the current detail values of the active format into L0.
    void DetailLineAutoSum(ReportModel& model);
    // Rolls the sums of level up into the next level and clears them (auto_sum only,
    // and only when the active format defines level). level must be rlSum01..rlSum10.
    void RollUp(int level, const ReportModel& model);

    // The running sum of slot field_no of field_level at sum level level; 0 when the slot
    // or the cell does not exist or level is not rlSum01..rlEnd.
    double SumByNumber(int level, int field_level, int field_no, const ReportModel& model) const;
    // The running sum of the detail slot that carries name (directly or as an alias of a
    // field of another level) at level; 0 when no detail slot carries the name. Does not
    // move the field table's cursor.
    double SumByName(int level, std::string_view name, ReportModel& model) const;

    // The cells of a level (empty when the level has none yet or is out of range).
    const std::vector<SumCell>& Cells(int level) const;
    // Frees every cell (end of a run).
    void Clear();

  private:
    static constexpr int kFirst = rlSum01;
    std::vector<SumCell>* ListOf(int level);
    std::array<std::vector<SumCell>, rlEnd - rlSum01 + 1> sums_{};
};

}  // namespace quillon
