#include "calc/rpt_calculator.h"

#include "calc/calc_errors.h"
#include "calc/calc_state.h"
#include "calc/calculate.h"
#include "calc/def_calc_proc.h"
#include "platform/core/host_services.h"

namespace quillon {

namespace {

std::string UpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace

TrptCalculator::~TrptCalculator() {
    ClearVars();
}

double TrptCalculator::GetResult() {
    CurrentCalculatorScope current(this);
    SetCalcErrorCode(kCalcNoError);
    CalcErrorHandler show;
    if (!FCheckNames.empty()) {
        show = [this](int, const std::string& message) {
            HostServices& host = host_ != nullptr ? *host_ : DefaultHost();
            host.MessageDlg(message, TMsgDlgType::mtError, mbOK);
        };
    }
    double result = 0;
    Evaluate(
        FExpression, result,
        [this](TCalcCBType kind, std::string_view name, double& value) {
            return Callback(kind, name, value);
        },
        show);
    return result;
}

int TrptCalculator::GetErrorCode() {
    return CalcErrorCode();
}

bool TrptCalculator::Callback(TCalcCBType kind, std::string_view name, double& value) {
    if (DefCalcProc(kind, name, value)) return true;
    switch (kind) {
        case ctGetValue:
            if (!NamePermitted(name)) {
                value = 0;
                return false;
            }
            value = GetVarValue(name);
            return true;
        case ctSetValue:
            return true;
        case ctFunction:
            break;
    }
    return false;
}

bool TrptCalculator::NamePermitted(std::string_view name) const {
    if (FCheckNames.empty()) return true;
    if (check_set_.contains(UpperAscii(name))) return true;
    return !name.empty() && name.front() == '#' && check_set_.contains(UpperAscii(name.substr(1)));
}

void TrptCalculator::SetCheckNames(std::string_view names) {
    FCheckNames.assign(names);
    check_set_.clear();
    // Only text between two asterisks is a name.
    std::size_t start = FCheckNames.find('*');
    while (start != std::string::npos) {
        const std::size_t end = FCheckNames.find('*', start + 1);
        if (end == std::string::npos) break;
        check_set_.insert(FCheckNames.substr(start + 1, end - start - 1));
        start = end;
    }
}

void TrptCalculator::SetVar(std::string_view name, double value) {
    if (auto it = var_index_.find(name); it != var_index_.end()) {
        FVars[it->second].value = value;
        return;
    }
    var_index_.emplace(std::string(name), FVars.size());
    FVars.push_back({std::string(name), value});
}

double TrptCalculator::GetVar(std::string_view name) const {
    auto it = var_index_.find(name);
    if (it == var_index_.end()) throw ECalculate(FunctionErrorText(name));
    return FVars[it->second].value;
}

std::string TrptCalculator::NameOf(std::uint16_t index) const {
    return index < FVars.size() ? FVars[index].name : std::string();
}

void TrptCalculator::ClearVars() {
    FVars.clear();
    var_index_.clear();
}

}  // namespace quillon
