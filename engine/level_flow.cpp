// Level flow of TQuillon: which levels are printed, group indexes and counters.

#include "engine/quillon.h"

namespace quillon {

namespace {

bool IsGroupLevel(int level) {
    return level >= rlSum01 && level <= rlSum10;
}

}  // namespace

std::string TQuillon::GetIdx(int Level) {
    std::string PIDX;
    if (OnGetGroupIndex && IsReportLevel(Level)) {
        OnGetGroupIndex(*this, static_cast<TReportLevel>(Level), PIDX);
    }
    return PIDX;
}

void TQuillon::PutOldIdx(int Level) {
    for (int level = std::min(Level, static_cast<int>(rlSum10)); level >= rlSum01; --level) {
        // Kept whole: a key cut short would differ from the next record's key.
        FOldIdx[static_cast<std::size_t>(level - rlSum01)] = GetIdx(level);
    }
}

std::string TQuillon::GetPriorIndex(int Level) const {
    return IsGroupLevel(Level) ? FOldIdx[static_cast<std::size_t>(Level - rlSum01)] : std::string();
}

void TQuillon::SetPrint(int Level, bool Value) {
    if (IsReportLevel(Level)) FPrint[static_cast<std::size_t>(Level)] = Value;
}

void TQuillon::SetPrintTmp(int Level, bool Value) {
    if (IsReportLevel(Level)) FPrintTmp[static_cast<std::size_t>(Level)] = Value;
}

bool TQuillon::GetPrint(int Level) const {
    return IsReportLevel(Level) && FPrint[static_cast<std::size_t>(Level)];
}

bool TQuillon::GetPrintTmp(int Level) const {
    return IsReportLevel(Level) && FPrintTmp[static_cast<std::size_t>(Level)];
}

int TQuillon::GetCurrentLine() const {
    return FOutput->LinesOnPage(rlDetail);
}

void TQuillon::DetailHeadSum() {
    if (OnDetailHeadSum) OnDetailHeadSum(*this);
}

void TQuillon::DetailLineSum() {
    if (OnDetailSum) OnDetailSum(*this);
}

}  // namespace quillon
