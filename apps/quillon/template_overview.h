#pragma once
// The overview of a loaded template: per level its slots (number, width, decimals, name,
// expression, alias) and the text segments between them.

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace quillon {
class ReportModel;
}

namespace quillon::app {

// Loads format format_name ("*": the first, whose name it receives) of a template into
// model, from content when given (file then only names it and decides its kind), else from
// the file. The loader's messages go to on_message. False when the template does not load.
bool LoadTemplateModel(ReportModel& model, const std::string& file, const std::string* content,
                       std::string& format_name,
                       const std::function<void(std::string_view)>& on_message);

// Loads format format_name ("*": the first, whose name it receives) of a template into a
// fresh report model, from content when given (file then only names it and decides its
// kind), else from the file, and writes the overview to out. The loader's messages go to
// on_message. False when the template does not load or a calculated field's expression is
// not valid (the overview is written, the fault goes to on_message).
bool WriteTemplateOverview(const std::string& file, const std::string* content,
                           std::string& format_name, std::ostream& out,
                           const std::function<void(std::string_view)>& on_message);

}  // namespace quillon::app

namespace quillon::design {
struct TemplateLevels;
}

namespace quillon::app {

// As WriteTemplateOverview, but into levels (texts and names in UTF-8) for the editor's
// Run window.
bool CollectTemplateLevels(const std::string& file, const std::string* content,
                           std::string& format_name, design::TemplateLevels& levels,
                           const std::function<void(std::string_view)>& on_message);

}  // namespace quillon::app
