// quillon layout FILE [--width PX] [--fixed-metrics]: parses an HTML document, lays it out
// in exactly PX pixels of width and prints the layout as JSON (html/dump/layout_dump.h).
//
// Exit codes: 0 printed; 1 the document cannot be read or parsed; 2 no canvas to measure
// with (the Qt canvas is not part of this build: use --fixed-metrics).

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>

#include "apps/quillon/command_registry.h"
#include "html/dump/layout_dump.h"
#include "html/layout/process_error.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser.h"
#include "platform/core/test_canvas.h"

#ifdef QUILLON_HAVE_QT_CANVAS
#include "apps/quillon/gui_application.h"
#include "platform/qt/qt_canvas.h"
#endif

namespace quillon::app {

namespace {

struct LayoutOptions {
    std::string path;
    int width = 600;
    bool fixed_metrics = false;
};

std::unique_ptr<Canvas> MakeCanvas(bool fixed_metrics) {
    if (fixed_metrics) return std::make_unique<TestCanvas>(1, 1);
#ifdef QUILLON_HAVE_QT_CANVAS
    EnsureGuiApplication();
    return std::make_unique<QtImageCanvas>(1, 1);
#else
    return nullptr;
#endif
}

int RunLayout(const LayoutOptions& opt) {
    std::unique_ptr<Canvas> canvas = MakeCanvas(opt.fixed_metrics);
    if (!canvas) {
        std::cerr << "quillon layout: this build has no font canvas; use --fixed-metrics\n";
        return 2;
    }
    TSectionList doc;
    doc.SetScreenCanvas(canvas.get());
    // Images are found relative to the document's folder.
    const std::filesystem::path folder = std::filesystem::path(opt.path).parent_path();
    doc.OnImageRequest = [folder](TSectionList&, const std::string& name, std::string& bytes) {
        std::ifstream in(folder / name, std::ios::binary);
        if (in) bytes.assign(std::istreambuf_iterator<char>(in), {});
    };
    TNameList names;
    try {
        HtmlParseFile(doc, names, opt.path);
    } catch (const std::exception& e) {
        std::cerr << "quillon layout: " << opt.path << ": " << e.what() << '\n';
        return 1;
    }
    int max_width = 0;
    int cursor = 0;
    int height = 0;
    try {
        height = doc.DoLogic(*canvas, 0, opt.width, max_width, cursor);
    } catch (const EProcessError& e) {
        std::cerr << "quillon layout: " << opt.path << ": cannot lay out: " << e.what() << '\n';
        return 1;
    }
    DumpLayout(std::cout, doc, opt.width, height, /*font_runs=*/true);
    return 0;
}

const CommandRegistrar kRegistrar([](CLI::App& app) {
    auto* cmd =
        app.add_subcommand("layout", "Lay out an HTML document and print the layout as JSON");
    auto opt = std::make_shared<LayoutOptions>();
    cmd->add_option("FILE", opt->path, "HTML document")->required();
    cmd->add_option("--width", opt->width, "Width to lay out in, in pixels (default 600)")
        ->check(CLI::Range(1, 1000000));
    cmd->add_flag("--fixed-metrics", opt->fixed_metrics,
                  "Measure with fixed metrics (every character 8 px, lines 16 px) instead of "
                  "the installed fonts");
    cmd->callback([opt] { SetExitCode(RunLayout(*opt)); });
});

}  // namespace

}  // namespace quillon::app
