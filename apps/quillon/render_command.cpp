// quillon render FILE (--pdf OUT.pdf | --png DIR) [--paper A4|Letter|WxHmm]
//   [--margins T,B,L,R] [--landscape] [--from N --to M] [--pages-json] [--fixed-metrics]
//   [--no-page-numbers] [--no-shrink] [--no-repeat-headers]:
// prints an HTML, RTF or text report without a display, as the viewer prints it: a PDF
// file, or one PNG image per page at 96 dpi (document_render.h does the work). A report
// wider than the page is shrunk to fit it unless --no-shrink. An HTML report's @page size
// and margins are used where --paper, --landscape and --margins are not given.
//
// Exit codes: 0 written; 1 the document cannot be read, is of no known kind, or cannot be
// parsed or laid out; 2 the page set-up leaves no page body; 3 the page range starts
// beyond the last page (nothing is written); 4 the output cannot be written; 64 usage error.

#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "apps/quillon/command_registry.h"
#include "apps/quillon/document_render.h"

namespace quillon::app {

namespace {

constexpr int kExitDocument = 1;
constexpr int kExitPageSetup = 2;
constexpr int kExitRange = 3;
constexpr int kExitOutput = 4;

struct RenderOptions {
    std::string path;
    std::string pdf;
    std::string png;
    std::string paper = "A4";
    std::string margins = "2,2,2,2";
    bool landscape = false;
    int from = 1;
    int to = 0;  // 0: the last page
    bool pages_json = false;
    bool fixed_metrics = false;
    bool no_page_numbers = false;
    bool no_shrink = false;
    bool no_repeat_headers = false;
    GivenPage given;  // which of --paper, --landscape and --margins were given
};

// Screen pixels (1/96 inch) as millimetres, "12.7 mm".
std::string Millimetres(int pixels) {
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(1);
    out << pixels * 25.4 / Canvas::kLogicalDpi << " mm";
    return out.str();
}

int RunRender(const RenderOptions& opt) {
    const char* me = "quillon render: ";
    const auto paper = ParsePaper(opt.paper);
    if (!paper) {
        std::cerr << me << "--paper " << opt.paper
                  << " is no paper size; give A4, Letter or WIDTHxHEIGHTmm (10 to 5000 mm)\n";
        return kExitUsage;
    }
    const auto margins = ParseMargins(opt.margins);
    if (!margins) {
        std::cerr << me << "--margins " << opt.margins
                  << " is not four centimetre values TOP,BOTTOM,LEFT,RIGHT (0 to 1000)\n";
        return kExitUsage;
    }
    if (opt.to != 0 && opt.to < opt.from) {
        std::cerr << me << "--to " << opt.to << " lies before --from " << opt.from << '\n';
        return kExitUsage;
    }

    RenderJob job;
    job.path = opt.path;
    job.pdf = opt.pdf;
    job.png = opt.png;
    job.paper = *paper;
    job.orientation = opt.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    SetMargins(job.settings, *margins);
    job.document_page = true;
    job.given = opt.given;
    job.from = opt.from;
    job.to = opt.to;
    job.pages_json = opt.pages_json;
    job.fixed_metrics = opt.fixed_metrics;
    job.page_numbers = !opt.no_page_numbers;
    job.settings.ShrinkToFit = !opt.no_shrink;
    job.settings.RepeatTableHeaders = !opt.no_repeat_headers;
    const RenderResult result = RenderDocument(job);
    for (const std::string& warning : result.warnings) std::cerr << me << warning << '\n';
    if (!result.message.empty()) std::cerr << me << result.message << '\n';
    if (result.overflow > 0) {
        std::cerr << me << opt.path << ": warning: the report is " << Millimetres(result.overflow)
                  << " wider than the page body; what lies beyond its right edge is not "
                     "printed (leave out --no-shrink to shrink it to fit)\n";
    }
    switch (result.outcome) {
        case RenderOutcome::Written:
            return 0;
        case RenderOutcome::Unreadable:
            return kExitDocument;
        case RenderOutcome::PageSetup:
            return kExitPageSetup;
        case RenderOutcome::Range:
            return kExitRange;
        case RenderOutcome::Output:
            break;
    }
    return kExitOutput;
}

const CommandRegistrar kRegistrar([](CLI::App& app) {
    auto* cmd = app.add_subcommand(
        "render",
        "Print an HTML, RTF or text report to a PDF file or to page images, without a display");
    auto opt = std::make_shared<RenderOptions>();
    cmd->add_option("FILE", opt->path, "The report: HTML, RTF or text")
        ->required()
        ->check(CLI::ExistingFile);
    auto* pdf = cmd->add_option("--pdf", opt->pdf, "Write the pages to this PDF file");
    auto* png = cmd->add_option("--png", opt->png,
                                "Write one PNG image per page (page-0001.png, ...) at 96 dpi "
                                "into this folder");
    pdf->excludes(png);
    png->excludes(pdf);
    auto* paper = cmd->add_option("--paper", opt->paper,
                                  "Paper: A4, Letter or WIDTHxHEIGHTmm (default: the report's "
                                  "@page size, else A4)");
    auto* margins = cmd->add_option("--margins", opt->margins,
                                    "Margins TOP,BOTTOM,LEFT,RIGHT in centimetres (default: the "
                                    "report's @page margins, else 2,2,2,2)");
    auto* landscape = cmd->add_flag("--landscape", opt->landscape, "Turn the paper sideways");
    cmd->add_option("--from", opt->from, "First page to print (default 1)")
        ->check(CLI::Range(1, 1000000000));
    cmd->add_option("--to", opt->to, "Last page to print (default the last)")
        ->check(CLI::Range(1, 1000000000));
    cmd->add_flag("--pages-json", opt->pages_json,
                  "Also print {\"pages\": N, \"breaks\": [y, ...]} with the document y at which "
                  "each page starts");
    cmd->add_flag("--fixed-metrics", opt->fixed_metrics,
                  "Lay out and paginate with fixed metrics (every character 8 px, lines 16 px), "
                  "so that page counts are exact; text is drawn with the same metrics (a "
                  "fixed-pitch face)");
    cmd->add_flag("--no-page-numbers", opt->no_page_numbers,
                  "Leave out the \"Page N of M\" footer");
    cmd->add_flag("--no-shrink", opt->no_shrink,
                  "Print a report wider than the page at full size (cut at the right edge, with "
                  "a warning) instead of shrinking it to fit the page width");
    cmd->add_flag("--no-repeat-headers", opt->no_repeat_headers,
                  "Do not draw a table's header rows again at the top of each page it "
                  "continues on");
    cmd->footer(
        "The report's kind: a file that starts with {\\rtf is RTF, whatever its name; other\n"
        "files by their extension: .htm, .html (and level files .h01 .. .h99) are HTML, .txt\n"
        "(and .t01 .. .t99) text, .rtf RTF. Any other file, or binary data, is refused.\n"
        "HTML prints as laid out, with its <PAGE> breaks; RTF with its paragraphs, fonts and\n"
        "\\page breaks; text in the fixed-pitch font, a form feed starting a new sheet (a\n"
        "text report's page a little longer than a sheet is scaled down to fit it).\n"
        "A table continuing on the next sheet has its header rows drawn again there. A report\n"
        "wider than the page is shrunk to the page width.\n"
        "An HTML report's style sheets may give the page: @page { size: A5 landscape;\n"
        "margin: 1cm } (for every page; :first, :left, :right and named pages are not read).\n"
        "Its size (A3 A4 A5 B4 B5 letter legal ledger, portrait or landscape, or lengths)\n"
        "and margins are used unless --paper, --landscape or --margins are given: --paper\n"
        "replaces its size and orientation, --landscape its orientation, --margins all four\n"
        "margins (margins it does not set stay 2 cm).\n\n"
        "Examples: quillon render build/sales_report.htm --pdf build/sales_report.pdf\n"
        "          quillon render build/invoice.rtf --pdf build/invoice.pdf\n"
        "Exit codes:\n"
        "  0    written\n"
        "  1    the report cannot be read, is of no known kind, or cannot be parsed or laid out\n"
        "  2    the margins (given or the report's own) leave no page body\n"
        "  3    --from lies beyond the last page (nothing is written)\n"
        "  4    the output cannot be written\n"
        "  64   usage error (no output given, a bad option value)");
    cmd->callback([opt, cmd, paper, margins, landscape] {
        opt->given = {paper->count() > 0, landscape->count() > 0, margins->count() > 0};
        if (opt->pdf.empty() && opt->png.empty()) {
            std::cerr << "quillon render: give --pdf OUT.pdf or --png DIR\n" << cmd->help();
            SetExitCode(kExitUsage);
            return;
        }
        SetExitCode(RunRender(*opt));
    });
});

}  // namespace

}  // namespace quillon::app
