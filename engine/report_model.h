#pragma once
// ReportModel: the loaded formats of a report and their field tables. A report holds
// three format slots (1 from FormatFile, 2 from FormatFile1, 3 from FormatFile2);
// ActiveFormatNo says which one every field operation addresses. TQuillon owns one
// ReportModel and forwards its field and format operations to it.
//
// A loaded level is 251 text lists: list 0 holds the level's text before its first field
// slot, list n (1..250) the text after slot n up to slot n+1, every node of list n tagged
// with slot n's width (X) and decimals (Y).

#include <array>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/eil_plist.h"
#include "engine/field_table.h"
#include "engine/messages.h"
#include "engine/report_level.h"
#include "platform/core/settings_file.h"
#include "platform/core/text_encoding.h"

namespace quillon {

inline constexpr int kFormatSlots = 3;
inline constexpr int kMaxSlotsPerLevel = 250;
inline constexpr int kMaxSlotWidth = 255;
// The fill characters of templates: "?" fills a field slot, "^" marks its decimal point.
inline constexpr std::string_view FFillChars = "?^";

using LevelLists = std::array<EilPlist, kMaxSlotsPerLevel + 1>;

// The level table of a format slot: one entry per report level, empty when the format
// has no marker for that level.
class LevelTable {
  public:
    bool Has(int level) const { return IsReportLevel(level) && levels_[level] != nullptr; }
    // The lists of a level, or nullptr when the format lacks it (or level is out of range).
    const LevelLists* Get(int level) const { return Has(level) ? levels_[level].get() : nullptr; }
    LevelLists* Get(int level) { return Has(level) ? levels_[level].get() : nullptr; }
    // The lists of a level, created empty when missing. level must be 0..15.
    LevelLists& Create(int level);
    // Number of field slots of a level (0 when absent).
    int SlotCount(int level) const;

  private:
    std::array<std::unique_ptr<LevelLists>, kLevelCount> levels_;
};

// A field slot of a level as line building reads it: its width and decimals (what
// FormatByNumber gives) and the field that fills it (the one FieldByNumber makes current).
struct SlotFormat {
    int width = -1;
    int decimals = -1;
    std::size_t field = tRNAMEList::npos;
    // The text after the slot (up to the next one) holds no CR and no line-suppression
    // character: it never ends or drops a line.
    bool plain_tail = false;
    // Where the slot begins in LevelSlots::blank_line.
    std::size_t offset = 0;
};

// The slots of one level of a format, in order, and whether the text before the first
// one is plain (as SlotFormat::plain_tail).
struct LevelSlots {
    std::vector<SlotFormat> formats;
    bool plain_head = false;
    // The template text of the level makes one output line whatever plain values fill its
    // slots: no line-suppression character, and a CR only in the last piece of text. Then
    // blank_line is that line with every slot filled with blanks (a byte per character).
    bool one_line = false;
    std::string blank_line;
};

// What LoadFormat needs from the report component.
struct LoadSettings {
    TRepLanguage language = laEnglish;
    // Remove the name markup from the template text (run time). The template editor
    // clears it to keep the markup in the text.
    bool strip_names = true;
    // The RTF control word that marks a field name (RTFNameTag).
    std::string rtf_name_tag = "strike";
    // Every message of the load goes here (error, OK button); empty: DefaultHost().
    MessageRoutine message;
};

// One key of section [DEFAULT] of QUILDOC.INI with its value.
struct DefaultValue {
    std::string key;
    std::string value;
};
// The [DEFAULT] section in order: each line's key and the text after its first "=".
std::vector<DefaultValue> ReadDefaultValues(const SettingsFile& settings);

// What PutDefaultValues fills in besides the clock.
struct BuiltInValues {
    int page_no = 1;                                      // PAGENO
    int line_no = 0;                                      // LINENO
    const std::vector<DefaultValue>* defaults = nullptr;  // [DEFAULT] values, may be null
    std::optional<std::time_t> now;                       // the clock; unset: current time
};

class ReportModel {
  public:
    ReportModel();
    // The field tables refer back to their model (for slot formats): not copied or moved.
    ReportModel(const ReportModel&) = delete;
    ReportModel& operator=(const ReportModel&) = delete;

    // --- format slots -------------------------------------------------------------------
    int ActiveFormatNo() const { return active_; }
    // Values outside 1..3 are ignored.
    void SetActiveFormat(int value);

    // The level table of slot 1..3 (nullptr when the slot has none or slot is out of range).
    const LevelTable* Levels(int slot) const;
    const LevelTable* ActiveLevels() const { return Levels(active_); }
    // The field table of slot 1..3 (slot out of range: the active one).
    tRNAMEList& Names(int slot);
    tRNAMEList& ActiveNames() { return slots_[static_cast<std::size_t>(active_) - 1].names; }
    // The encoding of the template loaded into a slot (widths count its characters).
    text::TextEncoding Encoding(int slot) const;
    // The kind of the file loaded last (from its name: ".RTF", ".TXT", else HTML).
    bool IsRTF() const { return is_rtf_; }
    bool IsTXT() const { return is_txt_; }

