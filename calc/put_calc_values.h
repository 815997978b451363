#pragma once
// How the report evaluates the calculated fields of a line with its calculator. The
// report implements CalcLineFields over one level of its active format and calls
// PutCalcValues before it builds each line of that level.

#include <string>
#include <string_view>

#include "calc/rep_calculator.h"

namespace quillon {

// The field slots of the level being built.
class CalcLineFields {
  public:
    virtual ~CalcLineFields() = default;
    // FieldByNumber(level, n).AsExpression: "*" when the level has no slot n, "" for a
    // slot without an expression.
    virtual std::string Expression(int n) = 0;
    // FormatByNumber(level, n): the slot's width and decimals (-1, -1 when unknown).
    virtual void Format(int n, int& width, int& decimals) = 0;
    // FieldByNumber(level, n).SetAsString(text).
    virtual void SetText(int n, std::string_view text) = 0;
};

// Binds calculator to report and level, then evaluates every calculated field of the
// level in slot order (1, 2, ... up to the first slot the level does not have, at most
// 250): the slot's value becomes the result with its decimals, right-aligned in its width,
// or a run of "#" as wide as the slot when the expression has an error. Arithmetic faults
// (ECalcArithmetic) propagate to the caller, which reports them.
void PutCalcValues(TCustomRepCalculator& calculator, CalcReportAccess& report, int level,
                   CalcLineFields& fields);

// value in fixed-point notation with decimals digits after a "." (none for decimals <= 0),
// right-aligned with blanks in width characters; a longer text is not cut.
std::string FixedPointText(double value, int width, int decimals);

}  // namespace quillon
