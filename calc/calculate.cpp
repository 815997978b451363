#include "calc/calculate.h"

#include <cstring>
#include <string>
#include <unordered_map>

#include "calc/calc_state.h"

namespace quillon {

namespace {

constexpr std::size_t kMaxCachedTexts = 4096;

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

using ProgramCache =
    std::unordered_map<std::string, std::shared_ptr<const CalcProgram>, TextHash, std::equal_to<>>;

ProgramCache& Cache() {
    thread_local ProgramCache cache;
    return cache;
}

// The errors of one evaluation, and the error code it found when it started.
struct EvaluationErrors {
    int saved;
    int own = 0;
    const CalcErrorHandler* on_error;

    // On every way out (faults included) CalcErrorCode is the evaluation's own last error,
    // or what it was before when the evaluation recorded none (a nested evaluation in a
    // callback must not leave its code to the outer one).
    ~EvaluationErrors() { SetCalcErrorCode(own != 0 ? own : saved); }
};

}  // namespace

std::shared_ptr<const CalcProgram> CompiledExpression(std::string_view text) {
    ProgramCache& cache = Cache();
    if (auto it = cache.find(text); it != cache.end()) return it->second;
    auto program = std::make_shared<const CalcProgram>(CalcProgram::Compile(text));
    if (cache.size() >= kMaxCachedTexts) cache.clear();
    cache.emplace(std::string(text), program);
    return program;
}

int Evaluate(std::string_view text, double& value, const TCalcProc& proc,
             const CalcErrorHandler& on_error) {
    // Held for the whole run: a nested evaluation may empty the cache.
    const std::shared_ptr<const CalcProgram> program =
        CompiledExpression(text.substr(0, text.find('\0')));
    EvaluationErrors errors{CalcErrorCode(), 0, &on_error};
    EvaluationErrors* state = &errors;
    program->Run(value, proc, [state](int code, const std::string& message) {
        state->own = code;
        SetCalcErrorCode(code);
        if (*state->on_error) (*state->on_error)(code, message);
    });
    return errors.own;
}

bool StrCalculate(const char* text, double& value, const TCalcProc& proc) {
    Evaluate(text != nullptr ? std::string_view(text, std::strlen(text)) : std::string_view(),
             value, proc);
    return true;
}

bool Calculate(std::string_view s, double& value, const TCalcProc& proc) {
    Evaluate(s, value, proc);
    return true;
}

}  // namespace quillon
