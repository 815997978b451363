// quillon view FILE[#ANCHOR] [--text] [--find TEXT] [--size WxH] [--screenshot PNG]: shows a
// report file in the viewer window that fits it (HTML, RTF or text, by its content and
// extension) with all its tool buttons, at the anchor or the search hit when one is given.
// With --screenshot the window is drawn once into a PNG file instead of being shown.

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "apps/quillon/command_registry.h"
#include "apps/quillon/gui_application.h"
#include "apps/quillon/report_window.h"
#include "engine/quillon.h"
#include "platform/core/text_encoding.h"
#include "platform/qt/qt_host.h"
#include "viewers/viewer_choice.h"
#include "viewers/wwwrep_viewer.h"

namespace quillon::app {

namespace {

constexpr int kViewClosed = 0;
constexpr int kViewNoDocument = 1;
constexpr int kViewNoScreenshot = 2;
constexpr int kViewNoDisplay = 3;

struct ViewOptions {
    std::string file;
    bool text = false;
    std::string find;
    std::string size = "800x600";
    std::string screenshot;
};

// The file to open and the anchor to show in it.
struct ViewTarget {
    std::string file;
    std::string anchor;
};

// FILE names the file as it is when it exists (its name may hold "#"); otherwise the
// first "#" after which the name before it is a file starts the anchor.
ViewTarget SplitAnchor(const std::string& arg) {
    std::error_code ec;
    if (std::filesystem::exists(arg, ec)) return {arg, {}};
    for (auto hash = arg.find('#'); hash != std::string::npos; hash = arg.find('#', hash + 1)) {
        const std::string file = arg.substr(0, hash);
        if (std::filesystem::is_regular_file(file, ec)) return {file, arg.substr(hash + 1)};
    }
    return {arg, {}};
}

bool HasAnchor(const TCustomWWWRepViewer& viewer, std::string_view anchor) {
    const std::string wanted = text::AsciiUpperCase(anchor);
    for (const std::string& name : viewer.GetNameList()) {
        if (text::AsciiUpperCase(name) == wanted) return true;
    }
    return false;
}

// Once the window has its size: the anchor, then the search hit (half the panel down when
// it is not in view already). What is missing is said; the document stays open.
void ShowTarget(TCustomWWWRepViewer& viewer, const ViewTarget& target, const std::string& find) {
    if (!target.anchor.empty()) {
        if (HasAnchor(viewer, target.anchor)) {
            viewer.PositionTo(target.anchor);
        } else {
            std::cerr << "quillon view: " << target.file << " has no anchor \"" << target.anchor
                      << "\"; showing its top\n";
        }
    }
    if (!find.empty() && !viewer.Find(find, false)) {
        std::cerr << "quillon view: \"" << find << "\" is not in " << target.file << '\n';
    }
}

int View(const ViewOptions& opt) {
    int width = 0;
    int height = 0;
    char x = 0;
    if (std::sscanf(opt.size.c_str(), "%d%c%d", &width, &x, &height) != 3 || x != 'x' ||
        width < 50 || height < 50 || width > 10000 || height > 10000) {
        std::cerr << "quillon view: --size " << opt.size
                  << " is not WIDTHxHEIGHT in pixels (50 to 10000 each)\n";
        return kExitUsage;
    }
    if (!HasDisplay()) {
        if (opt.screenshot.empty()) {
            std::cerr << "quillon view: no display to open the window on (DISPLAY is not set; "
                         "QT_QPA_PLATFORM=offscreen runs without one)\n";
            return kViewNoDisplay;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const WidgetApplication application;
    QtHost host;

    const ViewTarget target = SplitAnchor(opt.file);
    const ReportViewerKind kind = opt.text ? ReportViewerKind::Txt : ViewerKindForFile(target.file);
    TQuillon report(host);
    const ReportWindow window(report, target.file, kind, host, width, height);
    TCustomWWWRepViewer* viewer = &window.Viewer();
    try {
        viewer->LoadFromFile(target.file);
    } catch (const std::exception& e) {
        std::cerr << "quillon view: " << target.file << ": " << e.what() << '\n';
        return kViewNoDocument;
    }
    // Showing the report puts it at its first page: the anchor and the search come after.
    if (!opt.screenshot.empty()) {
        viewer->Show(report, false);
        QApplication::processEvents();
        ShowTarget(*viewer, target, opt.find);
        QApplication::processEvents();
        const QImage picture = viewer->Form().grab().toImage();
        viewer->CloseWindow();
        if (!picture.save(QString::fromStdString(opt.screenshot), "PNG")) {
            std::cerr << "quillon view: cannot write the picture " << opt.screenshot << '\n';
            return kViewNoScreenshot;
        }
        return kViewClosed;
    }
    QTimer::singleShot(0, &viewer->Form(), [&] { ShowTarget(*viewer, target, opt.find); });
    viewer->Show(report, true);
    return kViewClosed;
}

const CommandRegistrar kView([](CLI::App& app) {
    auto* cmd =
        app.add_subcommand("view", "Show a report file (HTML, RTF or text) in its viewer window");
    auto opt = std::make_shared<ViewOptions>();
    cmd->add_option("FILE", opt->file, "Report file, optionally followed by #ANCHOR")->required();
    cmd->add_flag("--text", opt->text, "show the file as plain text");
    cmd->add_option("--find", opt->find,
                    "select the first occurrence of TEXT (any case) and scroll to it");
    cmd->add_option("--size", opt->size, "window size WIDTHxHEIGHT (default 800x600)");
    cmd->add_option("--screenshot", opt->screenshot,
                    "draw the window once into this PNG file instead of showing it");
    cmd->footer(
        "The viewer is chosen by the file: rich text ({\\rtf) the RTF viewer; .htm, .html and\n"
        "level files .h01 .. .h99 (or HTML tags in a file of another name) the HTML viewer\n"
        "with its page buttons; anything else the text viewer.\n\n"
        "FILE#ANCHOR opens FILE scrolled to the anchor <A NAME=ANCHOR> (any case); a file\n"
        "whose own name holds \"#\" opens whole. An anchor the document lacks is said on\n"
        "stderr and the document opens at its top. --find is applied after the anchor and\n"
        "scrolls the hit to half the window height when it is not in view.\n\n"
        "Print uses margins of 2 cm, as quillon render; without an installed printer it\n"
        "opens the print dialog with a PDF file beside the report as the destination.\n"
        "Print TXT and the mail button act on FILE; mail needs a [MAIL] section (URL=smtp://\n"
        "..., FROM=...) in QUILDOC.INI. Help shows ViewHlp.htm of the current folder, else\n"
        "the one installed with quillon.\n\n"
        "Exit codes: 0 the window was closed (or the picture written); 1 the document cannot "
        "be read or laid out; 2 the picture cannot be written; 3 no display; 64 usage error.");
    cmd->callback([opt] { SetExitCode(View(*opt)); });
});

}  // namespace

}  // namespace quillon::app
