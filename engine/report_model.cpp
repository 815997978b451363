#include "engine/report_model.h"

#include "engine/clock_formats.h"

#include <charconv>
#include <iomanip>
#include <locale>
#include <sstream>

namespace quillon {

// --- LevelTable ----------------------------------------------------------------------------

LevelLists& LevelTable::Create(int level) {
    auto& entry = levels_.at(static_cast<std::size_t>(level));
    if (!entry) entry = std::make_unique<LevelLists>();
    return *entry;
}

int LevelTable::SlotCount(int level) const {
    const LevelLists* lists = Get(level);
    if (lists == nullptr) return 0;
    int count = 0;
    while (count < kMaxSlotsPerLevel && !(*lists)[static_cast<std::size_t>(count) + 1].Empty()) {
        ++count;
    }
    return count;
}

// --- [DEFAULT] values ------------------------------------------------------------------------

std::vector<DefaultValue> ReadDefaultValues(const SettingsFile& settings) {
    std::vector<DefaultValue> values;
    for (const std::string& line : settings.RawLines("DEFAULT")) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        values.push_back(DefaultValue{std::string(text::Trim(std::string_view(line).substr(0, eq))),
                                      line.substr(eq + 1)});
    }
    return values;
}

// --- ReportModel ---------------------------------------------------------------------------

ReportModel::ReportModel() {
    // A number written into a field takes the decimals of the field's slot in the format
    // the field table belongs to.
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        slots_[i].names.SetSlotDecimals([this, i](const FieldKey& key) {
            const LevelTable* table = slots_[i].levels.get();
            const LevelLists* lists = table != nullptr ? table->Get(key.level) : nullptr;
            if (lists == nullptr || key.number < 0 || key.number > kMaxSlotsPerLevel) return -1;
            const EilPlist& list = (*lists)[static_cast<std::size_t>(key.number)];
            return list.Empty() ? -1 : list[0].Y;
        });
    }
}

void ReportModel::SetActiveFormat(int value) {
    if (value >= 1 && value <= kFormatSlots) active_ = value;
}

ReportModel::FormatSlot* ReportModel::SlotAt(int slot) {
    return (slot >= 1 && slot <= kFormatSlots) ? &slots_[static_cast<std::size_t>(slot) - 1]
                                               : nullptr;
}

const ReportModel::FormatSlot* ReportModel::SlotAt(int slot) const {
    return (slot >= 1 && slot <= kFormatSlots) ? &slots_[static_cast<std::size_t>(slot) - 1]
                                               : nullptr;
}

const LevelTable* ReportModel::Levels(int slot) const {
    const FormatSlot* s = SlotAt(slot);
    return s != nullptr ? s->levels.get() : nullptr;
}

tRNAMEList& ReportModel::Names(int slot) {
    FormatSlot* s = SlotAt(slot);
    return s != nullptr ? s->names : SlotAt(active_)->names;
}

text::TextEncoding ReportModel::Encoding(int slot) const {
    const FormatSlot* s = SlotAt(slot);
    return s != nullptr ? s->encoding : text::TextEncoding::Utf8;
}

void ReportModel::ReleaseLevels() {
    for (FormatSlot& s : slots_) s.levels.reset();
}

void ReportModel::ReleaseFieldTables() {
    for (FormatSlot& s : slots_) {
        s.names.ClrVAL();
        s.names.ClrREK();
    }
}

tRNAMEList& ReportModel::FieldByName(std::string_view name) {
    tRNAMEList& names = ActiveNames();
    names.FindByName(name);
    return names;
}

tRNAMEList& ReportModel::FieldByNumber(int level, int number) {
    tRNAMEList& names = ActiveNames();
    names.FindByNumber(level, number);
    return names;
}

void ReportModel::FormatByNumber(int level, int number, int& width, int& decimals) const {
    width = -1;
    decimals = -1;
    const LevelTable* table = ActiveLevels();
    if (table == nullptr || number < 0 || number > kMaxSlotsPerLevel) return;
    const LevelLists* lists = table->Get(level);
    if (lists == nullptr) return;
    const EilPlist& list = (*lists)[static_cast<std::size_t>(number)];
    if (list.Empty()) return;
    width = list[0].X;
    decimals = list[0].Y;
}

void ReportModel::FormatByName(std::string_view name, int& width, int& decimals) {
    width = -1;
    decimals = -1;
    int level = 0, number = 0;
    if (ActiveNames().FindByName(name, level, number)) {
        FormatByNumber(level, number, width, decimals);
    }
}

void ReportModel::ResetSlotPlans() {
    const FormatSlot& active = slots_[static_cast<std::size_t>(active_) - 1];
    slot_plans_.active = active_;
    slot_plans_.levels = active.levels.get();
    slot_plans_.revision = active.names.Revision();
    slot_plans_.found.fill(false);
}

namespace {

// True when no text of list holds a CR or the line-suppression character (code 27).
bool IsPlainText(const EilPlist& list) {
    for (const DataNodeRec& node : list) {
        if (node.Val.find_first_of("\r\x1b") != std::string::npos) return false;
    }
    return true;
}

}  // namespace

