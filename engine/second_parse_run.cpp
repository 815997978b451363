// The second parse of a finished run's output.

#include "engine/quillon.h"
#include "engine/second_parse.h"

namespace quillon {

bool TQuillon::SecondParse() {
    const SecondParseMarker marker = MakeSecondParseMarker(
        FModel.IsRTF(), FProps.RTFNameTag, FModel.Encoding(FModel.ActiveFormatNo()));
    const SecondParseLookup lookup = [this](std::string_view name) {
        return FModel.FieldByName(name).AsString();
    };
    if (FRun.FRunStream != nullptr) return RunSecondParse(*FRun.FRunStream, marker, lookup);

    // The main level file is closed first, so that the pass sees everything written.
    if (!FOutput->CloseLevelFile(rlDetail)) return false;
    TFileStream file(FProps.PrnFile, TFileStream::Mode::kReadWrite);
    if (!file.IsOpen()) return false;
    const bool parsed = RunSecondParse(file, marker, lookup);
    return file.Close() && parsed;
}

}  // namespace quillon
