// quillon render FILE (--pdf OUT.pdf | --png DIR) [--paper A4|Letter|WxHmm]
//   [--margins T,B,L,R] [--landscape] [--from N --to M] [--pages-json] [--fixed-metrics]
//   [--no-page-numbers] [--no-shrink] [--no-repeat-headers]:
// prints an HTML report without a display, as the viewer prints it: a PDF file, or one
// PNG image per page at 96 dpi. Pages are counted first, so that the footer can say
// "Page N of M". A report wider than the page is shrunk to fit it unless --no-shrink.
//
// Exit codes: 0 written; 1 the document cannot be read, parsed or laid out; 2 the page
// set-up leaves no page body; 3 the page range starts beyond the last page (nothing is
// written); 4 the output cannot be written; 64 usage error.

#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>

#include "apps/quillon/command_registry.h"
#include "apps/quillon/gui_application.h"
#include "html/layout/process_error.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser.h"
#include "html/view/document_print.h"
#include "html/view/page_targets.h"
#include "html/view/vw_printer.h"
#include "platform/core/test_canvas.h"
#include "platform/qt/qt_canvas.h"

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
};

// "A4", "Letter" or "210x297mm".
std::optional<QPageSize> ParsePaper(const std::string& text) {
    if (text == "A4" || text == "a4") return QPageSize(QPageSize::A4);
    if (text == "Letter" || text == "letter") return QPageSize(QPageSize::Letter);
    static const std::regex mm(R"(([0-9]+(?:\.[0-9]+)?)x([0-9]+(?:\.[0-9]+)?)mm)");
    std::smatch m;
    if (!std::regex_match(text, m, mm)) return std::nullopt;
    const double w = std::stod(m[1]);
    const double h = std::stod(m[2]);
    if (w < 10 || h < 10 || w > 5000 || h > 5000) return std::nullopt;
    return QPageSize(QSizeF(w, h), QPageSize::Millimeter);
}

// "T,B,L,R" in centimetres.
std::optional<std::array<double, 4>> ParseMargins(const std::string& text) {
    std::array<double, 4> v{};
    std::istringstream in(text);
    for (std::size_t i = 0; i < v.size(); ++i) {
        std::string part;
        if (!std::getline(in, part, ',')) return std::nullopt;
        std::size_t used = 0;
        try {
            v[i] = std::stod(part, &used);
        } catch (const std::exception&) {
            return std::nullopt;
        }
        if (used != part.size() || !(v[i] >= 0) || v[i] > 1000) return std::nullopt;
    }
    std::string rest;
    if (std::getline(in, rest)) return std::nullopt;
    return v;
}

// The default footer: "Page N of M" centred in the footer band.
TPrintBandEvent PageNumberFooter(int total) {
    return [total](Canvas& canvas, int page, int w, int h, bool&) {
        FontSpec font;
        font.name = "Arial";
        font.size_pt = 9;
        canvas.SetFont(font);
        const std::string text = "Page " + std::to_string(page) + " of " + std::to_string(total);
        const std::u32string t(text.begin(), text.end());
        const FontMetrics m = canvas.Metrics();
        canvas.DrawText((w - canvas.TextWidth(t)) / 2, std::max(0, (h - m.height) / 2), t);
    };
}

// A plain-text report (.txt) prints as the text viewer shows it: lines in the fixed font.
bool IsTextFile(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".txt";
}

// Screen pixels (1/96 inch) as millimetres, "12.7 mm".
std::string FormatMillimetres(int pixels) {
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(1);
    out << pixels * 25.4 / Canvas::kLogicalDpi << " mm";
    return out.str();
}

