// Line building: one level of the active format becomes output lines, with the values of
// its fields put into their slots.

#include <typeinfo>

#include "engine/field_value.h"
#include "engine/line_assembler.h"
#include "engine/quillon.h"

namespace quillon {

void TQuillon::RaiseLevelEvent(int Level) {
    switch (Level) {
        case rlHead:
            if (OnGetHeadLine) OnGetHeadLine(*this);
            return;
        case rlNewPage:
            if (OnGetNewPgLine) OnGetNewPgLine(*this);
            return;
        case rlDetailHead:
            if (OnGetDetailHeadLine) OnGetDetailHeadLine(*this);
            return;
        case rlDetail:
            if (OnGetDetailLine) OnGetDetailLine(*this);
            return;
        default:
            if (OnGetSumLine) OnGetSumLine(*this, static_cast<TReportLevel>(Level));
            return;
    }
}

namespace {

void AddTemplateText(LineAssembler& line, const EilPlist& list, bool plain) {
    if (plain) {
        for (const DataNodeRec& node : list) line.AddPlainSegment(node.Val);
    } else {
        for (const DataNodeRec& node : list) line.AddSegment(node.Val);
    }
}

// The placeholder of the current field when it is a second-parse field ("&NAME"); false
// for any other field. Kept apart from GetValue, which fills every slot.
bool AppendPlaceholderOf(const tRNAMEList& field, int width, int decimals, bool rtf,
                         std::string_view rtf_tag, text::TextEncoding enc, std::string& out) {
    const std::string name = text::AsciiUpperCase(text::Trim(field.AsName()));
    if (name.empty() || name.front() != '&') return false;
    AppendSecondParsePlaceholder(out, name, width, decimals, rtf, rtf_tag, enc);
    return true;
}

// The template text that follows a slot.
void AddTextAfterSlot(LineAssembler& line, const EilPlist& tail, const SlotFormat& slot) {
    if (slot.plain_tail && tail.Count() == 1) {
        line.AddPlainSegment(tail[0].Val);  // most slots: one piece of text follows
    } else {
        AddTemplateText(line, tail, slot.plain_tail);
    }
}

}  // namespace

// Makes the slots of the line being built known to GetValue while they are filled.
class TQuillon::LineSlotsInUse {
  public:
    LineSlotsInUse(TQuillon& report, const LevelSlots& slots, int level)
        : report_(report), slots_(report.FLineSlots), level_(report.FLineLevel) {
        report_.FLineSlots = &slots;
        report_.FLineLevel = level;
    }
    ~LineSlotsInUse() {
        report_.FLineSlots = slots_;
        report_.FLineLevel = level_;
    }
    LineSlotsInUse(const LineSlotsInUse&) = delete;
    LineSlotsInUse& operator=(const LineSlotsInUse&) = delete;

