#pragma once
// The HTML page that stands for a message when a report writes its messages into the
// output (prMsgToHtml): a head line chosen by the kind of message and the message text in
// a silver table. "&" and "<" of the text are escaped, so any message text stays text.

#include <string>
#include <string_view>

#include "platform/core/host_services.h"

namespace quillon {

// The head line of the page for a kind of message.
std::string_view MessagePageHeadLine(TMsgDlgType type);
// "&" -> "&amp;", "<" -> "&lt;".
std::string EscapeHtmlText(std::string_view text);
// The two lines of the page, each ending with CR LF.
std::string BuildMessagePage(std::string_view msg, TMsgDlgType type);

}  // namespace quillon
