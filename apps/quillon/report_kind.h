#pragma once
// Which kind of report a file holds, for printing it: HTML, RTF or plain text. The content
// decides first, the file's name second:
//
//   - rich text starts with "{\rtf" (after blanks or a UTF-8 byte-order mark), whatever
//     the name;
//   - a NUL byte among the first bytes makes the file binary data (a picture, an archive,
//     UTF-16 text): no report;
//   - otherwise the extension, in any case: .htm, .html and the level files .h01 .. .h99
//     are HTML; .txt and .t01 .. .t99 are text; .rtf is RTF (reading it then says what is
//     wrong with it).
//
// Any other file is of no known kind.

#include <optional>
#include <string>
#include <string_view>

namespace quillon::app {

enum class ReportKind { Html, Rtf, Text };

// How many bytes of a file's start the content tests look at.
inline constexpr std::size_t kReportHeadBytes = 4096;

std::optional<ReportKind> ReportKindOf(std::string_view file_name, std::string_view head);

// Why ReportKindOf found no kind, in words that can follow the file's name.
std::string NoReportKindReason(std::string_view file_name, std::string_view head);

// The first kReportHeadBytes bytes of a file (fewer when it is shorter); nothing when it
// cannot be read.
std::optional<std::string> ReadReportHead(const std::string& path);

// "HTML", "RTF", "text": the kind as messages name it.
std::string_view ReportKindName(ReportKind kind);

}  // namespace quillon::app
