#include "calc/rep_calculator.h"

#include "calc/calc_state.h"
#include "calc/number_reader.h"

namespace quillon {

TCustomRepCalculator::~TCustomRepCalculator() {
    if (CurrentCalculator() == this) SetCurrentCalculator(nullptr);
}

double TCustomRepCalculator::GetVarValue(std::string_view name) {
    if (FReport == nullptr) return 0;
    if (!name.empty() && name.front() == '#') return FReport->FieldSlot(name.substr(1));
    const std::optional<std::string> text = FReport->FieldText(name);
    return text ? NumberOrZero(*text) : 0.0;
}

double TCustomRepCalculator::GetSumValue(int n) {
    if (FReport == nullptr || n < 1) return 0;
    if (FLevel >= kCalcLevelSum01 && FLevel <= kCalcLevelEnd)
        return FReport->SumByNumber(FLevel, kCalcLevelDetail, n);
    // Heading and detail lines read the sums of the innermost sum level: the level the
    // report adds detail values into (the page footer is not one).
    int level = kCalcLevelEnd;
    for (int l = kCalcLevelSum01; l <= kCalcLevelSum10; ++l) {
        if (FReport->LevelDefined(l)) {
            level = l;
            break;
        }
    }
    return FReport->SumByNumber(level, kCalcLevelDetail, n);
}

}  // namespace quillon
