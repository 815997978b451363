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

    LineAssembler line(List, static_cast<std::uint8_t>(Level), FLineScratch);
    for (const DataNodeRec& node : (*lists)[0]) line.AddSegment(node.Val);
    for (int n = 1; n <= kMaxSlotsPerLevel && !(*lists)[static_cast<std::size_t>(n)].Empty(); ++n) {
        std::string& pending = line.BeginSegment();
        const std::size_t before = pending.size();
        GetValue(Level, n, pending);
        line.EndSegment(pending.size() - before);
        for (const DataNodeRec& node : (*lists)[static_cast<std::size_t>(n)]) {
            line.AddSegment(node.Val);
        }
    }
    line.Finish();
}

void TQuillon::GetValue(int Level, int FieldNo, std::string& Value) {
    int width = 0;
    int decimals = 0;
    FModel.FormatByNumber(Level, FieldNo, width, decimals);
    const text::TextEncoding enc = FModel.Encoding(FModel.ActiveFormatNo());
    tRNAMEList& field = FModel.FieldByNumber(Level, FieldNo);

    if (FOptions.Contains(prDoubleParse)) {
        const std::string name = text::AsciiUpperCase(text::Trim(field.AsName()));
        if (!name.empty() && name.front() == '&') {
            AppendSecondParsePlaceholder(Value, name, width, decimals, FModel.IsRTF(), FRTFNameTag,
                                         enc);
            return;
        }
    }
    AppendSlotText(Value, field.AsStringView(), width, FOptions, enc);
}

std::string TQuillon::GetValue(int Level, int FieldNo) {
    std::string value;
    GetValue(Level, FieldNo, value);
    return value;
}

}  // namespace quillon
