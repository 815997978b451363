#include "apps/quillon/template_runner.h"

#include <string_view>
#include <utility>

#include "apps/quillon/template_overview.h"

namespace quillon::app {

TemplateRunner MakeTemplateRunner(std::string format_name, TemplatePreview preview) {
    return [format_name = std::move(format_name), preview = std::move(preview)](
               const std::string& file_name, const std::string& content) {
        TemplateRunResult result;
        std::string format = format_name;
        result.loaded = CollectTemplateLevels(
            file_name, &content, format, result.levels,
            [&result](std::string_view msg) { (result.messages += msg) += '\n'; });
        if (preview && result.loaded) result.preview = preview(file_name, format, content);
        return result;
    };
}

}  // namespace quillon::app