void PrintPagesJson(const PrintResult& count) {
    std::cout << "{\"pages\": " << count.LastPage << ", \"breaks\": [";
    for (std::size_t i = 0; i < count.PageTops.size(); ++i) {
        std::cout << (i ? ", " : "") << count.PageTops[i];
    }
    std::cout << "]}\n";
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
    EnsureGuiApplication();

    const auto orientation = opt.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    std::unique_ptr<QtPageTargetBase> target;
    if (!opt.pdf.empty()) {
        target = std::make_unique<PdfPageTarget>(opt.pdf, *paper, orientation);
    } else {
        target = std::make_unique<PngPageTarget>(opt.png, *paper, orientation);
    }
    if (opt.fixed_metrics) target->SetLayoutCanvas(std::make_unique<TestCanvas>(1, 1));

    // Nothing shows the document: it is measured as the target measures and printed
    // itself, not a copy of it.
    auto doc = std::make_unique<TSectionList>();
    doc->SetScreenCanvas(&target->LayoutCanvas());
    const std::filesystem::path folder = std::filesystem::path(opt.path).parent_path();
    doc->OnImageRequest = [folder](TSectionList&, const std::string& name, std::string& bytes) {
        std::ifstream in(folder / name, std::ios::binary);
        if (in) bytes.assign(std::istreambuf_iterator<char>(in), {});
    };
    TNameList names;
    THtmlParseResult parsed;
    try {
        parsed = IsTextFile(opt.path) ? HtmlParseTextFile(*doc, names, opt.path)
                                      : HtmlParseFile(*doc, names, opt.path);
    } catch (const std::exception& e) {
        std::cerr << me << opt.path << ": " << e.what() << '\n';
        return kExitDocument;
    }
    if (!opt.png.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(opt.png, ec);
        if (!std::filesystem::is_directory(opt.png)) {
            std::cerr << me << "cannot make the folder " << opt.png << " for the page images\n";
            return kExitOutput;
        }
    }

    PrintSettings settings;
    settings.PrintMarginTop = (*margins)[0];
    settings.PrintMarginBottom = (*margins)[1];
    settings.PrintMarginLeft = (*margins)[2];
    settings.PrintMarginRight = (*margins)[3];
    settings.Title = parsed.Title;
    settings.ShrinkToFit = !opt.no_shrink;
    settings.RepeatTableHeaders = !opt.no_repeat_headers;

    std::optional<TDocumentPrint> print;
    try {
        print.emplace(std::move(doc), settings, *target);
    } catch (const EPrintError& e) {
        std::cerr << me << opt.path << ": " << e.what() << '\n';
        return kExitPageSetup;
    } catch (const EProcessError& e) {
        std::cerr << me << opt.path << ": cannot lay out: " << e.what() << '\n';
        return kExitDocument;
    }
    if (opt.no_shrink && print->Overflow() > 0) {
        std::cerr << me << opt.path << ": warning: the report is "
                  << FormatMillimetres(print->Overflow()) << " wider than the page body; "
                  << "what lies beyond its right edge is not printed (leave out --no-shrink "
                     "to shrink it to fit)\n";
    }
    const PrintResult count = print->CountPages();
    if (opt.pages_json) PrintPagesJson(count);
    if (opt.from > count.LastPage) {
        std::cerr << me << opt.path << ": --from " << opt.from << " lies beyond the last page ("
                  << count.LastPage << "); nothing was written\n";
        return kExitRange;
    }
    if (!opt.no_page_numbers) print->SetPrintFooter(PageNumberFooter(count.LastPage));
    try {
        print->Print(opt.from, opt.to == 0 ? count.LastPage : opt.to);
    } catch (const EPrintError& e) {
        std::cerr << me << e.what() << '\n';
        return kExitOutput;
    }
    return 0;
}

const CommandRegistrar kRegistrar([](CLI::App& app) {
    auto* cmd = app.add_subcommand(
        "render", "Print an HTML report to a PDF file or to page images, without a display");
    auto opt = std::make_shared<RenderOptions>();
    cmd->add_option("FILE", opt->path, "HTML report")->required()->check(CLI::ExistingFile);
    auto* pdf = cmd->add_option("--pdf", opt->pdf, "Write the pages to this PDF file");
    auto* png = cmd->add_option("--png", opt->png,
                                "Write one PNG image per page (page-0001.png, ...) at 96 dpi "
                                "into this folder");
    pdf->excludes(png);
    png->excludes(pdf);
    cmd->add_option("--paper", opt->paper, "Paper: A4 (default), Letter or WIDTHxHEIGHTmm");
    cmd->add_option("--margins", opt->margins,
                    "Margins TOP,BOTTOM,LEFT,RIGHT in centimetres (default 2,2,2,2)");
    cmd->add_flag("--landscape", opt->landscape, "Turn the paper sideways");
    cmd->add_option("--from", opt->from, "First page to print (default 1)")
        ->check(CLI::Range(1, 1000000000));
    cmd->add_option("--to", opt->to, "Last page to print (default the last)")
        ->check(CLI::Range(1, 1000000000));
    cmd->add_flag("--pages-json", opt->pages_json,
                  "Also print {\"pages\": N, \"breaks\": [y, ...]} with the document y at which "
                  "each page starts");
    cmd->add_flag("--fixed-metrics", opt->fixed_metrics,
                  "Lay out and paginate with fixed metrics (every character 8 px, lines 16 px), "
                  "so that page counts are exact");
    cmd->add_flag("--no-page-numbers", opt->no_page_numbers,
                  "Leave out the \"Page N of M\" footer");
    cmd->add_flag("--no-shrink", opt->no_shrink,
                  "Print a report wider than the page at full size (cut at the right edge, with "
                  "a warning) instead of shrinking it to fit the page width");
    cmd->add_flag("--no-repeat-headers", opt->no_repeat_headers,
                  "Do not draw a table's header rows again at the top of each page it "
                  "continues on");
    cmd->footer(
        "Example: quillon render build/sales_report.htm --pdf build/sales_report.pdf\n"
        "Exit codes:\n"
        "  0    written\n"
        "  1    the report cannot be read, parsed or laid out\n"
        "  2    the margins leave no page body\n"
        "  3    --from lies beyond the last page (nothing is written)\n"
        "  4    the output cannot be written\n"
        "  64   usage error (no output given, a bad option value)");
    cmd->callback([opt, cmd] {
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