    // Destroys the level tables of all three slots (end of a run).
    void ReleaseLevels();
    // Empties the field tables of all three slots (end of a run with ClearFieldsList).
    void ReleaseFieldTables();

    // --- field access on the active format ----------------------------------------------
    // Positions the active field table on the named field and returns the table; an
    // unknown name leaves it without a current field (reads empty, writes ignored).
    tRNAMEList& FieldByName(std::string_view name);
    // The same for slot (level, number), following aliases. A level outside 0..15 or a
    // number outside 1..250 addresses nothing.
    tRNAMEList& FieldByNumber(int level, int number);
    // Width and decimals of slot number of level: -1, -1 when the level is absent from
    // the active format or the slot does not exist; 0, 0 for number 0 of a present level.
    void FormatByNumber(int level, int number, int& width, int& decimals) const;
    // The same for the slot that owns name; -1, -1 when the name is unknown.
    void FormatByName(std::string_view name, int& width, int& decimals);
    // Slot number of level in the active format (1 up to the level's slot count), or
    // nullptr for any other number. Found once per loaded format and registration state
    // of its field table, so that filling a slot costs no lookup.
    const SlotFormat* SlotFormatOf(int level, int number) {
        if (!IsReportLevel(level) || number < 1) return nullptr;
        const std::vector<SlotFormat>& formats = SlotsOf(level).formats;
        const auto index = static_cast<std::size_t>(number) - 1;
        return index < formats.size() ? &formats[index] : nullptr;
    }
    // Every slot of level (0..15) of the active format; valid until a format is loaded
    // or released, the active format changes or names are registered.
    const LevelSlots& SlotsOf(int level) {
        if (!SlotPlansValid()) ResetSlotPlans();
        const auto at = static_cast<std::size_t>(level);
        if (!slot_plans_.found[at]) FindSlotFormats(level);
        return slot_plans_.levels_slots[at];
    }
    // The encoding of the active format (Encoding(ActiveFormatNo())).
    text::TextEncoding ActiveEncoding() const {
        return slots_[static_cast<std::size_t>(active_) - 1].encoding;
    }

    // --- loading ------------------------------------------------------------------------
    // Loads format format_name from file_name into slot (1..3). format_name "*" takes the
    // first format of the file and receives its name. On success the slot becomes the
    // active one. Failures are shown through settings.message and return false; a slot
    // outside 1..3 returns false without a message.
    bool LoadFormat(std::string_view file_name, std::string& format_name, int slot,
                    const LoadSettings& settings);
    // The same on template bytes already in memory (file_name decides the kind and
    // appears in messages).
    bool LoadFormatText(std::string_view file_name, std::string_view content,
                        std::string& format_name, int slot, const LoadSettings& settings);

    // --- built-in fields ----------------------------------------------------------------
    // Fills DATE, DATETIME, TIME, PAGENO, LINENO, TAB and the [DEFAULT] values in the
    // active format's field table (names the format does not use are not found).
    void PutDefaultValues(const BuiltInValues& values);

  private:
    struct FormatSlot {
        std::unique_ptr<LevelTable> levels;
        tRNAMEList names;
        text::TextEncoding encoding = text::TextEncoding::Utf8;
    };
    FormatSlot* SlotAt(int slot);
    const FormatSlot* SlotAt(int slot) const;

    // Where PutDefaultValues writes, found once per registration state of a table.
    struct BuiltInFields {
        const tRNAMEList* table = nullptr;
        std::uint64_t revision = 0;
        std::size_t date = tRNAMEList::npos, datetime = tRNAMEList::npos, time = tRNAMEList::npos,
                    page_no = tRNAMEList::npos, line_no = tRNAMEList::npos, tab = tRNAMEList::npos;
    };

    // The slots of every level of the active format, each level found when first read;
    // valid for one format slot, level table and field table revision.
    struct SlotPlans {
        int active = 0;
        const LevelTable* levels = nullptr;
        std::uint64_t revision = 0;
        std::array<bool, kLevelCount> found{};
        std::array<LevelSlots, kLevelCount> levels_slots;
    };
    bool SlotPlansValid() const {
        const FormatSlot& active = slots_[static_cast<std::size_t>(active_) - 1];
        return slot_plans_.active == active_ && slot_plans_.levels == active.levels.get() &&
               slot_plans_.revision == active.names.Revision();
    }
    void ResetSlotPlans();
    void FindSlotFormats(int level);
    static void FindBlankLine(const LevelLists& lists, LevelSlots& found);

    std::array<FormatSlot, kFormatSlots> slots_;
    BuiltInFields built_in_fields_;
    SlotPlans slot_plans_;
    int active_ = 1;
    bool is_rtf_ = false;
    bool is_txt_ = false;
};

}  // namespace quillon
