// A report run into the HTML report viewer window: ExecAndLoad writes the report to the
// report's output file and loads it into the viewer connected as ViewerExt; ShowModal
// shows the window until the user closes it.
//   report_viewer [--quit]     --quit: the window closes as soon as it is shown

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <array>
#include <iostream>
#include <memory>
#include <string>

#include <quillon/engine/quillon.h>
#include <quillon/platform/qt/qt_host.h>
#include <quillon/viewers/viewer_choice.h>
#include <quillon/viewers/wwwrep_viewer.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool quit_at_once = app.arguments().contains("--quit");

    quillon::QtHost host;  // messages and dialogs as Qt windows
    quillon::TQuillon report(host);
    report.SetFormatFile(TEMPLATE_FILE);
    report.SetFormatName("ORDERS");
    const QTemporaryDir folder;
    report.SetPrnFile((folder.path() + "/orders.htm").toStdString());

    const std::array<const char*, 3> customers = {"Alpha", "Beta", "Gamma"};
    std::size_t read = 0;
    report.OnNext = [&](quillon::TQuillon&, bool& next) {
        next = read < customers.size();
        if (next) ++read;
    };
    report.OnGetDetailLine = [&](quillon::TQuillon& r) {
        r.FieldByName("NO").SetAsString(std::to_string(1000 + read));
        r.FieldByName("CUSTOMER").SetAsString(customers[read - 1]);
    };

    std::unique_ptr<quillon::TCustomWWWRepViewer> viewer =
        quillon::MakeReportViewer(quillon::ReportViewerKind::Html, host);
    report.SetViewerExt(viewer.get());
    if (!report.ExecAndLoad()) return 1;
    std::cout << "loaded\n";
    if (quit_at_once) QTimer::singleShot(0, [&] { report.Close(); });
    report.ShowModal();
    report.SetViewerExt(nullptr);
    return 0;
}
