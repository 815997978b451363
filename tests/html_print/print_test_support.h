#pragma once
// A page target that records: every page is a fixed-metric canvas whose calls are logged,
// and the job calls are counted. Documents are parsed and measured with fixed metrics
// (characters 8 px wide, lines 16 px high).

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "html/layout/section_list.h"
#include "html/tree/html_parser.h"
#include "html/view/page_target.h"
#include "html/view/print_settings.h"
#include "platform/core/test_canvas.h"

namespace quillon::testing {

class RecordingTarget : public PageTarget {
  public:
    struct Page {
        int Number = 0;
        std::unique_ptr<TestCanvas> Canvas;
    };

    explicit RecordingTarget(PageDevice device) : device_(device) {}
    // A page of width x height screen pixels, printable to its edges.
    RecordingTarget(int width, int height) {
        device_.PageWidth = device_.PhysicalWidth = width;
        device_.PageHeight = device_.PhysicalHeight = height;
    }

    PageDevice Device() override { return device_; }
    Canvas& LayoutCanvas() override { return layout_; }
    void BeginDoc(const std::string& title, int, int NumPage) override {
        ++Begins;
        Title = title;
        Start(NumPage);
    }
    quillon::Canvas& PageCanvas() override { return *Pages.back().Canvas; }
    void NewPage(int NumPage) override { Start(NumPage); }
    void EndDoc() override { ++Ends; }
    void Abort() override { ++Aborts; }

    // The texts drawn on page i (0-based), as "x,y text".
    std::vector<std::string> Texts(std::size_t i) const {
        std::vector<std::string> out;
        for (const std::string& line : Pages.at(i).Canvas->Log()) {
            if (line.rfind("text ", 0) == 0) out.push_back(line.substr(5));
        }
        return out;
    }
    // The print marks made on page i (0-based): "link ...", "jump ...", "anchor ...",
    // "heading ..." (see TestCanvas::Log); kept only when KeepMarks was set.
    std::vector<std::string> Marks(std::size_t i) const {
        std::vector<std::string> out;
        for (const std::string& line : Pages.at(i).Canvas->Log()) {
            for (const char* kind : {"link ", "jump ", "anchor ", "heading "}) {
                if (line.rfind(kind, 0) == 0) out.push_back(line);
            }
        }
        return out;
    }
    std::vector<int> Numbers() const {
        std::vector<int> n;
        for (const Page& p : Pages) n.push_back(p.Number);
        return n;
    }

    std::vector<Page> Pages;
    // Pages only record their calls and paint nothing (a surface of one pixel), for checks
    // that read the calls alone: many pages cost little then.
    bool LogOnly = false;
    int Begins = 0;
    int Ends = 0;
    int Aborts = 0;
    std::string Title;
    // The page canvases keep print marks, as a PDF page does.
    bool KeepMarks = false;

  private:
    void Start(int NumPage) {
        TestCanvas::Config config;
        config.printer = true;
        config.marks = KeepMarks;
        Pages.push_back(
            Page{NumPage, std::make_unique<TestCanvas>(LogOnly ? 1 : device_.PageWidth,
                                                       LogOnly ? 1 : device_.PageHeight, config,
                                                       Rgba{255, 255, 255, 255})});
    }

    PageDevice device_;
    TestCanvas layout_{1, 1};
};

// A document parsed from HTML, measured with fixed metrics.
struct ShownDocument {
    TestCanvas screen{1, 1};
    TSectionList doc;
    explicit ShownDocument(std::string_view html) {
        doc.SetScreenCanvas(&screen);
        TNameList names;
        HtmlParseBuffer(doc, names, html);
    }
};

// Settings with no margins at all: the body is the whole page.
inline PrintSettings NoMargins() {
    PrintSettings s;
    s.PrintMarginLeft = s.PrintMarginRight = s.PrintMarginTop = s.PrintMarginBottom = 0;
    s.MarginWidth = 0;
    return s;
}

// "L1<BR>L2<BR>...<BR>Ln": n lines of 16 px.
inline std::string Lines(int n, std::string_view prefix = "L") {
    std::string s;
    for (int i = 1; i <= n; ++i) {
        if (i > 1) s += "<BR>";
        s += std::string(prefix) + std::to_string(i);
    }
    return s;
}

}  // namespace quillon::testing
