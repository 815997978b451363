#include "apps/quillon/run_pdf_output.h"

#include <system_error>

#include "apps/quillon/command_registry.h"
#include "apps/quillon/document_render.h"
#include "apps/quillon/staged_output.h"
#include "engine/template_lines.h"

namespace quillon::app {

namespace fs = std::filesystem;

namespace {

constexpr int kExitOutput = 4;
constexpr int kExitRun = 5;

// The kind of report the engine writes from a template of this name.
ReportKind ReportKindOfTemplate(const std::string& template_path) {
    const TemplateKind kind = KindOfTemplate(template_path);
    if (kind.rtf) return ReportKind::Rtf;
    if (kind.txt) return ReportKind::Text;
    return ReportKind::Html;
}

}  // namespace

std::optional<PdfPlan> PlanPdfOutput(const std::string& out, const std::string& template_path,
                                     const PdfPageOptions& options, std::string& error) {
    if (!ParsePaper(options.paper)) {
        error = "--paper " + options.paper +
                " is no paper size; give A4, Letter or WIDTHxHEIGHTmm (10 to 5000 mm)";
        return std::nullopt;
    }
    if (!ParseMargins(options.margins)) {
        error = "--margins " + options.margins +
                " is not four centimetre values TOP,BOTTOM,LEFT,RIGHT (0 to 1000)";
        return std::nullopt;
    }
    PdfPlan plan;
    plan.pdf = out;
    std::error_code ec;
    // Through a symbolic link, the file it points to is replaced, not the link.
    if (fs::is_symlink(plan.pdf, ec)) plan.pdf = fs::weakly_canonical(plan.pdf, ec);
    fs::path name = plan.pdf.stem();
    name += fs::path(template_path).extension();
    if (text::AsciiUpperCase(name.string()) == text::AsciiUpperCase(plan.pdf.filename().string())) {
        name = plan.pdf.stem();
        name += ".report";
        name += fs::path(template_path).extension();
    }
    plan.report = plan.pdf.parent_path() / name;
    return plan;
}

PdfDelivery DeliverPdf(StagedOutput& staged, const PdfPlan& plan, const std::string& template_path,
                       const PdfPageOptions& options) {
    RenderJob job;
    job.path = staged.StagePath().string();
    job.name = "the report of " + template_path;
    job.kind = ReportKindOfTemplate(template_path);
    const fs::path staged_pdf = staged.StagePath().parent_path() / plan.pdf.filename();
    job.pdf = staged_pdf.string();
    job.paper = *ParsePaper(options.paper);
    job.orientation = options.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    SetMargins(job.settings, *ParseMargins(options.margins));
    // Images of the report are found where it would have been written.
    job.image_folder = plan.pdf.parent_path().empty() ? "." : plan.pdf.parent_path().string();

    const RenderResult printed = RenderDocument(job);
    // Only the PDF leaves the staged folder.
    std::error_code ec;
    fs::remove(staged.StagePath(), ec);
    PdfDelivery delivery;
    delivery.sheets = printed.pages;
    const std::string to = " to " + plan.pdf.string();
    switch (printed.outcome) {
        case RenderOutcome::Written:
            break;
        case RenderOutcome::PageSetup:
            return {kExitUsage, "the report cannot be printed" + to + ": " + printed.message, 0};
        case RenderOutcome::Output:
            return {kExitOutput, "the report cannot be printed" + to + ": " + printed.message, 0};
        case RenderOutcome::Unreadable:
        case RenderOutcome::Range:
            return {kExitRun, "the report cannot be printed" + to + ": " + printed.message, 0};
    }
    if (!staged.Commit()) return {kExitOutput, staged.Error(), 0};
    return delivery;
}

}  // namespace quillon::app