void ReportModel::FindSlotFormats(int level) {
    const auto at = static_cast<std::size_t>(level);
    LevelSlots& found = slot_plans_.levels_slots[at];
    slot_plans_.found[at] = true;
    found.formats.clear();
    found.plain_head = false;
    found.one_line = false;
    found.blank_line.clear();
    const LevelTable* table = ActiveLevels();
    const LevelLists* lists = table != nullptr ? table->Get(level) : nullptr;
    if (lists == nullptr) return;
    found.plain_head = IsPlainText((*lists)[0]);
    const tRNAMEList& names = ActiveNames();
    for (int n = 1; n <= kMaxSlotsPerLevel; ++n) {
        const EilPlist& list = (*lists)[static_cast<std::size_t>(n)];
        if (list.Empty()) break;
        found.formats.push_back(
            SlotFormat{list[0].X, list[0].Y, names.IndexOfSlot(level, n), IsPlainText(list)});
    }
    FindBlankLine(*lists, found);
}

void ReportModel::FindBlankLine(const LevelLists& lists, LevelSlots& found) {
    // The pieces of text in the order the line takes them; only the last may end the line.
    const std::size_t slots = found.formats.size();
    const DataNodeRec* last = nullptr;
    for (std::size_t n = 0; n <= slots; ++n) {
        for (const DataNodeRec& node : lists[n]) {
            if (last != nullptr && last->Val.find('\r') != std::string::npos) return;
            if (node.Val.find('\x1b') != std::string::npos) return;
            last = &node;
        }
    }
    std::string& line = found.blank_line;
    for (const DataNodeRec& node : lists[0]) line += node.Val;
    for (std::size_t n = 1; n <= slots; ++n) {
        SlotFormat& slot = found.formats[n - 1];
        slot.offset = line.size();
        line.append(slot.width > 0 ? static_cast<std::size_t>(slot.width) : 0, ' ');
        for (const DataNodeRec& node : lists[n]) line += node.Val;
    }
    found.one_line = true;
}

// --- built-in fields -------------------------------------------------------------------------

namespace {

// The user's locale for dates and times (LC_TIME / LANG), or the classic one when the
// environment names a locale the system does not have (dates are then ISO 8601).
const std::locale& UserLocale() {
    static const std::locale locale = [] {
        try {
            return std::locale("");
        } catch (const std::exception&) {
            return std::locale::classic();
        }
    }();
    return locale;
}

std::string FormatTime(const std::tm& tm, const char* format) {
    std::ostringstream out;
    out.imbue(UserLocale());
    out << std::put_time(&tm, format);
    return out.str();
}

// The clock fields of one second. Every line of a run fills them; formatting them anew
// for each line would cost more than building the line.
struct ClockTexts {
    std::time_t at = -1;
    std::string date, datetime, time;
};

const ClockTexts& ClockAt(std::time_t now) {
    thread_local ClockTexts texts;
    if (texts.at != now) {
        std::tm tm{};
        localtime_r(&now, &tm);
        static const ClockFormats formats = ClockFormatsFor(UserLocale().name());
        texts.date = FormatTime(tm, formats.date);
        texts.datetime = FormatTime(tm, formats.datetime);
        texts.time = FormatTime(tm, formats.time);
        texts.at = now;
    }
    return texts;
}

}  // namespace

void ReportModel::PutDefaultValues(const BuiltInValues& values) {
    tRNAMEList& names = ActiveNames();
    // The built-in fields are looked up once per registration state of the table.
    BuiltInFields& built_in = built_in_fields_;
    if (built_in.table != &names || built_in.revision != names.Revision()) {
        built_in.table = &names;
        built_in.revision = names.Revision();
        built_in.date = names.IndexOf("DATE");
        built_in.datetime = names.IndexOf("DATETIME");
        built_in.time = names.IndexOf("TIME");
        built_in.page_no = names.IndexOf("PAGENO");
        built_in.line_no = names.IndexOf("LINENO");
        built_in.tab = names.IndexOf("TAB");
    }
    constexpr std::size_t npos = tRNAMEList::npos;
    // The clock is read only for a format that shows it.
    if (built_in.date != npos || built_in.datetime != npos || built_in.time != npos) {
        const ClockTexts& clock = ClockAt(values.now ? *values.now : std::time(nullptr));
        names.SetValueAt(built_in.date, clock.date);
        names.SetValueAt(built_in.datetime, clock.datetime);
        names.SetValueAt(built_in.time, clock.time);
    }
    char digits[24];
    const auto set_number = [&](std::size_t field, int value) {
        if (field == npos) return;
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        names.SetValueAt(field,
                         std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
    };
    set_number(built_in.page_no, values.page_no);
    set_number(built_in.line_no, values.line_no);
    int level = 0, number = 0;
    if (built_in.tab != tRNAMEList::npos && names.FindByName("TAB", level, number)) {
        int width = 0, decimals = 0;
        FormatByNumber(level, number, width, decimals);
        if (width > 0) {
            // A no-break space per position, in the template's own encoding.
            const std::string_view nbsp =
                Encoding(active_) == text::TextEncoding::Utf8 ? "\xC2\xA0" : "\xA0";
            std::string tab;
            tab.reserve(nbsp.size() * static_cast<std::size_t>(width));
            for (int i = 0; i < width; ++i) tab += nbsp;
            names.FindByName("TAB");
            names.SetAsString(tab);
        }
    }
    if (values.defaults != nullptr) {
        for (const DefaultValue& d : *values.defaults) {
            if (names.FindByName(d.key)) names.SetAsString(d.value);
        }
    }
}

}  // namespace quillon
