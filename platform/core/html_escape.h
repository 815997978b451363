#pragma once
// Escaping of text put into generated HTML.

#include <string>
#include <string_view>

namespace quillon {

// Appends text to out with "&", "<", ">" and '"' written as character references.
void AppendHtmlEscaped(std::string& out, std::string_view text);

// text with "&", "<", ">" and '"' written as character references.
std::string HtmlEscape(std::string_view text);

}  // namespace quillon
