#pragma once
// Helpers shared by the engine tests: loading a template from text with its messages
// collected, and reading back the text lists of a level.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/report_model.h"

namespace quillon::testing_util {

// Collects every message the loader shows: errors in texts, warnings apart.
struct MessageLog {
    std::vector<std::string> texts;
    std::vector<std::string> warnings;

    LoadSettings Settings(TRepLanguage language = laEnglish) {
        LoadSettings s;
        s.language = language;
        s.message = [this](std::string_view msg, TMsgDlgType type, TMsgDlgButtons buttons) {
            EXPECT_EQ(buttons, mbOK);
            if (type == TMsgDlgType::mtWarning) {
                warnings.emplace_back(msg);
            } else {
                EXPECT_EQ(type, TMsgDlgType::mtError);
                texts.emplace_back(msg);
            }
            return static_cast<int>(mrOk);
        };
        return s;
    }
};

// Loads content as file_name into slot; the messages go to log.
inline bool LoadText(ReportModel& model, MessageLog& log, std::string_view file_name,
                     std::string_view content, std::string format_name = "*", int slot = 1,
                     LoadSettings settings = {}) {
    LoadSettings s = log.Settings(settings.language);
    s.strip_names = settings.strip_names;
    s.rtf_name_tag = settings.rtf_name_tag;
    return model.LoadFormatText(file_name, content, format_name, slot, s);
}

// The node texts of list n of level in the active format (empty when absent).
inline std::vector<std::string> Texts(const ReportModel& model, int level, int n) {
    std::vector<std::string> out;
    const LevelTable* table = model.ActiveLevels();
    if (table == nullptr || table->Get(level) == nullptr) return out;
    for (const DataNodeRec& node : (*table->Get(level))[static_cast<std::size_t>(n)]) {
        out.push_back(node.Val);
    }
    return out;
}

// Width and decimals of slot n of level in the active format.
inline std::pair<int, int> Format(const ReportModel& model, int level, int n) {
    int w = 0, d = 0;
    model.FormatByNumber(level, n, w, d);
    return {w, d};
}

// The name of slot n of level in the active format ("*" when there is none).
inline std::string NameOf(ReportModel& model, int level, int n) {
    return model.FieldByNumber(level, n).AsName();
}

}  // namespace quillon::testing_util
