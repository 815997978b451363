#pragma once
// quillon run --out REPORT.pdf: the run writes its report in the template's own format
// (HTML, RTF or text) into the staged folder beside the PDF, and once the run succeeded
// that report is printed as quillon render prints it (A4, 2 cm margins and the "Page N of
// M" footer unless --paper, --margins, --landscape say otherwise). Only the PDF is moved
// into place; the report file it was printed from is removed. A run or a print that fails
// leaves no PDF, and an earlier PDF of the same name stays as it was.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/text_encoding.h"

namespace quillon::app {

class StagedOutput;

// True when --out names a PDF file: it ends in .pdf, in any case.
inline bool IsPdfOutput(std::string_view out) {
    return out.size() > 4 && text::AsciiUpperCase(out.substr(out.size() - 4)) == ".PDF";
}

struct PdfPageOptions {
    std::string paper = "A4";
    std::string margins = "2,2,2,2";
    bool landscape = false;
};

struct PdfPlan {
    std::filesystem::path pdf;     // where the PDF goes (a symbolic link: the file it names)
    std::filesystem::path report;  // where the run writes the report: beside the PDF, in
                                   // the template's format
};

// Checks the page options and says where the report and the PDF go; nothing with `error`
// set when an option is malformed.
std::optional<PdfPlan> PlanPdfOutput(const std::string& out, const std::string& template_path,
                                     const PdfPageOptions& options, std::string& error);

// The result of printing a run's report.
struct PdfDelivery {
    int exit_code = 0;  // 0, or the run's exit code of the failure
    std::string message;
    int sheets = 0;
};

// Prints the report the run wrote at staged.StagePath() (written from template_path) to
// the PDF and moves the PDF into place. Exit codes: 4 the PDF cannot be written or moved
// into place, 5 the report cannot be read or laid out, 64 the margins leave no page body.
PdfDelivery DeliverPdf(StagedOutput& staged, const PdfPlan& plan, const std::string& template_path,
                       const PdfPageOptions& options);

}  // namespace quillon::app
