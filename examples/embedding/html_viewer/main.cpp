// The HTML viewer control (THTMLViewer, a QWidget) as the central widget of a main
// window, with a find box: Return looks for its text from the current position on.
//   html_viewer [FILE.htm] [--find WORD --quit]
// --find searches once the document is loaded and prints whether it was found; --quit
// closes the window as soon as it is shown (for a run without a user).

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <iostream>
#include <string>

#include <quillon/html/view/qt/html_viewer.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();

    QMainWindow window;
    auto* viewer = new quillon::THTMLViewer(&window);
    window.setCentralWidget(viewer);
    auto* find = new QLineEdit(&window);
    find->setPlaceholderText("Find");
    window.addToolBar("Find")->addWidget(find);

    auto search = [&](const QString& text) {
        const bool found = viewer->Find(text.toStdString(), false);
        window.statusBar()->showMessage(found ? "Found" : "Not found");
        return found;
    };
    QObject::connect(find, &QLineEdit::returnPressed, [&] { search(find->text()); });

    if (args.size() > 1 && !args[1].startsWith("--")) {
        viewer->LoadFromFile(args[1].toStdString());
    } else {
        viewer->LoadFromBuffer(
            "<h1>Quillon</h1><p>A report generator for C++ applications.</p>"
            "<p>This window shows the HTML viewer control with a find box.</p>");
    }
    window.resize(800, 600);
    window.show();

    if (const qsizetype at = args.indexOf("--find"); at >= 0 && at + 1 < args.size()) {
        find->setText(args[at + 1]);
        std::cout << (search(find->text()) ? "found" : "not found") << '\n';
    }
    if (args.contains("--quit")) QTimer::singleShot(0, &window, &QWidget::close);
    return app.exec();
}
