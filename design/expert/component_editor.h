#pragma once
// TQuillonEditor: the design-time menu of a report component and what its verbs do: the
// FormatFile/FormatName check, applying the expert's result (template, page sizes,
// orientation, handlers and their code) and the code template of an existing format.

#include <functional>
#include <string>
#include <vector>

#include "design/expert/design_host.h"
#include "design/expert/expert_model.h"

namespace quillon::design {

enum class EditorVerb { Caption1, Caption2, Separator, Editor, Expert, CodeTemplate };

struct VerbInfo {
    EditorVerb verb;
    std::string caption;
};

inline constexpr const char* kFormatPropertyError = "FormatFile/FormatName property error";

class TQuillonEditor {
  public:
    TQuillonEditor(EditedReport& report, DesignHost& host) : report_(report), host_(host) {}

    // The six verbs in menu order.
    static std::vector<VerbInfo> Verbs();

    // Opens a format-file editor for the component's template (set by the application).
    std::function<void(EditedReport&)> OpenEditor;
    // Shows the expert over a model and returns true for OK (set by the wizard's library).
    std::function<bool(ExpertModel&)> RunExpert;

    // Carries out a verb; the informational captions and the separator do nothing.
    void ExecuteVerb(EditorVerb verb);

    // True when FormatFile and FormatName are set; otherwise shows the property error.
    bool CheckFormatProperties();

    // What OK does: orientation, the format file, page sizes, handlers and their code,
    // and the modified notification. Returns an error text (empty on success).
    std::string ApplyExpert(const ExpertModel& model);

    // Writes handler templates for every field the format file uses. Returns an error text
    // (empty on success, or when there is nothing to do).
    std::string CodeTemplateFromFormat();

  private:
    EditedReport& report_;
    DesignHost& host_;
};

}  // namespace quillon::design
