// Line building: one level of the active format becomes output lines, with the values of
// its fields put into their slots.

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
    AddTemplateText(line, (*lists)[0], slots.plain_head);
    LineSlotsInUse in_use(*this, slots, Level);
    for (std::size_t i = 0; i < slots.formats.size(); ++i) {
        std::string& pending = line.BeginSegment();
        const std::size_t before = pending.size();
        GetValue(Level, static_cast<int>(i) + 1, pending);
        line.EndSegment(pending.size() - before);
        const EilPlist& tail = (*lists)[i + 1];
        if (slots.formats[i].plain_tail && tail.Count() == 1) {
            line.AddPlainSegment(tail[0].Val);  // most slots: one piece of text follows
        } else {
            AddTemplateText(line, tail, slots.formats[i].plain_tail);
        }
    }
    line.Finish();
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

    if (FOptions.Contains(prDoubleParse) &&
        AppendPlaceholderOf(field, width, decimals, FModel.IsRTF(), FRTFNameTag, enc, Value)) {
        return;
    }
    AppendSlotText(Value, field.AsStringView(), width, FOptions, enc);
}

std::string TQuillon::GetValue(int Level, int FieldNo) {
    std::string value;
    GetValue(Level, FieldNo, value);
    return value;
}

}  // namespace quillon
