#pragma once
// The report's standard calculator: evaluates expressions whose variables are the fields
// of the line being built, and keeps a small table of named values for the application.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "calc/calc_callback.h"
#include "calc/rep_calculator.h"

namespace quillon {

class HostServices;

class TrptCalculator : public TCustomRepCalculator {
  public:
    TrptCalculator() = default;
    ~TrptCalculator() override;

    // Evaluates Expression() with Callback answering names. When CheckNames() is set,
    // each error is also shown in a message box.
    double GetResult() override;
    // CalcErrorCode: the code of the last evaluation started by a calculator.
    int GetErrorCode() override;

    // Answers the names of an expression: the built-in ones first, then variables read
    // from the report (only those of CheckNames() when it is set; "#NAME" passes when NAME
    // does). Assignments are accepted and kept nowhere; other functions are declined.
    virtual bool Callback(TCalcCBType kind, std::string_view name, double& value);

    // The table of named values (names compared exactly, in the order first stored).
    void SetVar(std::string_view name, double value);
    // Raises ECalculate for a name that is not stored.
    double GetVar(std::string_view name) const;
    // The name of value number index (0-based); "" beyond the table.
    std::string NameOf(std::uint16_t index) const;
    void ClearVars();
    std::size_t VarCount() const { return FVars.size(); }

    // "" or the permitted names, upper-case, written "*NAME*NAME*...*" (the syntax check
    // of a template editor).
    const std::string& CheckNames() const { return FCheckNames; }
    void SetCheckNames(std::string_view names);

    // Where the message boxes of the check go; nullptr (the default) means DefaultHost().
    void SetHost(HostServices* host) { host_ = host; }

  private:
    struct Var {
        std::string name;
        double value;
    };
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    using NameIndex = std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>>;
    using NameSet = std::unordered_set<std::string, NameHash, std::equal_to<>>;

    bool NamePermitted(std::string_view name) const;

    std::vector<Var> FVars;
    NameIndex var_index_;
    std::string FCheckNames;
    NameSet check_set_;  // the names between asterisks of FCheckNames
    HostServices* host_ = nullptr;
};

}  // namespace quillon
