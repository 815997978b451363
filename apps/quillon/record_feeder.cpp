#include "apps/quillon/record_feeder.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>

#include "calc/number_reader.h"
#include "engine/sums.h"
#include "engine/text_helpers.h"
#include "platform/core/text_encoding.h"

namespace quillon::app {

namespace {

constexpr std::string_view kCountField = "COUNT";
// Fields the report fills itself; in the report head and page heading they keep the
// report's values (the date of printing, not a record's date column).
const std::unordered_set<std::string> kBuiltIns = {"DATE",   "DATETIME", "TIME",
                                                   "PAGENO", "LINENO",   "TAB"};

// Decimals of the slot of level that shows the field owner (its own or an alias slot);
// -1 when no slot of the level shows it.
int SlotDecimals(ReportModel& model, int level, const FieldKey& owner) {
    const LevelTable* levels = model.ActiveLevels();
    const int count = levels != nullptr ? levels->SlotCount(level) : 0;
    const tRNAMEList& names = model.ActiveNames();
    for (int n = 1; n <= count; ++n) {
        const auto alias = names.AliasOf(level, n);
        if ((owner.level == level && owner.number == n) || (alias && *alias == owner)) {
            int width = 0;
            int decimals = 0;
            model.FormatByNumber(level, n, width, decimals);
            return decimals < 0 ? 0 : decimals;
        }
    }
    return -1;
}

// True when text is a number written as a fixed-point text of `decimals` decimals gives
// it back: an optional "-", no leading zero, exactly that many decimals and at most 15
// digits (which a double holds exactly enough to be written back unchanged).
bool IsFixedWith(std::string_view text, int decimals) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    const std::size_t point = text.size() - static_cast<std::size_t>(decimals) - 1;
    if (text.size() < static_cast<std::size_t>(decimals) + 2 || text.size() > 16 ||
        text[point] != '.') {
        return false;
    }
    if (text[0] == '0' && point != 1) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != point && (text[i] < '0' || text[i] > '9')) return false;
    }
    return true;
}

}  // namespace

RecordFeeder::RecordFeeder(TQuillon& report, data::DataSource& source,
                           std::vector<int> group_columns, ReportModel& model)
    : report_(report), source_(source), group_columns_(std::move(group_columns)) {
    std::unordered_set<std::string> seen;
    for (const tRNAMEList::Entry& entry : model.ActiveNames().Entries()) {
        if (entry.name.empty() || entry.has_expression || !seen.insert(entry.name).second) {
            continue;
        }
        Field field;
        field.name = entry.name;
        field.column = source_.ColumnIndex(entry.name);
        if (field.column < 0 && entry.name != kCountField) continue;
        field.in_detail = DetailSlotCarrying(model, entry.name) > 0;
        field.built_in = kBuiltIns.count(entry.name) > 0;
        for (int level = 0; level < kLevelCount; ++level) {
            const int decimals = SlotDecimals(model, level, entry.key);
            field.decimals[static_cast<std::size_t>(level)] = decimals < 0 ? 0 : decimals;
            if (level >= rlSum01 && decimals >= 0) field.in_sum_lines = true;
        }
        fields_.push_back(std::move(field));
    }
    for (const tRNAMEList::Entry& entry : model.ActiveNames().Entries()) {
        has_expressions_ = has_expressions_ || entry.has_expression;
    }
    last_.resize(fields_.size());
    numeric_.assign(fields_.size(), true);
    slots_.assign(fields_.size(), tRNAMEList::npos);
    numbers_.resize(source_.Columns().size());
    totals_.assign(group_columns_.size() + 1, std::vector<double>(fields_.size(), 0.0));
    counts_.assign(group_columns_.size() + 1, 0);
    printed_totals_.assign(fields_.size(), 0.0);
    current_numbers_.assign(fields_.size(), 0.0);
}

void RecordFeeder::Attach() {
    report_.OnNext = [this](TQuillon&, bool& next) { Next(next); };
    report_.OnGetGroupIndex = [this](TQuillon&, TReportLevel level, std::string& index) {
        const std::size_t inner = static_cast<std::size_t>(level - rlSum01);
        if (!has_record_ || inner >= group_columns_.size()) return;
        // Sum level 1 is the innermost group, the last one given.
        const int column = group_columns_[group_columns_.size() - 1 - inner];
        index.assign(source_.Value(static_cast<std::size_t>(column)));
    };
    report_.OnGetHeadLine = [this](TQuillon&) { FillFromRecord(rlHead); };
    report_.OnGetNewPgLine = [this](TQuillon&) { FillFromRecord(rlNewPage); };
    report_.OnGetDetailHeadLine = [this](TQuillon&) { FillFromRecord(rlDetailHead); };
    report_.OnGetDetailLine = [this](TQuillon&) { FillFromRecord(rlDetail); };
    report_.OnDetailSum = [this](TQuillon&) { Account(); };
    report_.OnGetSumLine = [this](TQuillon&, TReportLevel level) { FillSums(level); };
    report_.OnChangeIndex = [this](TQuillon&, TReportLevel level) { CloseGroup(level); };
}

tRNAMEList& RecordFeeder::Names() {
    tRNAMEList& names = report_.Model().ActiveNames();
    if (slots_table_ != &names || slots_revision_ != names.Revision()) {
        for (std::size_t i = 0; i < fields_.size(); ++i) slots_[i] = names.IndexOf(fields_[i].name);
        slots_table_ = &names;
        slots_revision_ = names.Revision();
    }
    return names;
}

