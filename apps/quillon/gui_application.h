#pragma once
// The Qt application object of the commands. Fonts, images and PDF writing need one: the
// commands that draw without a window make one on first use (EnsureGuiApplication),
// offscreen when there is no display. The windowed commands (view, run --view, edit, the
// expert's wizard) make a widget application for their run (WidgetApplication) once they
// know a window can open (HasDisplay).

#include <QApplication>
#include <QGuiApplication>
#include <memory>

#include "platform/qt/qt_image_decoder.h"

namespace quillon::app {

// A display to open windows on (or Qt told to draw off screen).
inline bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

inline void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (!HasDisplay()) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillon";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// For its lifetime, the widget application of a windowed command (none is made when the
// process has an application object already, as a test does), with images decoded
// through Qt.
class WidgetApplication {
  public:
    WidgetApplication() {
        static int argc = 1;
        static char name[] = "quillon";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) {
            application_ = std::make_unique<QApplication>(argc, argv);
        }
        RegisterQtImageDecoder();
    }
    WidgetApplication(const WidgetApplication&) = delete;
    WidgetApplication& operator=(const WidgetApplication&) = delete;

  private:
    std::unique_ptr<QApplication> application_;
};

}  // namespace quillon::app
