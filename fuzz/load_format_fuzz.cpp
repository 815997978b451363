// Fuzz target for the template loader. The first byte chooses the file kind, the format
// name, the slot and whether names are stripped; the rest is the template. A loaded
// template is then walked through every field operation.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/report_model.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t selector = data[0];
    const std::string_view content(reinterpret_cast<const char*>(data) + 1, size - 1);
    static constexpr const char* kFiles[] = {"t.htm", "t.rtf", "t.txt", "dir.rtf/t.htm"};

    LoadSettings settings;
    settings.message = [](std::string_view, TMsgDlgType, TMsgDlgButtons) { return 1; };
    settings.strip_names = (selector & 8) == 0;
    std::string name = (selector & 4) != 0 ? "*" : "R";
    const int slot = 1 + (selector >> 4) % 3;

    ReportModel model;
    if (!model.LoadFormatText(kFiles[selector & 3], content, name, slot, settings)) return 0;
    const LevelTable* table = model.ActiveLevels();
    if (table == nullptr) __builtin_trap();
    for (int level = 0; level < kLevelCount; ++level) {
        const int slots = table->SlotCount(level);
        for (int n = 0; n <= slots + 1; ++n) {
            int width = 0, decimals = 0;
            model.FormatByNumber(level, n, width, decimals);
            if (n >= 1 && n <= slots && (width < 1 || width > kMaxSlotWidth)) __builtin_trap();
            tRNAMEList& field = model.FieldByNumber(level, n);
            const std::string field_name = field.AsName();
            field.AsExpression();
            field.SetAsString(field_name);
            if (field.HasCurrent() && field.AsString() != field_name) __builtin_trap();
            model.FormatByName(field_name, width, decimals);
        }
    }
    model.PutDefaultValues(BuiltInValues{});
    return 0;
}
