// The second parse of a finished run's output.

#include "engine/quillon.h"
#include "engine/second_parse.h"

namespace quillon {

bool TQuillon::SecondParse() {
    const SecondParseMarker marker = MakeSecondParseMarker(
        FModel.IsRTF(), FRTFNameTag, FModel.Encoding(FModel.ActiveFormatNo()));
    const SecondParseLookup lookup = [this](std::string_view name) {
        return FModel.FieldByName(name).AsString();
    };
    if (FRun.FRunStream != nullptr) return RunSecondParse(*FRun.FRunStream, marker, lookup);

    // The main level file is closed first, so that the pass sees everything written.
    auto& main_file = FRun.FLevelFiles[TargetIndex(rlDetail)];
    const bool closed = main_file == nullptr || main_file->Close();
    main_file.reset();
    if (!closed) return false;
    TFileStream file(FPrnFile, TFileStream::Mode::kReadWrite);
    if (!file.IsOpen()) return false;
    const bool parsed = RunSecondParse(file, marker, lookup);
    return file.Close() && parsed;
}

}  // namespace quillon
