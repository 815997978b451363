#pragma once
// Evaluation of expression texts.
//
// Each evaluation has its own state, so a callback may evaluate another expression. The
// text is compiled once and the compiled form is kept (per thread, keyed by the text), so
// evaluating the same text again only runs it.

#include <memory>
#include <string_view>

#include "calc/calc_callback.h"
#include "calc/calc_program.h"

namespace quillon {

// Evaluates text (up to its first NUL) into value; an empty text leaves value unchanged.
// proc answers names (DefCalcProc when empty). Each error is recorded in CalcErrorCode
// as it happens and told to on_error; a later error overwrites an earlier one, and the
// evaluation goes on, so value holds what was computed. When the evaluation records no
// error, CalcErrorCode keeps the value it had before. Returns the code of this
// evaluation's last error (0 when none). Arithmetic faults raise ECalcArithmetic.
int Evaluate(std::string_view text, double& value, const TCalcProc& proc = {},
             const CalcErrorHandler& on_error = {});

// The same for a zero-terminated text (nullptr counts as empty); always true, errors are
// read from CalcErrorCode.
bool StrCalculate(const char* text, double& value, const TCalcProc& proc = {});

// The same for a string; always true.
bool Calculate(std::string_view s, double& value, const TCalcProc& proc = {});

// The compiled form of text, from the cache of the calling thread (compiled and added
// when missing; the cache is emptied when it grows beyond a few thousand texts).
std::shared_ptr<const CalcProgram> CompiledExpression(std::string_view text);

}  // namespace quillon
