#pragma once
// What stays of evaluations between them: the error code of the last one and the
// calculator component that started the current (or last) one. Both belong to the
// calling thread.

namespace quillon {

class TCustomRepCalculator;

// The error code of the last evaluation (0, kCalcSyntaxError or kCalcFunctionError).
// An evaluation that records no error of its own leaves the code as it found it; a
// calculator component resets it before each of its evaluations.
int CalcErrorCode();
void SetCalcErrorCode(int code);

// The calculator component whose evaluation runs or ran last; nullptr before any.
TCustomRepCalculator* CurrentCalculator();
void SetCurrentCalculator(TCustomRepCalculator* calculator);

}  // namespace quillon

namespace quillon {

// Makes a calculator current for the evaluation it starts. The outermost evaluation
// leaves it current afterwards; an evaluation nested in another one's callback gives the
// outer calculator back when it ends, so that the outer one's "sum" still reads its own
// report.
class CurrentCalculatorScope {
  public:
    explicit CurrentCalculatorScope(TCustomRepCalculator* calculator);
    ~CurrentCalculatorScope();
    CurrentCalculatorScope(const CurrentCalculatorScope&) = delete;
    CurrentCalculatorScope& operator=(const CurrentCalculatorScope&) = delete;

  private:
    TCustomRepCalculator* previous_;
};

}  // namespace quillon
