// Calculated fields: the report and its calculator (XCalcExt).

#include "engine/quillon.h"

namespace quillon {

TCustomRepCalculator* TQuillon::XCalcExt() const {
    return FXCalcExt.IsSet() ? FXCalc : nullptr;
}

void TQuillon::PutCalcValues(int /*Level*/) {}

}  // namespace quillon
