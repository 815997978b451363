// The report and its calculator (XCalcExt): calculated fields, and what the calculator
// reads from the report.

#include "calc/put_calc_values.h"
#include "engine/quillon.h"
#include "engine/sums.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

// The calculated fields of one level of the active format.
class LevelFields : public CalcLineFields {
  public:
    LevelFields(ReportModel& model, int level) : model_(model), level_(level) {}
    std::string Expression(int n) override {
        return model_.FieldByNumber(level_, n).AsExpression();
    }
    void Format(int n, int& width, int& decimals) override {
        model_.FormatByNumber(level_, n, width, decimals);
    }
    void SetText(int n, std::string_view text) override {
        model_.FieldByNumber(level_, n).SetAsString(text);
    }

  private:
    ReportModel& model_;
    int level_;
};

}  // namespace

void TQuillon::SetXCalcExt(TCustomRepCalculator* Value) {
    // A calculator that is let go no longer reads from this report.
    TCustomRepCalculator* old = FXCalcExt.Get();
    if (old != nullptr && old != Value && old->Report() == this) old->SetReport(nullptr);
    FXCalcExt.Set(Value);
}

void TQuillon::PutCalcValues(int Level) {
    TCustomRepCalculator* calculator = XCalcExt();
    if (calculator == nullptr || !IsReportLevel(Level)) return;
    if (!FModel.ActiveNames().LevelHasExpression(Level)) {
        // No calculated field on the level: only the binding that evaluation would make.
        calculator->SetReport(this);
        calculator->SetLevel(Level);
        return;
    }
    LevelFields fields(FModel, Level);
    quillon::PutCalcValues(*calculator, *this, Level, fields);
}

tRNAMEList& TQuillon::FieldByName(std::string_view Name) {
    tRNAMEList& names = FModel.FieldByName(Name);
    if (!names.HasCurrent() && FRun.FRunning) {
        NoteForRun("The template has no field " + text::AsciiUpperCase(text::Trim(Name)) +
                   ": the application's value for it is not shown.");
    }
    return names;
}

void TQuillon::NoteForRun(std::string Text) {
    if (!FRun.FRunning || !FRun.FNoted.insert(Text).second) return;
    FRun.FNotes.push_back(std::move(Text));
}

std::optional<std::string> TQuillon::FieldText(std::string_view Name) {
    tRNAMEList& field = FModel.FieldByName(Name);
    if (!field.HasCurrent()) return std::nullopt;
    return field.AsString();
}

int TQuillon::FieldSlot(std::string_view Name) {
    // The argument of sum(): the detail slot that carries the name, else the slot of the
    // field wherever it stands.
    const int detail_slot = DetailSlotCarrying(FModel, Name);
    const int slot = detail_slot > 0 ? detail_slot : FModel.FieldByName(Name).AsNumber();
    if (slot == 0) {
        NoteForRun("A calculated field sums #" + text::AsciiUpperCase(text::Trim(Name)) +
                   ", a field the template does not have: that sum is 0.");
    }
    return slot;
}

bool TQuillon::LevelDefined(int Level) {
    const LevelTable* levels = FModel.ActiveLevels();
    return levels != nullptr && levels->Has(Level);
}

double TQuillon::SumByNumber(int Level, int FieldLevel, int FieldNo) {
    if (!FProps.Options.Contains(prAutoSum)) {
        NoteForRun(
            "A calculated field uses sum(), but the report keeps no running sums: add the "
            "option prAutoSum (quillon run: --auto-sum), else every sum is 0.");
    }
    return FRun.FSums.SumByNumber(Level, FieldLevel, FieldNo, FModel);
}

double TQuillon::SumByName(int Level, std::string_view Name) {
    return FRun.FSums.SumByName(Level, Name, FModel);
}

}  // namespace quillon
