#include "engine/sums.h"

#include "calc/number_reader.h"
#include "engine/report_model.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

const std::vector<SumCell> kNoCells;

}  // namespace

int InnermostSumLevel(const LevelTable* levels) {
    if (levels != nullptr) {
        for (int level = rlSum01; level <= rlSum10; ++level) {
            if (levels->Has(level)) return level;
        }
    }
    return rlEnd;
}

int NextSumLevel(const LevelTable* levels, int level) {
    if (levels != nullptr) {
        for (int next = level + 1; next < rlEnd; ++next) {
            if (levels->Has(next)) return next;
        }
    }
    return rlEnd;
}

int CalcSumLevel(const LevelTable* levels, int current_level) {
    if (current_level >= rlSum01 && current_level <= rlEnd) return current_level;
    return InnermostSumLevel(levels);
}

std::vector<SumCell>* ReportSums::ListOf(int level) {
    if (level < kFirst || level > rlEnd) return nullptr;
    return &sums_[static_cast<std::size_t>(level - kFirst)];
}

const std::vector<SumCell>& ReportSums::Cells(int level) const {
    if (level < kFirst || level > rlEnd) return kNoCells;
    return sums_[static_cast<std::size_t>(level - kFirst)];
}

void ReportSums::Clear() {
    for (auto& list : sums_) {
        list.clear();
        list.shrink_to_fit();
    }
}

void ReportSums::DetailLineAutoSum(ReportModel& model) {
    std::vector<SumCell>& cells = *ListOf(InnermostSumLevel(model.ActiveLevels()));
    const auto add = [&cells](int n, std::string_view value) {
        if (cells.size() < static_cast<std::size_t>(n)) cells.resize(static_cast<std::size_t>(n));
        SumCell& cell = cells[static_cast<std::size_t>(n - 1)];
        if (!cell.Numeric) return;
        const std::string_view text = text::Trim(value);
        if (text.empty()) return;
        if (const auto number = ReadNumber(text)) {
            cell.Value += *number;
        } else {
            cell.Numeric = false;
        }
    };
    // The slots of the detail level are known with their fields: no lookup per slot. The
    // slots are numbered from 1 without gaps, so the first one without a field ends them.
    const std::vector<SlotFormat>& slots = model.SlotsOf(rlDetail).formats;
    tRNAMEList& names = model.ActiveNames();
    int n = 1;
    for (; n <= static_cast<int>(slots.size()); ++n) {
        const std::size_t field = slots[static_cast<std::size_t>(n - 1)].field;
        if (field == tRNAMEList::npos) break;
        add(n, names.ValueAt(field));
    }
    // Beyond the template's slots (and to leave the same field current as a lookup of
    // every slot would): the table itself.
    for (; n <= kMaxSlotsPerLevel; ++n) {
        if (!names.FindByNumber(rlDetail, n)) break;
        add(n, names.AsStringView());
    }
}

void ReportSums::RollUp(int level, const ReportModel& model) {
    const LevelTable* levels = model.ActiveLevels();
    if (level < rlSum01 || level > rlSum10 || levels == nullptr || !levels->Has(level)) return;
    const int innermost = InnermostSumLevel(levels);
    if (innermost == rlEnd) return;
    const std::vector<SumCell>& inner = *ListOf(innermost);
    std::vector<SumCell>& from = *ListOf(level);
    const int next = NextSumLevel(levels, level);
    std::vector<SumCell>* targets[2] = {ListOf(next), next == rlFooter ? ListOf(rlEnd) : nullptr};
    const std::size_t count = inner.size();
    for (std::vector<SumCell>* target : targets) {
        if (target != nullptr && target->size() < count) target->resize(count);
    }
    // A cell missing at level (the application closed a level directly) counts as 0.
    for (std::size_t i = 0; i < count; ++i) {
        const double value = i < from.size() ? from[i].Value : 0.0;
        if (inner[i].Numeric) {
            for (std::vector<SumCell>* target : targets) {
                if (target != nullptr) (*target)[i].Value += value;
            }
        }
        if (i < from.size()) from[i].Value = 0.0;
    }
}

double ReportSums::SumByNumber(int level, int field_level, int field_no,
                               const ReportModel& model) const {
    if (level < rlSum01 || level > rlEnd) return 0.0;
    int width = 0;
    int decimals = 0;
    model.FormatByNumber(field_level, field_no, width, decimals);
    if (width < 0 || field_no < 1) return 0.0;
    const std::vector<SumCell>& cells = Cells(level);
    if (cells.size() < static_cast<std::size_t>(field_no)) return 0.0;
    return cells[static_cast<std::size_t>(field_no - 1)].Value;
}

int DetailSlotCarrying(ReportModel& model, std::string_view name) {
    const std::string key = text::AsciiUpperCase(text::Trim(name));
    if (key.empty()) return 0;
    const tRNAMEList& names = model.ActiveNames();
    const tRNAMEList::Entry* owner = nullptr;
    for (const tRNAMEList::Entry& entry : names.Entries()) {
        if (entry.name == key) {
            owner = &entry;
            break;
        }
    }
    if (owner == nullptr) return 0;
    if (owner->key.level == rlDetail) return owner->key.number;
    // The name belongs to another level; a detail slot may reuse it as an alias.
    const LevelTable* levels = model.ActiveLevels();
    const int count = levels != nullptr ? levels->SlotCount(rlDetail) : 0;
    for (int n = 1; n <= count; ++n) {
        const auto alias = names.AliasOf(rlDetail, n);
        if (alias && *alias == owner->key) return n;
    }
    return 0;
}

double ReportSums::SumByName(int level, std::string_view name, ReportModel& model) const {
    if (level < rlSum01 || level > rlEnd) return 0.0;
    const int slot = DetailSlotCarrying(model, name);
    if (slot == 0) return 0.0;
    return SumByNumber(level, rlDetail, slot, model);
}

}  // namespace quillon
