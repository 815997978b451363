#pragma once
// Feeds the records of a data source to a report run ("quillon run"):
// - every field whose name is a column (case-insensitive) gets that column's value in the
//   report head, page heading, detail heading and detail line (a number in a slot with
//   decimals is written with that many; in the heads, built-in fields such as DATE keep
//   the report's own value);
// - the group columns (outermost first) give the group index of the sum levels: the
//   innermost group is sum level 1;
// - in a sum line (and the report end) a field named after a numeric column gets that
//   column's total over the group being closed (the whole report at the end), written
//   with the slot's number of decimals; a field named COUNT gets the number of the
//   group's records; any other column field the value of the group's last record. The
//   page footer gets the running figures of the records printed before it (a footer is
//   built when the next record's line opens a new page: that record is not counted).

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "apps/datasource/data_source.h"
#include "engine/quillon.h"

namespace quillon::app {

class RecordFeeder {
  public:
    // group_columns: indexes of the group columns in the source, outermost first (at most
    // ten). The report must have loaded nothing yet; the field names are taken from
    // template (the model of the same template, loaded by the caller).
    RecordFeeder(TQuillon& report, data::DataSource& source, std::vector<int> group_columns,
                 ReportModel& template_model);

    // Assigns the report's events.
    void Attach();
    // Starts a new page after each group of the outermost group column.
    void SetPagePerGroup(bool value) { page_per_group_ = value; }
    // Called for each record before its detail line (the progress hook).
    std::function<void(std::size_t records)> on_record;

    std::size_t Records() const { return records_; }
    // The error that stopped reading the source, if any.
    const std::optional<std::string>& SourceError() const { return source_error_; }

  private:
    struct Field {
        std::string name;           // upper-case field name
        int column = -1;            // source column, -1 for COUNT
        bool in_detail = false;     // a detail slot carries the name (engine sums exist)
        bool built_in = false;      // DATE, PAGENO, ...: filled by the report itself
        bool in_sum_lines = false;  // a slot of a sum level, the page footer or the end
        std::array<int, kLevelCount> decimals{};  // per level: decimals of its slot
    };
    // The number in a column of the current record (blanks around it allowed), read at
    // most once per record; nullptr when the value is not a number.
    const double* NumberIn(int column);
    // The report's field table, with the fields' indexes in it found again whenever its
    // names changed (once per run in practice).
    tRNAMEList& Names();

    void Next(bool& next);
    void FillFromRecord(int level);
    void Account();
    void FillSums(int level);
    void CloseGroup(int level);
    int GroupOf(int level) const;  // accumulator index of a sum level

    TQuillon& report_;
    data::DataSource& source_;
    std::vector<int> group_columns_;
    std::vector<Field> fields_;
    bool has_record_ = false;
    std::size_t records_ = 0;
    std::optional<std::string> source_error_;
    // Per field: the last record's value (kept once the field is known not to be a
    // number) and whether every value so far was a number.
    std::vector<std::string> last_;
    std::vector<bool> numeric_;
    // Per field: its index in the report's field table (tRNAMEList::npos: none).
    std::vector<std::size_t> slots_;
    bool has_expressions_ = false;  // the template has calculated fields
    const tRNAMEList* slots_table_ = nullptr;
    std::uint64_t slots_revision_ = 0;
    // Per column: the number read from the current record.
    struct ColumnNumber {
        std::size_t record = 0;  // the record it was read from (0: never)
        bool is_number = false;
        double value = 0.0;
    };
    std::vector<ColumnNumber> numbers_;
    std::size_t record_stamp_ = 0;  // counts Next() calls
    std::string text_;              // scratch: a number written with a slot's decimals
    // Per group (innermost first) and one more for the whole report: totals and counts.
    std::vector<std::vector<double>> totals_;
    std::vector<std::size_t> counts_;
    // The running figures of the page footer: records whose line has been printed. The
    // record read last is added when the next one is asked for.
    std::vector<double> printed_totals_;
    std::size_t printed_count_ = 0;
    std::vector<double> current_numbers_;  // the current record's numbers (0 for others)
    bool current_unprinted_ = false;
    bool page_per_group_ = false;
};

}  // namespace quillon::app
