#include "engine/field_table.h"

#include "engine/report_level.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

constexpr int kMaxSlot = 250;

bool IsSlotKey(int level, int number) {
    return IsReportLevel(level) && number >= 1 && number <= kMaxSlot;
}

std::string AsciiLowerCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = text::AsciiLower(c);
    return out;
}

// One blank before each run of "*", so that a power "v**2" keeps its two asterisks
// together and a product "a*b" reads "a *b".
std::string SpaceStars(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 8);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '*' && (i == 0 || s[i - 1] != '*')) out += ' ';
        out += s[i];
    }
    return out;
}

}  // namespace

std::string tRNAMEList::GetAsString() const {
    if (current_ == kNone) return {};
    const ValueCell& cell = cells_[entry_cell_[current_]];
    return cell.generation == generation_ ? cell.value : std::string();
}

std::string_view tRNAMEList::AsStringView() const {
    if (current_ == kNone) return {};
    const ValueCell& cell = cells_[entry_cell_[current_]];
    return cell.generation == generation_ ? std::string_view(cell.value) : std::string_view();
}

std::string tRNAMEList::GetAsName() const {
    if (current_ == kNone) return "*";
    return entries_[current_].name;
}

std::string tRNAMEList::GetAsURL() const {
    std::string value = GetAsString();
    static constexpr std::string_view kTag = "<A href=";
    const std::size_t at = value.find(kTag);
    if (at == std::string::npos) return value;
    const std::size_t start = at + kTag.size();
    const std::size_t close = value.find('>', start);
    return value.substr(start, close == std::string::npos ? std::string::npos : close - start);
}

std::string tRNAMEList::GetAsExpression() const {
    if (current_ == kNone) return "*";
    const Entry& e = entries_[current_];
    return e.has_expression ? e.expression : std::string();
}

int tRNAMEList::GetAsNumber() const {
    return current_ == kNone ? 0 : entries_[current_].key.number;
}

void tRNAMEList::SetAsString(std::string_view value) {
    if (current_ == kNone) return;
    ValueCell& cell = cells_[entry_cell_[current_]];
    cell.value.assign(value);
    cell.generation = generation_;
}

void tRNAMEList::SetAsURL(std::string_view url) {
    std::string link = "<A href=";
    link += url;
    link += '>';
    link += url;
    link += "</A>";
    SetAsString(link);
}

std::size_t tRNAMEList::CellFor(std::uint16_t key) {
    auto [it, inserted] = cell_of_.try_emplace(key, cells_.size());
    if (inserted) cells_.emplace_back();
    return it->second;
}

void tRNAMEList::AddName(int level, int number, std::string_view text) {
    current_ = kNone;
    if (!IsSlotKey(level, number)) return;
    const std::size_t eq = text.find('=');
    const std::string name =
        text::AsciiUpperCase(text::Trim(eq == std::string_view::npos ? text : text.substr(0, eq)));
    const std::uint16_t key = Pack(level, number);

    if (!name.empty()) {
        if (auto found = by_name_.find(name); found != by_name_.end()) {
            const FieldKey owner = entries_[found->second].key;
            if (owner.level != level || owner.number != number) {
                aliases_.try_emplace(key, owner);
                return;
            }
            // The same slot registered twice under its own name: a second entry, as before.
        }
    }

    Entry entry;
    entry.key = FieldKey{level, number};
    entry.name = name;
    if (eq != std::string_view::npos) {
        const std::string lowered = AsciiLowerCase(text::Trim(text.substr(eq)));
        entry.has_expression = true;
        entry.expression = SpaceStars(std::string_view(lowered).substr(1));
    }
    const std::size_t index = entries_.size();
    entries_.push_back(std::move(entry));
    entry_cell_.push_back(CellFor(key));
    if (!name.empty()) by_name_.try_emplace(name, index);
    by_key_.try_emplace(key, index);
}

bool tRNAMEList::FindByName(std::string_view name, int& level, int& number) {
    current_ = kNone;
    const std::string key = text::AsciiUpperCase(text::Trim(name));
    if (key.empty()) return false;
    const auto found = by_name_.find(key);
    if (found == by_name_.end()) return false;
    current_ = found->second;
    level = entries_[current_].key.level;
    number = entries_[current_].key.number;
    return true;
}

bool tRNAMEList::FindByName(std::string_view name) {
    int level = 0, number = 0;
    return FindByName(name, level, number);
}

bool tRNAMEList::FindByNumber(int level, int number) {
    current_ = kNone;
    if (!IsSlotKey(level, number)) return false;
    if (const auto alias = aliases_.find(Pack(level, number)); alias != aliases_.end()) {
        level = alias->second.level;
        number = alias->second.number;
    }
    const auto found = by_key_.find(Pack(level, number));
    if (found == by_key_.end()) return false;
    current_ = found->second;
    return true;
}

void tRNAMEList::ClrVAL() {
    ++generation_;
    current_ = kNone;
}

void tRNAMEList::ClrREK() {
    entries_.clear();
    entry_cell_.clear();
    by_name_.clear();
    by_key_.clear();
    aliases_.clear();
    current_ = kNone;
}

std::optional<FieldKey> tRNAMEList::CurrentKey() const {
    if (current_ == kNone) return std::nullopt;
    return entries_[current_].key;
}

std::optional<FieldKey> tRNAMEList::AliasOf(int level, int number) const {
    if (!IsSlotKey(level, number)) return std::nullopt;
    const auto found = aliases_.find(Pack(level, number));
    if (found == aliases_.end()) return std::nullopt;
    return found->second;
}

}  // namespace quillon
