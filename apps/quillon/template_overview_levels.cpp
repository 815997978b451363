// The levels of a template for the Run window of quillon edit (template_overview.h).

#include "apps/quillon/template_overview.h"
#include "design/template_levels.h"
#include "engine/report_level.h"
#include "engine/report_model.h"
#include "platform/core/text_encoding.h"

namespace quillon::app {

bool CollectTemplateLevels(const std::string& file, const std::string* content,
                           std::string& format_name, design::TemplateLevels& levels,
                           const std::function<void(std::string_view)>& on_message) {
    ReportModel model;
    if (!LoadTemplateModel(model, file, content, format_name, on_message)) return false;
    const bool utf8 = model.Encoding(1) == text::TextEncoding::Utf8;
    const auto to_utf8 = [utf8](std::string_view s) {
        return utf8 ? std::string(s) : text::Cp1252ToUtf8(s);
    };
    levels.file = file;
    levels.format = to_utf8(format_name);
    levels.kind = model.IsRTF() ? "RTF" : model.IsTXT() ? "text" : "HTML";
    levels.encoding = utf8 ? "UTF-8" : "Windows-1252";
    levels.levels.clear();
    tRNAMEList& names = model.ActiveNames();
    for (int level = 0; level < kLevelCount; ++level) {
        if (!model.ActiveLevels()->Has(level)) continue;
        const LevelTable& table = *model.ActiveLevels();
        const LevelLists& lists = *table.Get(level);
        design::TemplateLevelInfo info;
        info.level = level;
        info.title = LevelTitle(level);
        const int slots = table.SlotCount(level);
        for (int n = 0; n <= slots; ++n) {
            if (n > 0) {
                design::TemplateSlotInfo slot;
                slot.number = n;
                model.FormatByNumber(level, n, slot.width, slot.decimals);
                names.FindByNumber(level, n);
                slot.name = to_utf8(names.AsName());
                slot.expression = to_utf8(names.AsExpression());
                if (const auto alias = names.AliasOf(level, n)) {
                    slot.alias_of = std::make_pair(alias->level, alias->number);
                }
                info.field_slots.push_back(std::move(slot));
            }
            std::string segment;
            for (const DataNodeRec& node : lists[static_cast<std::size_t>(n)]) {
                segment += to_utf8(node.Val);
            }
            info.texts.push_back(std::move(segment));
        }
        levels.levels.push_back(std::move(info));
    }
    return true;
}

}  // namespace quillon::app
