#pragma once
// The Run step of the template editor as quillon edit and quillon expert use it: loads the
// text being edited as a template, collects its levels and the loader's messages, and, when
// a preview is given and the template loads, shows the report over it.

#include <functional>
#include <string>

#include "design/qt/template_editor_window.h"

namespace quillon::app {

// Shows a preview of the report made with a template (file name, format name, content) and
// returns what the Run window says about it.
using TemplatePreview =
    std::function<std::string(const std::string&, const std::string&, const std::string&)>;

// A runner loading format format_name ("*": the first) of the edited template.
TemplateRunner MakeTemplateRunner(std::string format_name, TemplatePreview preview = {});

}  // namespace quillon::app
