#include "engine/message_page.h"

namespace quillon {

std::string_view MessagePageHeadLine(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning:
            return R"(<center><h1><font color="yellow">?</font></h1></center>)";
        case TMsgDlgType::mtError:
            return R"(<center><h1><font color="red">Stop</font></h1></center>)";
        case TMsgDlgType::mtInformation:
            return R"(<center><h1><font color="blue">i</font></h1></center>)";
        case TMsgDlgType::mtConfirmation:
            return R"(<center><h1><font color="green">?</font></h1></center>)";
        case TMsgDlgType::mtCustom:
            break;
    }
    return "<br><br>";
}

std::string EscapeHtmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '&') {
            out.append("&amp;");
        } else if (c == '<') {
            out.append("&lt;");
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string BuildMessagePage(std::string_view msg, TMsgDlgType type) {
    std::string page(MessagePageHeadLine(type));
    page.append("\r\n");
    page.append(R"(<br><center><table border><tr><td bgcolor="SILVER"><h5>)");
    page.append(EscapeHtmlText(msg));
    page.append("</h5></td></tr></table></center><br>\r\n");
    return page;
}

}  // namespace quillon
