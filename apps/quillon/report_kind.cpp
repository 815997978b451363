#include "apps/quillon/report_kind.h"

#include <fstream>

#include "platform/core/file_names.h"
#include "viewers/rtf/rtf_reader.h"

namespace quillon::app {

std::optional<ReportKind> ReportKindOf(std::string_view file_name, std::string_view head) {
    if (rtf::LooksLikeRtf(head)) return ReportKind::Rtf;
    if (head.find('\0') != std::string_view::npos) return std::nullopt;
    const std::string ext = LowerExtension(file_name);
    if (ext == ".htm" || ext == ".html" || IsLevelExtension(ext, 'h')) return ReportKind::Html;
    if (ext == ".txt" || IsLevelExtension(ext, 't')) return ReportKind::Text;
    if (ext == ".rtf") return ReportKind::Rtf;
    return std::nullopt;
}

std::string NoReportKindReason(std::string_view file_name, std::string_view head) {
    const std::size_t nul = head.find('\0');
    if (nul != std::string_view::npos) {
        return "is binary data (a NUL byte at offset " + std::to_string(nul) +
               "), not an HTML, RTF or text report";
    }
    const std::string ext = LowerExtension(file_name);
    const std::string kinds =
        ": an HTML report ends in .htm or .html, a text report in .txt, an RTF report in .rtf "
        "(or starts with {\\rtf)";
    if (ext.empty()) return "has no extension to tell its kind" + kinds;
    return "has the extension " + ext + ", which is no report kind" + kinds;
}

std::optional<std::string> ReadReportHead(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string head(kReportHeadBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    if (in.bad()) return std::nullopt;
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

std::string_view ReportKindName(ReportKind kind) {
    switch (kind) {
        case ReportKind::Html:
            return "HTML";
        case ReportKind::Rtf:
            return "RTF";
        case ReportKind::Text:
            break;
    }
    return "text";
}

}  // namespace quillon::app
