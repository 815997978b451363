#pragma once
// tRNAMEList: the field table of one format slot. It maps field names to slots
// (level, slot number), records aliases (a name used in several slots), keeps the current
// value of every field and is used cursor-style: FindByName / FindByNumber position the
// cursor, the As... properties read and write the current field.
//
//   model.FieldByName("TOTAL").SetAsString("12.50");
//
// Names are case-insensitive and trimmed. A name lookup is a hash lookup that builds no
// string, a slot lookup an array index; a value write after a lookup touches only the
// current field. Code that writes the same fields for every record finds them once
// (IndexOf) and writes by index (SetValueAt).

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillon {

// A field slot: level 0..15 and slot number 1..250.
struct FieldKey {
    int level = 0;
    int number = 0;
    friend bool operator==(const FieldKey&, const FieldKey&) = default;
};

class tRNAMEList {
  public:
    // One registered slot as the loader registered it.
    struct Entry {
        FieldKey key;
        std::string name;  // upper-cased and trimmed; empty for an unnamed slot
        bool has_expression = false;
        std::string expression;  // lower-cased, without "=", one blank before each run of "*"
    };

    tRNAMEList() = default;
    virtual ~tRNAMEList() = default;
    tRNAMEList(const tRNAMEList&) = default;
    tRNAMEList& operator=(const tRNAMEList&) = default;
    tRNAMEList(tRNAMEList&&) = default;
    tRNAMEList& operator=(tRNAMEList&&) = default;

    // --- the current field -------------------------------------------------------------
    // Value of the current field; empty without one or when it was not set since ClrVAL.
    virtual std::string GetAsString() const;
    // Name of the current field (upper-case, whole); "*" without a current field.
    virtual std::string GetAsName() const;
    // Link target held by the current field: the text after "<A href=" up to ">", or
    // the value itself when it holds no link.
    virtual std::string GetAsURL() const;
    // Expression of a NAME=EXPRESSION field (lower-case, without "="); empty for other
    // fields; "*" without a current field.
    virtual std::string GetAsExpression() const;
    // Slot number of the current field; 0 without one.
    virtual int GetAsNumber() const;
    // Sets the current field's value (kept whole, any length); ignored without a field.
    virtual void SetAsString(std::string_view value);
    // Stores "<A href=" + U + ">" + U + "</A>".
    virtual void SetAsURL(std::string_view url);
    // Sets the current field to a number written as a report writes numbers: with the
    // decimals of the field's slot (12.5 in a "????.??" slot gives "12.50"); in a slot
    // without decimals, integers without a point and other numbers in their shortest
    // exact form. Not-a-number and infinities give an empty value. Ignored without a field.
    void SetAsNumber(double value);
    void SetAsInteger(long long value);
    // How SetAsNumber finds the decimals of a slot (-1: none); the report model sets it.
    void SetSlotDecimals(std::function<int(const FieldKey&)> decimals) {
        slot_decimals_ = std::move(decimals);
    }

    std::string AsString() const { return GetAsString(); }
    // The current field's value as GetAsString gives it, without a copy; valid until the
    // table is changed. Line building reads values through it.
    std::string_view AsStringView() const;
    std::string AsName() const { return GetAsName(); }
    std::string AsURL() const { return GetAsURL(); }
    std::string AsExpression() const { return GetAsExpression(); }
    int AsNumber() const { return GetAsNumber(); }

    // --- registration and lookup --------------------------------------------------------
    // Registers slot (level, number) under text: a name, NAME=EXPRESSION, or empty for an
    // unnamed slot. A name already registered for another slot makes this slot an alias
    // of that one (it shares its value). Drops the cursor.
    void AddName(int level, int number, std::string_view text);
    // Positions the cursor on the field called name; false (no current field) when there
    // is none. An empty name finds nothing.
    bool FindByName(std::string_view name, int& level, int& number);
    bool FindByName(std::string_view name);
    // Positions the cursor on slot (level, number), following an alias to the slot that
    // owns the name. Level outside 0..15 or number outside 1..250: no current field.
    bool FindByNumber(int level, int number);
    // Empties every value and drops the cursor.
    void ClrVAL();
    // Empties the name table and the aliases and drops the cursor.
    void ClrREK();

    // --- fields found once ----------------------------------------------------------------
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    // The field FindByName(name) would make current, or npos; the index stays valid while
    // Revision() is unchanged. Does not move the cursor.
    std::size_t IndexOf(std::string_view name) const;
    // The field's value as AsStringView reads it, and SetAsString on it, by index.
    std::string_view ValueAt(std::size_t index) const;
    void SetValueAt(std::size_t index, std::string_view value);
    // The field FindByNumber(level, number) would make current, or npos; the index stays
    // valid while Revision() is unchanged. Does not move the cursor.
    std::size_t IndexOfSlot(int level, int number) const;
    // Makes field index current, as the lookup that gave it would (npos: no current field).
    void Select(std::size_t index) { current_ = index < entries_.size() ? index : kNone; }
    // Changes whenever names are registered or cleared; no two tables share a revision,
    // so a (table, revision) pair names one registration state.
    std::uint64_t Revision() const { return revision_; }
    // False when no slot of level (directly or through an alias) can have an expression:
    // such a level has no calculated field.
    bool LevelHasExpression(int level) const;

    // --- inspection ---------------------------------------------------------------------
    bool HasCurrent() const { return current_ != kNone; }
    // The slot that owns the current field (after following an alias).
    std::optional<FieldKey> CurrentKey() const;
    // Registered slots in registration order (aliases are not entries).
    const std::vector<Entry>& Entries() const { return entries_; }
    // The slot that slot (level, number) is an alias of, if it is one.
    std::optional<FieldKey> AliasOf(int level, int number) const;

  private:
    std::function<int(const FieldKey&)> slot_decimals_;
    static constexpr std::size_t kNone = npos;
    static constexpr std::uint32_t kNoIndex = static_cast<std::uint32_t>(-1);
    // level * 256 + number: one place per slot key in the flat tables below.
    static constexpr std::size_t kSlotKeys = 16 * 256;
    static std::uint16_t Pack(int level, int number) {
        return static_cast<std::uint16_t>(level * 256 + number);
    }
    struct ValueCell {
        std::string value;
        std::uint64_t generation = 0;  // the value is set when this equals generation_
    };
    // Names compared ASCII-case-insensitively, so that a lookup needs no upper-cased copy.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const;
    };
    struct NameEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    std::size_t CellFor(std::uint16_t key);
    void EnsureSlotTables();

    std::vector<Entry> entries_;
    std::vector<std::size_t> entry_cell_;  // entries_ -> cells_
    std::unordered_map<std::string, std::size_t, NameHash, NameEqual> by_name_;  // first entry
    std::vector<std::uint32_t> by_key_;    // slot key -> first entry of the slot
    std::vector<std::uint16_t> alias_of_;  // alias slot key -> owner slot key, 0: none
    std::vector<std::uint32_t> cell_of_;   // slot key -> cells_
    std::vector<ValueCell> cells_;
    std::array<bool, 16> expression_levels_{};
    std::uint64_t generation_ = 1;
    std::uint64_t revision_ = 0;
    std::size_t current_ = kNone;  // entries_ index of the current field
};

// Line building reads every value and record feeders write them: these stay inline.

inline std::string_view tRNAMEList::AsStringView() const {
    return current_ == kNone ? std::string_view() : ValueAt(current_);
}

inline std::string_view tRNAMEList::ValueAt(std::size_t index) const {
    if (index >= entry_cell_.size()) return {};
    const ValueCell& cell = cells_[entry_cell_[index]];
    return cell.generation == generation_ ? std::string_view(cell.value) : std::string_view();
}

inline void tRNAMEList::SetValueAt(std::size_t index, std::string_view value) {
    if (index >= entry_cell_.size()) return;
    ValueCell& cell = cells_[entry_cell_[index]];
    const char* own = cell.value.data();
    if (value.data() >= own && value.data() <= own + cell.value.size()) {
        cell.value.assign(value);  // a part of the value itself
    } else {
        cell.value.clear();  // appending into the kept room is the cheapest copy
        cell.value.append(value);
    }
    cell.generation = generation_;
}

}  // namespace quillon
