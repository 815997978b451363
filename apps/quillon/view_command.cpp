// quillon view FILE [--text] [--find TEXT] [--size WxH] [--screenshot PNG]: shows a report
// file in the viewer window that fits it (HTML, RTF or text, by its content and extension)
// with all its tool buttons. With --screenshot the window is drawn once into a PNG file
// instead of being shown.

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <string>

#include "apps/quillon/command_registry.h"
#include "apps/quillon/report_window.h"
#include "engine/quillon.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_image_decoder.h"
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
    static int argc = 1;
    static char name[] = "quillon";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    RegisterQtImageDecoder();
    QtHost host;

    const ReportViewerKind kind = opt.text ? ReportViewerKind::Txt : ViewerKindForFile(opt.file);
    TQuillon report(host);
    const ReportWindow window(report, opt.file, kind, host, width, height);
    TCustomWWWRepViewer* viewer = &window.Viewer();
    try {
        viewer->LoadFromFile(opt.file);
    } catch (const std::exception& e) {
        std::cerr << "quillon view: " << opt.file << ": " << e.what() << '\n';
        return kViewNoDocument;
    }
    if (!opt.find.empty() && !viewer->Find(opt.find, false)) {
        std::cerr << "quillon view: \"" << opt.find << "\" is not in " << opt.file << '\n';
    }
    if (!opt.screenshot.empty()) {
        viewer->Show(report, false);
        QApplication::processEvents();
        const QImage picture = viewer->Form().grab().toImage();
        viewer->CloseWindow();
        if (!picture.save(QString::fromStdString(opt.screenshot), "PNG")) {
            std::cerr << "quillon view: cannot write the picture " << opt.screenshot << '\n';
            return kViewNoScreenshot;
        }
        return kViewClosed;
    }
    viewer->Show(report, true);
    return kViewClosed;
}

const CommandRegistrar kView([](CLI::App& app) {
    auto* cmd =
        app.add_subcommand("view", "Show a report file (HTML, RTF or text) in its viewer window");
    auto opt = std::make_shared<ViewOptions>();
    cmd->add_option("FILE", opt->file, "Report file (an HTML name may end in #anchor)")->required();
    cmd->add_flag("--text", opt->text, "show the file as plain text");
    cmd->add_option("--find", opt->find, "select the first occurrence of TEXT (any case)");
    cmd->add_option("--size", opt->size, "window size WIDTHxHEIGHT (default 800x600)");
    cmd->add_option("--screenshot", opt->screenshot,
                    "draw the window once into this PNG file instead of showing it");
    cmd->footer(
        "The viewer is chosen by the file: rich text ({\\rtf) the RTF viewer; .htm, .html and\n"
        "level files .h01 .. .h99 (or HTML tags in a file of another name) the HTML viewer\n"
        "with its page buttons; anything else the text viewer.\n\n"
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
