#include "design/expert/component_editor.h"

#include "design/expert/code_template.h"
#include "design/expert/expert_format.h"
#include "design/expert/handler_source.h"
#include "engine/report_model.h"

namespace quillon::design {

namespace {

bool Blank(const std::string& s) {
    return s.find_first_not_of(" \t") == std::string::npos;
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::vector<VerbInfo> TQuillonEditor::Verbs() {
    return {{EditorVerb::Caption1, "Quillon report generator"},
            {EditorVerb::Caption2, "Templates in HTML, RTF or text"},
            {EditorVerb::Separator, "-"},
            {EditorVerb::Editor, "Quillon Editor"},
            {EditorVerb::Expert, "Quillon Expert ..."},
            {EditorVerb::CodeTemplate, "Code template from Format File"}};
}

void TQuillonEditor::ExecuteVerb(EditorVerb verb) {
    switch (verb) {
        case EditorVerb::Editor:
            if (OpenEditor) OpenEditor(report_);
            break;
        case EditorVerb::Expert: {
            if (!CheckFormatProperties()) return;
            if (!host_.ReadSource()) return;  // no unit source: nothing to write into
            ExpertModel model = ExpertModel::FromHost(report_, host_);
            if (RunExpert && RunExpert(model)) {
                const std::string error = ApplyExpert(model);
                if (!error.empty()) host_.ShowMessage(error, report_.class_name);
            }
            break;
        }
        case EditorVerb::CodeTemplate: {
            const std::string error = CodeTemplateFromFormat();
            if (!error.empty()) host_.ShowMessage(error, report_.class_name);
            break;
        }
        default:
            break;
    }
}

bool TQuillonEditor::CheckFormatProperties() {
    if (Blank(report_.format_file) || Blank(report_.format_name)) {
        host_.ShowMessage(kFormatPropertyError, report_.class_name);
        return false;
    }
    return true;
}

std::string TQuillonEditor::ApplyExpert(const ExpertModel& model) {
    report_.landscape = model.landscape;
    std::string error;
    auto source = host_.ReadSource();
    if (source) {
        const std::vector<ExpertField> fields = model.ChosenFields();
        ExpertOptions options;
        options.format_name = Trimmed(report_.format_name);
        options.title = model.title;
        options.page_number = model.page_number;
        options.date_time = model.date_time;
        error = CheckFormatName(options.format_name);
        for (const ExpertField& f : fields) {
            if (error.empty()) error = CheckFieldName(f.name);
        }
        if (error.empty())
            error = WriteFormatFile(report_.format_file, ExpertFormatLines(options, fields));
        if (error.empty()) {
            const PageSizes sizes = ExpertPageSizes(fields.size());
            report_.pg_size = sizes.pg_size;
            report_.first_pg_size = sizes.first_pg_size;
            const std::string n = report_.name;
            const std::string& d = model.DataSetName();
            host_.CreateEventHandler(n, "OnNext", n + "Next", HandlerKind::Next);
            host_.CreateEventHandler(n, "OnGetDetailLine", n + "GetDetailLine", HandlerKind::Line);
            if (auto lines = host_.ReadSource()) {
                InsertIntoHandler(*lines, n + "Next", ExpertNextBody(n, d));
                host_.WriteSource(*lines);
            }
            if (auto lines = host_.ReadSource()) {
                InsertIntoHandler(*lines, n + "GetDetailLine", ExpertDetailBody(d, fields));
                host_.WriteSource(*lines);
            }
        }
    }
    host_.Modified();
    return error;
}

std::string TQuillonEditor::CodeTemplateFromFormat() {
    if (!CheckFormatProperties()) return {};
    ReportModel model;
    LoadSettings settings;
    std::string message;
    settings.message = [&message](std::string_view text, TMsgDlgType, TMsgDlgButtons) {
        message = std::string(text);
        return static_cast<int>(mrOk);
    };
    std::string format_name = Trimmed(report_.format_name);
    if (!model.LoadFormat(Trimmed(report_.format_file), format_name, 1, settings)) return message;
    ApplyCodeTemplate(host_, report_.name, BuildCodeTemplate(model));
    return {};
}

}  // namespace quillon::design
