#include "engine/field_table.h"

#include <atomic>
#include <charconv>
#include <cmath>

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

std::uint64_t NextRevision() {
    static std::atomic<std::uint64_t> revision{0};
    return ++revision;
}

}  // namespace

std::size_t tRNAMEList::NameHash::operator()(std::string_view s) const {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a over the upper-cased bytes
    for (const char c : s) {
        h ^= static_cast<unsigned char>(text::AsciiUpper(c));
        h *= 1099511628211ull;
    }
    return static_cast<std::size_t>(h);
}

bool tRNAMEList::NameEqual::operator()(std::string_view a, std::string_view b) const {
    // Names are stored upper-cased and mostly looked up as written in the template.
    return a.size() == b.size() && (a == b || text::EqualsIgnoreCase(a, b));
}

std::string tRNAMEList::GetAsString() const {
    if (current_ == kNone) return {};
    const ValueCell& cell = cells_[entry_cell_[current_]];
    return cell.generation == generation_ ? cell.value : std::string();
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

void tRNAMEList::SetAsNumber(double value) {
    if (current_ == kNone) return;
    if (!std::isfinite(value)) {
        SetAsString({});
        return;
    }
    const std::optional<FieldKey> key = CurrentKey();
    const int decimals = slot_decimals_ && key ? slot_decimals_(*key) : -1;
    // Room for the 309 digits of the largest double and the decimals.
    std::string text(static_cast<std::size_t>(decimals > 0 ? decimals : 0) + 330, '\0');
    char* const first = text.data();
    char* const last = text.data() + text.size();
    std::to_chars_result written{};
    if (decimals > 0) {
        written = std::to_chars(first, last, value, std::chars_format::fixed, decimals);
    } else if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        written = std::to_chars(first, last, static_cast<long long>(value));
    } else {
        written = std::to_chars(first, last, value);
    }
    text.resize(written.ec == std::errc() ? static_cast<std::size_t>(written.ptr - first) : 0);
    SetAsString(text);
}

void tRNAMEList::SetAsInteger(long long value) {
    if (current_ == kNone) return;
    const std::optional<FieldKey> key = CurrentKey();
    const int decimals = slot_decimals_ && key ? slot_decimals_(*key) : -1;
    std::string text = std::to_string(value);
    if (decimals > 0) text.append(".").append(static_cast<std::size_t>(decimals), '0');
    SetAsString(text);
}

void tRNAMEList::SetAsURL(std::string_view url) {
    std::string link = "<A href=";
    link += url;
    link += '>';
    link += url;
    link += "</A>";
    SetAsString(link);
}

void tRNAMEList::EnsureSlotTables() {
    if (by_key_.empty()) by_key_.assign(kSlotKeys, kNoIndex);
    if (alias_of_.empty()) alias_of_.assign(kSlotKeys, 0);
    if (cell_of_.empty()) cell_of_.assign(kSlotKeys, kNoIndex);
}

std::size_t tRNAMEList::CellFor(std::uint16_t key) {
    std::uint32_t& cell = cell_of_[key];
    if (cell == kNoIndex) {
        cell = static_cast<std::uint32_t>(cells_.size());
        cells_.emplace_back();
    }
    return cell;
}

void tRNAMEList::AddName(int level, int number, std::string_view text) {
    current_ = kNone;
    if (!IsSlotKey(level, number)) return;
    EnsureSlotTables();
    revision_ = NextRevision();
    const std::size_t eq = text.find('=');
    const std::string name =
        text::AsciiUpperCase(text::Trim(eq == std::string_view::npos ? text : text.substr(0, eq)));
    const std::uint16_t key = Pack(level, number);

    if (!name.empty()) {
        if (auto found = by_name_.find(name); found != by_name_.end()) {
            const FieldKey owner = entries_[found->second].key;
            if (owner.level != level || owner.number != number) {
                if (alias_of_[key] == 0) {
                    alias_of_[key] = Pack(owner.level, owner.number);
                    // The alias reads the first entry of the owner's slot.
                    const std::uint32_t first = by_key_[Pack(owner.level, owner.number)];
                    if (first != kNoIndex && entries_[first].has_expression) {
                        expression_levels_[static_cast<std::size_t>(level)] = true;
                    }
                }
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
        expression_levels_[static_cast<std::size_t>(level)] = true;
    }
    const std::size_t index = entries_.size();
    entries_.push_back(std::move(entry));
    entry_cell_.push_back(CellFor(key));
    if (!name.empty()) by_name_.try_emplace(name, index);
    if (by_key_[key] == kNoIndex) by_key_[key] = static_cast<std::uint32_t>(index);
}

bool tRNAMEList::FindByName(std::string_view name, int& level, int& number) {
    current_ = IndexOf(name);
    if (current_ == kNone) return false;
    level = entries_[current_].key.level;
    number = entries_[current_].key.number;
    return true;
}

bool tRNAMEList::FindByName(std::string_view name) {
    int level = 0, number = 0;
    return FindByName(name, level, number);
}

bool tRNAMEList::FindByNumber(int level, int number) {
    current_ = IndexOfSlot(level, number);
    return current_ != kNone;
}

std::size_t tRNAMEList::IndexOfSlot(int level, int number) const {
    if (!IsSlotKey(level, number) || by_key_.empty()) return kNone;
    std::uint16_t key = Pack(level, number);
    if (alias_of_[key] != 0) key = alias_of_[key];
    return by_key_[key] == kNoIndex ? kNone : by_key_[key];
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
    alias_of_.clear();
    expression_levels_.fill(false);
    revision_ = NextRevision();
    current_ = kNone;
}

std::size_t tRNAMEList::IndexOf(std::string_view name) const {
    const std::string_view key = text::Trim(name);
    if (key.empty()) return kNone;
    const auto found = by_name_.find(key);
    return found == by_name_.end() ? kNone : found->second;
}

bool tRNAMEList::LevelHasExpression(int level) const {
    return IsReportLevel(level) && expression_levels_[static_cast<std::size_t>(level)];
}

std::optional<FieldKey> tRNAMEList::CurrentKey() const {
    if (current_ == kNone) return std::nullopt;
    return entries_[current_].key;
}

std::optional<FieldKey> tRNAMEList::AliasOf(int level, int number) const {
    if (!IsSlotKey(level, number) || alias_of_.empty()) return std::nullopt;
    const std::uint16_t owner = alias_of_[Pack(level, number)];
    if (owner == 0) return std::nullopt;
    return FieldKey{owner / 256, owner % 256};
}

}  // namespace quillon
