#include "design/expert/code_template.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>

#include "design/expert/expert_format.h"
#include "design/expert/handler_source.h"
#include "engine/report_level.h"

namespace quillon::design {

namespace {

constexpr int kSecondParse = -1;

struct HandlerInfo {
    const char* suffix;
    const char* event;
    HandlerKind kind;
};

HandlerInfo InfoOf(int level) {
    switch (level) {
        case rlHead:
            return {"GetHeadLine", "OnGetHeadLine", HandlerKind::Line};
        case rlNewPage:
            return {"GetNewPgLine", "OnGetNewPgLine", HandlerKind::Line};
        case rlDetailHead:
            return {"GetDetailHeadLine", "OnGetDetailHeadLine", HandlerKind::Line};
        case rlDetail:
            return {"GetDetailLine", "OnGetDetailLine", HandlerKind::Line};
        case kSecondParse:
            return {"GetSecondParseFields", "OnGetSecondParseFields", HandlerKind::Line};
        default:
            return {"GetSumLine", "OnGetSumLine", HandlerKind::SumLine};
    }
}

std::string UpperCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

const char* ParametersOf(HandlerKind kind) {
    switch (kind) {
        case HandlerKind::Next:
            return "(quillon::TQuillon& Sender, bool& PNext)";
        case HandlerKind::SumLine:
            return "(quillon::TQuillon& Sender, quillon::TReportLevel Level)";
        case HandlerKind::Line:
            break;
    }
    return "(quillon::TQuillon& Sender)";
}

const char* ArgumentsOf(HandlerKind kind) {
    switch (kind) {
        case HandlerKind::Next:
            return "(Sender, PNext)";
        case HandlerKind::SumLine:
            return "(Sender, Level)";
        case HandlerKind::Line:
            break;
    }
    return "(Sender)";
}

}  // namespace

bool IsBuiltInField(std::string_view name) {
    static constexpr std::array<std::string_view, 6> kBuiltIn = {"DATE",   "DATETIME", "TIME",
                                                                 "PAGENO", "LINENO",   "TAB"};
    const std::string upper = UpperCase(name);
    return std::find(kBuiltIn.begin(), kBuiltIn.end(), upper) != kBuiltIn.end();
}

CodeTemplate BuildCodeTemplate(ReportModel& model) {
    const LevelTable* levels = model.ActiveLevels();
    std::array<bool, kLevelCount> used{};
    // Upper-cased name -> its first use; a std::map keeps them sorted.
    struct FirstUse {
        std::string name;  // as first written
        int tag = 0;       // the level, or kSecondParse
        bool filled = false;
    };
    std::map<std::string, FirstUse> names;
    bool second_parse = false;
    tRNAMEList& table = model.ActiveNames();
    for (int level = 0; levels && level < kLevelCount; ++level) {
        const int slots = levels->SlotCount(level);
        for (int n = 1; n <= slots; ++n) {
            if (!table.FindByNumber(level, n)) continue;
            const std::string name = table.AsName();
            if (name.empty()) continue;
            used[static_cast<std::size_t>(level)] = true;
            int width = 0, decimals = 0;
            model.FormatByNumber(level, n, width, decimals);
            if (width <= 0) continue;
            const bool is_second = name.front() == '&';
            second_parse = second_parse || is_second;
            // A calculated field (NAME=EXPRESSION) gets its value from its expression.
            const bool filled = IsBuiltInField(name) || !table.AsExpression().empty();
            names.try_emplace(UpperCase(name),
                              FirstUse{name, is_second ? kSecondParse : level, filled});
        }
    }

    CodeTemplate code;
    auto block_for = [&](int level) {
        TemplateBlock block{level, {}};
        for (const auto& [key, use] : names) {
            if (use.tag == level) (use.filled ? block.filled : block.names).push_back(use.name);
        }
        const HandlerInfo info = InfoOf(level);
        auto it = std::find_if(code.handlers.begin(), code.handlers.end(),
                               [&](const TemplateHandler& h) { return h.suffix == info.suffix; });
        if (it == code.handlers.end()) {
            code.handlers.push_back({info.suffix, info.event, info.kind, {}});
            it = code.handlers.end() - 1;
        }
        it->blocks.push_back(std::move(block));
    };
    for (int level = 0; level < kLevelCount; ++level) {
        if (used[static_cast<std::size_t>(level)]) block_for(level);
    }
    if (second_parse) block_for(kSecondParse);
    return code;
}

std::vector<std::string> BlockLines(const TemplateBlock& block) {
    std::vector<std::string> lines;
    if (block.level >= rlSum01 && block.level <= rlSum10) {
        const int sum = block.level - rlSum01 + 1;
        lines.push_back(std::string("  if (Level == quillon::rlSum") + (sum < 10 ? "0" : "") +
                        std::to_string(sum) + ") {");
    } else if (block.level == rlFooter) {
        lines.push_back("  if (Level == quillon::rlFooter) {");
    } else if (block.level == rlEnd) {
        lines.push_back("  if (Level == quillon::rlEnd) {");
    } else {
        lines.push_back("  {");
    }
    if (!block.filled.empty()) {
        std::string names;
        for (const std::string& name : block.filled) {
            names += names.empty() ? "" : ", ";
            names += name;
        }
        lines.push_back("    // Filled by the report: " + names);
    }
    for (const std::string& name : block.names) {
        lines.push_back("    Sender.FieldByName(" + Literal(name) + ").SetAsString(\"\");");
    }
    lines.push_back("  }");
    return lines;
}

void InsertCodeTemplate(std::vector<std::string>& source, std::string_view component,
                        const CodeTemplate& code) {
    for (const TemplateHandler& handler : code.handlers) {
        const std::string name = std::string(component) + handler.suffix;
        for (const TemplateBlock& block : handler.blocks) {
            InsertIntoHandler(source, name, BlockLines(block));
        }
    }
}

std::vector<std::string> HandlerSkeleton(std::string_view class_name, std::string_view handler,
                                         HandlerKind kind) {
    return {"void " + std::string(class_name) + "::" + std::string(handler) + ParametersOf(kind),
            "{", "}"};
}

std::string CodeTemplateText(std::string_view component, std::string_view class_name,
                             const CodeTemplate& code) {
    const std::string n(component);
    std::vector<std::string> source;
    source.push_back("// Assign the handlers where " + n + " is set up:");
    for (const TemplateHandler& h : code.handlers) {
        source.push_back("//   " + n + "." + h.event + " = [this]" + ParametersOf(h.kind) + " { " +
                         n + h.suffix + ArgumentsOf(h.kind) + "; };");
    }
    for (const TemplateHandler& h : code.handlers) {
        source.emplace_back();
        const auto skeleton = HandlerSkeleton(class_name, n + h.suffix, h.kind);
        source.insert(source.end(), skeleton.begin(), skeleton.end());
    }
    InsertCodeTemplate(source, component, code);
    std::string text;
    for (const std::string& line : source) {
        text += line;
        text += '\n';
    }
    return text;
}

bool ApplyCodeTemplate(DesignHost& host, std::string_view component, const CodeTemplate& code) {
    const std::string n(component);
    for (const TemplateHandler& h : code.handlers) {
        host.CreateEventHandler(n, h.event, n + h.suffix, h.kind);
    }
    auto source = host.ReadSource();
    if (!source) return false;
    InsertCodeTemplate(*source, component, code);
    host.WriteSource(*source);
    return true;
}

}  // namespace quillon::design
