#include "calc/calc_state.h"

namespace quillon {

namespace {

thread_local int g_error_code = 0;
thread_local TCustomRepCalculator* g_current = nullptr;
thread_local int g_scope_depth = 0;

}  // namespace

int CalcErrorCode() {
    return g_error_code;
}
void SetCalcErrorCode(int code) {
    g_error_code = code;
}

TCustomRepCalculator* CurrentCalculator() {
    return g_current;
}
void SetCurrentCalculator(TCustomRepCalculator* calculator) {
    g_current = calculator;
}

CurrentCalculatorScope::CurrentCalculatorScope(TCustomRepCalculator* calculator)
    : previous_(g_current) {
    g_current = calculator;
    ++g_scope_depth;
}

CurrentCalculatorScope::~CurrentCalculatorScope() {
    if (--g_scope_depth > 0) g_current = previous_;
}

}  // namespace quillon