const double* RecordFeeder::NumberIn(int column) {
    ColumnNumber& number = numbers_[static_cast<std::size_t>(column)];
    if (number.record != record_stamp_) {
        number.record = record_stamp_;
        const auto value = ReadNumber(text::Trim(source_.Value(static_cast<std::size_t>(column))));
        number.is_number = value.has_value();
        number.value = value.value_or(0.0);
    }
    return number.is_number ? &number.value : nullptr;
}

void RecordFeeder::Next(bool& next) {
    if (current_unprinted_) {
        // The record's line has been printed: it counts in the next page footer.
        for (std::size_t i = 0; i < printed_totals_.size(); ++i) {
            printed_totals_[i] += current_numbers_[i];
        }
        ++printed_count_;
        current_unprinted_ = false;
    }
    try {
        has_record_ = source_.Next();
    } catch (const data::DataSourceError& e) {
        source_error_ = e.what();
        throw;
    }
    ++record_stamp_;
    next = has_record_;
}

void RecordFeeder::FillFromRecord(int level) {
    if (!has_record_) return;
    const bool heading = level == rlHead || level == rlNewPage;
    tRNAMEList& names = Names();
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const Field& field = fields_[i];
        if (field.column < 0 || (heading && field.built_in)) continue;
        const int decimals = field.decimals[static_cast<std::size_t>(level)];
        const double* number = decimals > 0 ? NumberIn(field.column) : nullptr;
        const std::string_view value = source_.Value(static_cast<std::size_t>(field.column));
        if (number != nullptr && IsFixedWith(text::Trim(value), decimals)) {
            // Already written as it would be written.
            names.SetValueAt(slots_[i], text::Trim(value));
        } else if (number != nullptr) {
            // A number in a slot with decimals is written with that many.
            const std::size_t room = static_cast<std::size_t>(decimals) + 320;
            if (text_.size() < room) text_.resize(room);
            const auto written = std::to_chars(text_.data(), text_.data() + text_.size(), *number,
                                               std::chars_format::fixed, decimals);
            names.SetValueAt(slots_[i],
                             std::string_view(text_.data(), written.ec == std::errc()
                                                                ? static_cast<std::size_t>(
                                                                      written.ptr - text_.data())
                                                                : 0));
        } else {
            names.SetValueAt(slots_[i], value);
        }
    }
}

void RecordFeeder::Account() {
    ++records_;
    if (on_record) on_record(records_);
    for (std::size_t& count : counts_) ++count;
    current_unprinted_ = true;
    std::fill(current_numbers_.begin(), current_numbers_.end(), 0.0);
    // Totals and last values are shown by sum lines; a calculated field or the second
    // parse may read any field, so with them every field is kept.
    const bool keep_all = has_expressions_ || report_.Options().Contains(prDoubleParse);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const Field& field = fields_[i];
        if (field.column < 0 || !(keep_all || field.in_sum_lines)) continue;
        if (numeric_[i]) {
            const std::string_view value = source_.Value(static_cast<std::size_t>(field.column));
            if (text::Trim(value).empty()) continue;
            if (const double* number = NumberIn(field.column)) {
                for (std::vector<double>& totals : totals_) totals[i] += *number;
                current_numbers_[i] = *number;
                continue;
            }
            numeric_[i] = false;
        }
        // Sum lines show the last value of a field that is not a number.
        last_[i].assign(source_.Value(static_cast<std::size_t>(field.column)));
    }
}

int RecordFeeder::GroupOf(int level) const {
    const int inner = level - rlSum01;
    if (inner >= 0 && inner < static_cast<int>(group_columns_.size())) return inner;
    return static_cast<int>(group_columns_.size());  // the whole report
}

void RecordFeeder::FillSums(int level) {
    const std::size_t group = static_cast<std::size_t>(GroupOf(level));
    const bool footer = level == rlFooter;
    const bool engine_sums = report_.Options().Contains(prAutoSum) && !footer;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const Field& field = fields_[i];
        const int decimals = field.decimals[static_cast<std::size_t>(level)];
        std::string text;
        if (field.name == kCountField) {
            text = std::to_string(footer ? printed_count_ : counts_[group]);
        } else if (numeric_[i] && records_ > 0) {
            const double total = footer ? printed_totals_[i]
                                 : engine_sums && field.in_detail
                                     ? report_.SumByName(level, field.name)
                                     : totals_[group][i];
            text = text::Trim(NumToStr(total, 0, decimals));
        } else {
            text = last_[i];
        }
        report_.FieldByName(field.name).SetAsString(text);
    }
}

void RecordFeeder::CloseGroup(int level) {
    const int inner = level - rlSum01;
    // The outermost group ends: the next line starts a new page (at the end of the data the
    // report end stays on the page).
    if (page_per_group_ && inner + 1 == static_cast<int>(group_columns_.size())) {
        report_.NewPageAfter(rlDetail);
    }
    if (inner < 0 || inner >= static_cast<int>(group_columns_.size())) return;
    std::fill(totals_[static_cast<std::size_t>(inner)].begin(),
              totals_[static_cast<std::size_t>(inner)].end(), 0.0);
    counts_[static_cast<std::size_t>(inner)] = 0;
}

}  // namespace quillon::app
