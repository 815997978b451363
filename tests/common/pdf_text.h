#pragma once
// Reads printed PDF files back with poppler's tools (pdfinfo, pdftotext from poppler-utils):
// the number of pages, the size of a page and the text of one page or of the whole file.

#include <regex>
#include <string>
#include <utility>

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

// The width and height of page `page` (1-based) in points (1/72 inch), turned as the
// page is shown; {0, 0} when the file cannot be read.
struct PdfPageBox {
    double width = 0;
    double height = 0;
};
inline PdfPageBox PdfPageSize(const std::string& pdf, int page = 1) {
    const std::string n = std::to_string(page);
    std::string command = "pdfinfo -f " + n + " -l " + n + " ";
    command.append(ShellQuote(pdf)).append(" 2>/dev/null");
    const ShellOutput o = RunShell(command);
    std::smatch m;
    static const std::regex size(R"(Page\s+\d+\s+size:\s+([0-9.]+) x ([0-9.]+) pts)");
    static const std::regex rot(R"(Page\s+\d+\s+rot:\s+(\d+))");
    if (o.status != 0 || !std::regex_search(o.out, m, size)) return {};
    PdfPageBox box{std::stod(m[1]), std::stod(m[2])};
    if (std::regex_search(o.out, m, rot) && std::stoi(m[1]) % 180 == 90) {
        std::swap(box.width, box.height);
    }
    return box;
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
