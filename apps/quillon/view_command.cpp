// quillon view FILE [--text] [--find TEXT] [--size WxH] [--screenshot PNG]: shows an HTML
// (or plain-text) document in the viewer control in a window of its own. With --screenshot
// the window is drawn once into a PNG file instead of being shown.

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <string>

#include "apps/quillon/command_registry.h"
#include "html/view/html_viewer.h"
#include "platform/qt/qt_image_decoder.h"

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

bool HasDisplay() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
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
    static int argc = 1;
    static char name[] = "quillon";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    RegisterQtImageDecoder();

    THTMLViewer viewer;
    viewer.SetViewImages(true);
    viewer.SetDefBackground(0xFFFFFF);
    viewer.SetHistoryMaxCount(20);
    viewer.resize(width, height);
    viewer.show();
    try {
        if (opt.text) {
            viewer.LoadTextFile(opt.file);
        } else {
            viewer.LoadFromFile(opt.file);
        }
    } catch (const std::exception& e) {
        std::cerr << "quillon view: " << opt.file << ": " << e.what() << '\n';
        return kViewNoDocument;
    }
    viewer.setWindowTitle(QString::fromStdString(
        (viewer.Title().empty() ? opt.file : viewer.Title()) + " - quillon view"));
    if (!opt.find.empty() && !viewer.Find(opt.find, false)) {
        std::cerr << "quillon view: \"" << opt.find << "\" is not in " << opt.file << '\n';
    }
    if (!opt.screenshot.empty()) {
        QApplication::processEvents();
        if (!viewer.grab().toImage().save(QString::fromStdString(opt.screenshot), "PNG")) {
            std::cerr << "quillon view: cannot write the picture " << opt.screenshot << '\n';
            return kViewNoScreenshot;
        }
        return kViewClosed;
    }
    QApplication::exec();
    return kViewClosed;
}

const CommandRegistrar kView([](CLI::App& app) {
    auto* cmd = app.add_subcommand("view", "Show an HTML or text document in the viewer control");
    auto opt = std::make_shared<ViewOptions>();
    cmd->add_option("FILE", opt->file, "HTML document (a name may end in #anchor)")->required();
    cmd->add_flag("--text", opt->text, "show the file as plain text");
    cmd->add_option("--find", opt->find, "select the first occurrence of TEXT (any case)");
    cmd->add_option("--size", opt->size, "window size WIDTHxHEIGHT (default 800x600)");
    cmd->add_option("--screenshot", opt->screenshot,
                    "draw the window once into this PNG file instead of showing it");
    cmd->footer(
        "Exit codes: 0 the window was closed (or the picture written); 1 the document cannot "
        "be read or laid out; 2 the picture cannot be written; 3 no display; 64 usage error.");
    cmd->callback([opt] { SetExitCode(View(*opt)); });
});

}  // namespace

}  // namespace quillon::app
