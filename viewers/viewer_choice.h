#pragma once
// Which report viewer shows a report file: the RTF viewer for rich text, the HTML viewer
// for HTML, the TXT viewer for everything else, judged by the file's first bytes and its
// extension.

#include <memory>
#include <string>
#include <string_view>

#include "platform/core/host_services.h"

namespace quillon {

class TCustomWWWRepViewer;

enum class ReportViewerKind { Html, Rtf, Txt };

// Rich text starts with "{\rtf" (after blanks or a byte-order mark), whatever the name.
// Otherwise the extension decides: .htm, .html and level files .h01 .. .h99 are HTML;
// .txt, .prn and .t01 .. .t99 are text; .rtf and .r01 .. .r99 that do not start as rich
// text are shown as text. A file with another extension is HTML when its start holds an
// HTML tag, else text.
ReportViewerKind ViewerKindFor(std::string_view file_name, std::string_view head);
// The same, reading up to 4 KB of the file (an unreadable file: by its name alone).
ReportViewerKind ViewerKindForFile(const std::string& file_name);
// The viewer kind for a report written from a template with this name (the run's output
// has the template's format).
ReportViewerKind ViewerKindForTemplate(std::string_view template_name);

std::unique_ptr<TCustomWWWRepViewer> MakeReportViewer(ReportViewerKind kind,
                                                      HostServices& host = DefaultHost());

}  // namespace quillon
