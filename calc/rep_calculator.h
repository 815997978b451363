#pragma once
// The calculator interface of the report component (its XCalcExt), and how a calculator
// reads the report it is bound to.

#include <optional>
#include <string>
#include <string_view>

#include "platform/core/component.h"

namespace quillon {

// Numbers of the report levels (TReportLevel) that the calculator needs.
inline constexpr int kCalcLevelDetail = 3;   // rlDetail
inline constexpr int kCalcLevelSum01 = 4;    // rlSum01
inline constexpr int kCalcLevelSum10 = 13;   // rlSum10
inline constexpr int kCalcLevelFooter = 14;  // rlFooter
inline constexpr int kCalcLevelEnd = 15;     // rlEnd

// What a calculator reads from the report being run (the report component implements
// it). Every call addresses the report's active format.
class CalcReportAccess {
  public:
    virtual ~CalcReportAccess() = default;
    // FieldByName(name).AsString; nullopt when there is no such field.
    virtual std::optional<std::string> FieldText(std::string_view name) = 0;
    // FieldByName(name).AsNumber: the field's slot number; 0 when there is no such field.
    virtual int FieldSlot(std::string_view name) = 0;
    // SumByNumber(level, field_level, n): the running sum of slot n of field_level kept
    // for level.
    virtual double SumByNumber(int level, int field_level, int n) = 0;
    // True when the active format has a marker for level.
    virtual bool LevelDefined(int level) = 0;
};

// A calculator the report evaluates its calculated fields with (the report's XCalcExt
// links to it as a component, so the link clears itself when the calculator goes). The
// report sets the report and level before each line it builds (see put_calc_values.h).
class TCustomRepCalculator : public TComponent {
  public:
    TCustomRepCalculator() = default;
    // A destroyed calculator stops being the current one.
    ~TCustomRepCalculator() override;

    // Evaluates Expression().
    virtual double GetResult() = 0;
    // The error code of the last GetResult (0 none, 1 syntax, 2 unknown name).
    virtual int GetErrorCode() = 0;
    // The value of a report field for an expression: for "#NAME" the slot number of field
    // NAME; otherwise the field's text read as a number (0 when empty, not a number, or
    // when no report is bound).
    virtual double GetVarValue(std::string_view name);
    // The running sum of detail field n: at the calculator's level when that is a sum
    // level or later, else at the innermost sum level the format defines (rlEnd when it
    // defines none). 0 without a report or for n < 1.
    virtual double GetSumValue(int n);

    const std::string& Expression() const { return FExpression; }
    void SetExpression(std::string_view expression) { FExpression.assign(expression); }
    int Level() const { return FLevel; }
    void SetLevel(int level) { FLevel = level; }
    CalcReportAccess* Report() const { return FReport; }
    void SetReport(CalcReportAccess* report) { FReport = report; }

  protected:
    std::string FExpression;
    int FLevel = 0;                       // TReportLevel of the line being built
    CalcReportAccess* FReport = nullptr;  // not owned; set by the report for each line
};

}  // namespace quillon
