#include "viewers/viewer_choice.h"

#include <array>
#include <fstream>

#include "platform/core/file_names.h"
#include "platform/core/text_encoding.h"
#include "viewers/html_report_viewer.h"
#include "viewers/rtf/rtf_reader.h"
#include "viewers/rtf_viewer.h"
#include "viewers/txt_viewer.h"

namespace quillon {

namespace {

bool HoldsHtmlTag(std::string_view head) {
    static constexpr std::array<std::string_view, 10> kTags = {
        "<html", "<!doctype html", "<head", "<body", "<title", "<table", "<p>",
        "<br",   "<div",           "<font"};
    const std::string upper = text::AsciiUpperCase(head);
    for (std::string_view tag : kTags) {
        if (upper.find(text::AsciiUpperCase(tag)) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

ReportViewerKind ViewerKindFor(std::string_view file_name, std::string_view head) {
    if (rtf::LooksLikeRtf(head)) return ReportViewerKind::Rtf;
    const std::string ext = LowerExtension(file_name);
    if (ext == ".htm" || ext == ".html" || IsLevelExtension(ext, 'h')) {
        return ReportViewerKind::Html;
    }
    if (ext == ".txt" || ext == ".prn" || ext == ".rtf" || IsLevelExtension(ext, 't') ||
        IsLevelExtension(ext, 'r')) {
        return ReportViewerKind::Txt;
    }
    return HoldsHtmlTag(head) ? ReportViewerKind::Html : ReportViewerKind::Txt;
}

ReportViewerKind ViewerKindForFile(const std::string& file_name) {
    std::string head(4096, '\0');
    std::ifstream in(file_name, std::ios::binary);
    if (in) {
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<std::size_t>(in.gcount()));
    } else {
        head.clear();
    }
    return ViewerKindFor(file_name, head);
}

ReportViewerKind ViewerKindForTemplate(std::string_view template_name) {
    const std::string ext = LowerExtension(template_name);
    if (ext.starts_with(".htm")) return ReportViewerKind::Html;
    if (ext == ".rtf") return ReportViewerKind::Rtf;
    return ReportViewerKind::Txt;
}

std::unique_ptr<TCustomWWWRepViewer> MakeReportViewer(ReportViewerKind kind, HostServices& host) {
    switch (kind) {
        case ReportViewerKind::Html:
            return std::make_unique<TrptHTMLViewer>("HTMLViewer", host);
        case ReportViewerKind::Rtf:
            return std::make_unique<TrptRTFViewer>("RTFViewer", host);
        case ReportViewerKind::Txt:
            break;
    }
    return std::make_unique<TrptTXTViewer>("TXTViewer", host);
}

}  // namespace quillon