  private:
    TQuillon& report_;
    const LevelSlots* slots_;  // of an enclosing line, if any
    int level_;
};

void TQuillon::MakeLine(int Level, EilPlist& List) {
    const LevelTable* levels = FModel.ActiveLevels();
    if (levels == nullptr || !levels->Has(Level)) return;

    FModel.ActiveNames().ClrVAL();
    if (Level == rlDetail) ++FRun.FDetailCount;
    PutDefaultValues();
    RaiseLevelEvent(Level);
    if (XCalcExt() != nullptr) PutCalcValues(Level);

    bool& print_tmp = FPrintTmp[static_cast<std::size_t>(Level)];
    if (!print_tmp) {
        print_tmp = true;
        return;
    }

    // The handlers may have loaded another format: look the level up again.
    levels = FModel.ActiveLevels();
    const LevelLists* lists = levels != nullptr ? levels->Get(Level) : nullptr;
    if (lists == nullptr || (*lists)[0].Empty()) return;

    // The slots of the level: list n (1..count) is the text after slot n.
    const LevelSlots& slots = FModel.SlotsOf(Level);
    LineAssembler line(List, static_cast<std::uint8_t>(Level), FLineScratch);
    if (FillsSlotsDirectly()) {
        FillSlotsDirectly(line, *lists, slots);
    } else {
        AddTemplateText(line, (*lists)[0], slots.plain_head);
        LineSlotsInUse in_use(*this, slots, Level);
        for (std::size_t i = 0; i < slots.formats.size(); ++i) {
            std::string& pending = line.BeginSegment();
            const std::size_t before = pending.size();
            GetValue(Level, static_cast<int>(i) + 1, pending);
            line.EndSegment(pending.size() - before);
            AddTextAfterSlot(line, (*lists)[i + 1], slots.formats[i]);
        }
    }
    line.Finish();
}

bool TQuillon::FillsSlotsDirectly() const {
    // GetValue is the extension point: a subclass may override it, and then every slot
    // must go through it. Only this class's own GetValue is known not to be overridden.
    // Second-parse placeholders are rare and left to GetValue as well.
    return typeid(*this) == typeid(TQuillon) && !FProps.Options.Contains(prDoubleParse);
}

void TQuillon::FillSlotsDirectly(LineAssembler& line, const LevelLists& lists,
                                 const LevelSlots& slots) {
    // What GetValue does for every slot, with the line's state read once: the value of
    // the slot's field, formatted straight into the line.
    tRNAMEList& names = FModel.ActiveNames();
    const TPrintOptions options = FProps.Options;
    const text::TextEncoding enc = FModel.ActiveEncoding();
    const std::size_t count = slots.formats.size();
    std::size_t first = 0;  // the first slot left to the piece-by-piece way
    if (slots.one_line && !options.Contains(prTrimField)) {
        // The line with blank slots, and each plain value written into its slot. At the
        // first other value the line is cut back to that slot and built piece by piece
        // from there: the text before it holds no CR, so it is still the pending line.
        std::string& pending = line.BeginSegment();
        pending.assign(slots.blank_line);
        for (; first < count; ++first) {
            const SlotFormat& slot = slots.formats[first];
            if (!WritePrintableSlot(pending.data() + slot.offset, names.ValueAt(slot.field),
                                    slot.width, options)) {
                pending.resize(slot.offset);
                break;
            }
        }
    } else {
        AddTemplateText(line, lists[0], slots.plain_head);
    }
    for (std::size_t i = first; i < count; ++i) {
        const SlotFormat& slot = slots.formats[i];
        const std::string_view value = names.ValueAt(slot.field);
        std::string& pending = line.BeginSegment();
        if (!AppendPrintableSlot(pending, value, slot.width, options)) {
            const std::size_t before = pending.size();
            AppendSlotText(pending, value, slot.width, options, enc);
            line.EndSegment(pending.size() - before);
        }
        AddTextAfterSlot(line, lists[i + 1], slot);
    }
    // GetValue leaves the field of the last slot it read current.
    if (count > 0) names.Select(slots.formats.back().field);
}

void TQuillon::GetValue(int Level, int FieldNo, std::string& Value) {
    int width = 0;
    int decimals = 0;
    tRNAMEList& field = FModel.ActiveNames();
    const auto index = static_cast<std::size_t>(FieldNo) - 1;
    const SlotFormat* slot =
        Level == FLineLevel && FLineSlots != nullptr && index < FLineSlots->formats.size()
            ? &FLineSlots->formats[index]
            : FModel.SlotFormatOf(Level, FieldNo);
    if (slot != nullptr) {
        width = slot->width;
        decimals = slot->decimals;
        field.Select(slot->field);
    } else {
        FModel.FormatByNumber(Level, FieldNo, width, decimals);
        FModel.FieldByNumber(Level, FieldNo);
    }
    const text::TextEncoding enc = FModel.ActiveEncoding();

    if (FProps.Options.Contains(prDoubleParse) &&
        AppendPlaceholderOf(field, width, decimals, FModel.IsRTF(), FProps.RTFNameTag, enc,
                            Value)) {
        return;
    }
    AppendSlotText(Value, field.AsStringView(), width, FProps.Options, enc);
}

std::string TQuillon::GetValue(int Level, int FieldNo) {
    std::string value;
    GetValue(Level, FieldNo, value);
    return value;
}

}  // namespace quillon
