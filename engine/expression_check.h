#pragma once
// The check of a template's calculated fields before a run or when a template is shown:
// an expression the calculator cannot read would print "#####" on every line.

#include <string>

#include "calc/rep_calculator.h"
#include "engine/field_table.h"

namespace quillon {

// The message for the first calculated field of names whose expression calculator
// rejects as invalid, naming the field, template_file and the line it stands on (when it
// can be found there); empty when every expression is valid. The expressions are
// evaluated once with report (may be null) answering their names.
std::string InvalidExpressionMessage(const tRNAMEList& names, TCustomRepCalculator& calculator,
                                     CalcReportAccess* report, const std::string& template_file);

}  // namespace quillon
