#pragma once
// Reads printed PDF files back with poppler's tools (pdfinfo, pdftotext from poppler-utils):
// the number of pages and the text of one page or of the whole file.

#include <regex>
#include <string>

#include "tests/common/shell_command.h"

namespace quillon::testing {

// The page count of a PDF file; -1 when it cannot be read.
inline int PdfPageCount(const std::string& pdf) {
    std::string command = "pdfinfo ";
    command.append(ShellQuote(pdf)).append(" 2>/dev/null");
    const ShellOutput o = RunShell(command);
    std::smatch m;
    static const std::regex pages(R"(Pages:\s+(\d+))");
    if (o.status != 0 || !std::regex_search(o.out, m, pages)) return -1;
    return std::stoi(m[1]);
}

// The text of page `page` (1-based), or of every page when `page` is 0, laid out as printed.
inline std::string PdfText(const std::string& pdf, int page = 0) {
    std::string command = "pdftotext -layout ";
    if (page > 0) {
        const std::string n = std::to_string(page);
        command.append("-f ").append(n).append(" -l ").append(n).append(" ");
    }
    command.append(ShellQuote(pdf)).append(" - 2>/dev/null");
    return RunShell(command).out;
}

}  // namespace quillon::testing
