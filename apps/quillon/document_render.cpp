#include "apps/quillon/document_render.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <regex>
#include <sstream>
#include <system_error>

#include "apps/quillon/gui_application.h"
#include "html/layout/process_error.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser.h"
#include "html/view/document_print.h"
#include "html/view/qt/page_targets.h"
#include "platform/core/test_canvas.h"
#include "platform/qt/qt_canvas.h"
#include "viewers/rtf/rtf_html.h"
#include "viewers/rtf/rtf_reader.h"

namespace quillon::app {

namespace {

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

void PrintPagesJson(const PrintResult& count) {
    std::cout << "{\"pages\": " << count.LastPage << ", \"breaks\": [";
    for (std::size_t i = 0; i < count.PageTops.size(); ++i) {
        std::cout << (i ? ", " : "") << count.PageTops[i];
    }
    std::cout << "]}\n";
}

// An RTF report becomes HTML for the HTML engine: paragraphs, formats and page breaks.
THtmlParseResult ParseRtf(TSectionList& doc, TNameList& names, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot be opened");
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (in.bad()) throw std::runtime_error("cannot be read");
    rtf::RtfDocument rtf;
    try {
        rtf = rtf::ReadRtf(bytes);
    } catch (const rtf::ERtfError& e) {
        throw std::runtime_error(std::string(e.what()) + " (at byte " +
                                 std::to_string(e.Position()) + ")");
    }
    return HtmlParseBuffer(doc, names,
                           rtf::RtfToHtml(rtf, std::filesystem::path(path).filename().string()),
                           css::Medium::Print);
}

THtmlParseResult ParseReport(TSectionList& doc, const std::string& path, ReportKind kind) {
    TNameList names;
    switch (kind) {
        case ReportKind::Rtf:
            return ParseRtf(doc, names, path);
        case ReportKind::Text:
            return HtmlParseTextFile(doc, names, path);
        case ReportKind::Html:
            break;
    }
    // Rendered pages are paper: the style sheets' print rules apply.
    return HtmlParseFile(doc, names, path, css::Medium::Print);
}

std::string Millimetres(double mm) {
    std::ostringstream out;
    out << std::round(mm * 10) / 10;
    return out.str();
}

// The sheet a job prints on once the report's page set-up fills in what the user left open.
struct Sheet {
    QPageSize paper;
    QPageLayout::Orientation orientation;
    bool report_margins = false;  // the report's @page rule set margins
};

Sheet ChooseSheet(const RenderJob& job, const TPageSetup& page, PrintSettings& settings,
                  const std::string& shown, std::vector<std::string>& warnings) {
    Sheet sheet{job.paper, job.orientation};
    if (!job.document_page || page.Empty()) return sheet;
    if (!job.given.paper) {
        bool sized = false;  // the sheet is the report's
        bool wide = false;   // its size was written wider than high
        if (page.HasSize()) {
            double w = *page.WidthMm;
            double h = *page.HeightMm;
            if (w < 10 || h < 10 || w > 5000 || h > 5000) {
                warnings.push_back(shown + ": warning: the page size of its @page rule, " +
                                   Millimetres(w) + " x " + Millimetres(h) +
                                   " mm, lies outside 10 to 5000 mm; printed on " +
                                   job.paper.name().toStdString() + " instead");
            } else {
                sized = true;
                wide = w > h;
                if (wide) std::swap(w, h);
                sheet.paper = QPageSize(QSizeF(w, h), QPageSize::Millimeter);
            }
        }
        // A size as lengths is turned by its shape, a paper name by its keyword.
        if (!job.given.orientation && (sized || page.Landscape)) {
            sheet.orientation =
                page.Landscape.value_or(wide) ? QPageLayout::Landscape : QPageLayout::Portrait;
        }
    }
    if (!job.given.margins && page.HasMargins()) {
        // Top, right, bottom, left, as the page set-up lists them; no larger than --margins
        // takes, so that a wild value is reported as leaving no page body.
        double* sides[] = {&settings.PrintMarginTop, &settings.PrintMarginRight,
                           &settings.PrintMarginBottom, &settings.PrintMarginLeft};
        for (std::size_t i = 0; i < 4; ++i) {
            if (page.MarginMm[i]) *sides[i] = std::min(*page.MarginMm[i] / 10, 1000.0);
        }
        sheet.report_margins = true;
    }
    return sheet;
}

RenderResult Failed(RenderOutcome outcome, std::string message) {
    RenderResult r;
    r.outcome = outcome;
    r.message = std::move(message);
    return r;
}

}  // namespace

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

void SetMargins(PrintSettings& settings, const std::array<double, 4>& margins) {
    settings.PrintMarginTop = margins[0];
    settings.PrintMarginBottom = margins[1];
    settings.PrintMarginLeft = margins[2];
    settings.PrintMarginRight = margins[3];
}

RenderResult RenderDocument(const RenderJob& job) {
    EnsureGuiApplication();
    const std::string& shown = job.name.empty() ? job.path : job.name;
    std::optional<ReportKind> kind = job.kind;
    if (!kind) {
        const std::optional<std::string> head = ReadReportHead(job.path);
        if (!head) return Failed(RenderOutcome::Unreadable, shown + ": cannot be read");
        kind = ReportKindOf(job.path, *head);
        if (!kind) {
            return Failed(RenderOutcome::Unreadable,
                          shown + " " + NoReportKindReason(job.path, *head));
        }
    }

    // The document is measured on the canvas its target will lay it out on; the target
    // is made once the document has said what page it wants, and outlives the document.
    std::unique_ptr<QtPageTargetBase> target;
    std::unique_ptr<Canvas> layout =
        job.fixed_metrics ? std::make_unique<TestCanvas>(1, 1) : MakeMeasuringCanvas();
    // Nothing shows the document: it is measured as the target measures and printed
    // itself, not a copy of it.
    auto doc = std::make_unique<TSectionList>();
    doc->SetScreenCanvas(layout.get());
    const std::filesystem::path folder = job.image_folder.empty()
                                             ? std::filesystem::path(job.path).parent_path()
                                             : std::filesystem::path(job.image_folder);
    doc->OnImageRequest = [folder](TSectionList&, const std::string& name, std::string& bytes) {
        std::ifstream in(folder / name, std::ios::binary);
        if (in) bytes.assign(std::istreambuf_iterator<char>(in), {});
    };
    THtmlParseResult parsed;
    try {
        parsed = ParseReport(*doc, job.path, *kind);
    } catch (const std::exception& e) {
        return Failed(RenderOutcome::Unreadable, shown + ": " + e.what());
    }
    if (!job.png.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(job.png, ec);
        if (!std::filesystem::is_directory(job.png)) {
            return Failed(RenderOutcome::Output,
                          "cannot make the folder " + job.png + " for the page images");
        }
    }

    PrintSettings settings = job.settings;
    std::vector<std::string> warnings;
    const Sheet sheet = ChooseSheet(job, parsed.Page, settings, shown, warnings);
    if (!job.pdf.empty()) {
        target = std::make_unique<PdfPageTarget>(job.pdf, sheet.paper, sheet.orientation);
    } else {
        target = std::make_unique<PngPageTarget>(job.png, sheet.paper, sheet.orientation);
    }
    target->SetLayoutCanvas(std::move(layout));
    // What a fixed-metric layout measured is what the sheet shows.
    target->SetFixedMetricPages(job.fixed_metrics);

    settings.Title = parsed.Title;
    // A text report's own pages are meant for one sheet each: one a little longer than the
    // sheet is scaled down rather than leaving its last lines (the page footer) alone on
    // the next sheet.
    if (*kind == ReportKind::Text) settings.FitPageHeight = true;
    std::optional<TDocumentPrint> print;
    try {
        print.emplace(std::move(doc), settings, *target);
    } catch (const EPrintError& e) {
        RenderResult r = Failed(
            RenderOutcome::PageSetup,
            shown + ": " + e.what() + (sheet.report_margins ? " (margins of its @page rule)" : ""));
        r.warnings = std::move(warnings);
        return r;
    } catch (const EProcessError& e) {
        return Failed(RenderOutcome::Unreadable, shown + ": cannot lay out: " + e.what());
    }
    const PrintResult count = print->CountPages();
    if (job.pages_json) PrintPagesJson(count);
    const int overflow = job.settings.ShrinkToFit ? 0 : print->Overflow();
    if (job.from > count.LastPage) {
        RenderResult r =
            Failed(RenderOutcome::Range,
                   shown + ": --from " + std::to_string(job.from) + " lies beyond the last page (" +
                       std::to_string(count.LastPage) + "); nothing was written");
        r.pages = count.LastPage;
        return r;
    }
    if (job.page_numbers) print->SetPrintFooter(PageNumberFooter(count.LastPage));
    RenderResult result;
    result.warnings = std::move(warnings);
    result.pages = count.LastPage;
    result.overflow = overflow;
    try {
        print->Print(job.from, job.to == 0 ? count.LastPage : job.to);
    } catch (const EPrintError& e) {
        result.outcome = RenderOutcome::Output;
        result.message = e.what();
    }
    return result;
}

}  // namespace quillon::app
