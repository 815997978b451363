// How a template was understood, shared by `quillon inspect` and the Run button of
// `quillon edit`: per level its slots (number, width, decimals, name, expression, alias) and
// the text segments between them.

#include "apps/quillon/template_overview.h"

#include <ostream>

#include "calc/rpt_calculator.h"
#include "engine/expression_check.h"
#include "engine/report_model.h"

namespace quillon::app {

namespace {

// A text segment as a quoted, escaped string: line breaks and control bytes become
// escapes; characters of a UTF-8 template stay as they are.
std::string Quote(std::string_view s, text::TextEncoding encoding) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        switch (c) {
            case '\r':
                out += "\\r";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\t':
                out += "\\t";
                continue;
            case '"':
                out += "\\\"";
                continue;
            case '\\':
                out += "\\\\";
                continue;
            default:
                break;
        }
        if (c >= 0x80 && encoding == text::TextEncoding::Utf8) {
            const std::size_t len = text::Utf8SequenceLength(s.substr(i));
            if (len > 0) {
                out.append(s.substr(i, len));
                i += len - 1;
                continue;
            }
        }
        if (c < 0x20 || c >= 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
    return out;
}

void PrintLevel(ReportModel& model, int level, std::ostream& out) {
    const LevelTable& table = *model.ActiveLevels();
    const LevelLists& lists = *table.Get(level);
    const int slots = table.SlotCount(level);
    const text::TextEncoding encoding = model.Encoding(model.ActiveFormatNo());
    out << "\n@" << level << ' ' << LevelTitle(level) << ": " << slots
        << (slots == 1 ? " slot" : " slots") << '\n';
    tRNAMEList& names = model.ActiveNames();
    for (int n = 0; n <= slots; ++n) {
        if (n > 0) {
            int width = 0, decimals = 0;
            model.FormatByNumber(level, n, width, decimals);
            out << "  slot " << n << ": width " << width << ", decimals " << decimals;
            names.FindByNumber(level, n);
            const std::string name = names.AsName();
            out << ", name " << (name.empty() ? "(none)" : name);
            const std::string expression = names.AsExpression();
            if (!expression.empty()) out << ", expression " << Quote(expression, encoding);
            if (const auto alias = names.AliasOf(level, n)) {
                out << ", alias of @" << alias->level << " slot " << alias->number;
            }
            out << '\n';
        }
        for (const DataNodeRec& node : lists[static_cast<std::size_t>(n)]) {
            out << "    text " << Quote(node.Val, encoding) << '\n';
        }
    }
}

}  // namespace

bool LoadTemplateModel(ReportModel& model, const std::string& file, const std::string* content,
                       std::string& format_name,
                       const std::function<void(std::string_view)>& on_message) {
    LoadSettings settings;
    settings.message = [&on_message](std::string_view msg, TMsgDlgType, TMsgDlgButtons) {
        if (on_message) on_message(msg);
        return static_cast<int>(mrOk);
    };
    return content != nullptr ? model.LoadFormatText(file, *content, format_name, 1, settings)
                              : model.LoadFormat(file, format_name, 1, settings);
}

bool WriteTemplateOverview(const std::string& file, const std::string* content,
                           std::string& format_name, std::ostream& out,
                           const std::function<void(std::string_view)>& on_message) {
    ReportModel model;
    if (!LoadTemplateModel(model, file, content, format_name, on_message)) return false;
    const char* kind = model.IsRTF() ? "RTF" : model.IsTXT() ? "text" : "HTML";
    const char* encoding = model.Encoding(1) == text::TextEncoding::Utf8 ? "UTF-8" : "Windows-1252";
    out << "Template " << file << "\nFormat " << format_name << " (" << kind << ", " << encoding
        << ")\n";
    for (int level = 0; level < kLevelCount; ++level) {
        if (model.ActiveLevels()->Has(level)) PrintLevel(model, level, out);
    }
    // A calculated field that cannot be calculated fails every run of the template.
    TrptCalculator calculator;
    const std::string fault = InvalidExpressionMessage(model.Names(1), calculator, nullptr, file);
    if (!fault.empty()) {
        if (on_message) on_message(fault);
        return false;
    }
    return true;
}

}  // namespace quillon::app
