#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/qt_host.h"

namespace quillon {
namespace {

// Answers the next modal message box by pressing `button`, and records what it offered.
void PressWhenShown(QMessageBox::StandardButton button, QMessageBox::StandardButtons* offered,
                    QString* text) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *offered = box->standardButtons();
        *text = box->text();
        box->button(button)->click();
    });
}

TEST(QtHost, MessageDialogsOfferOurButtonsAndAnswerWithTheirResult) {
    QtHost host;
    QMessageBox::StandardButtons offered;
    QString text;
    PressWhenShown(QMessageBox::No, &offered, &text);
    EXPECT_EQ(host.MessageDlg("Abbruch? \xC3\xA4", TMsgDlgType::mtConfirmation, mbYes | mbNo),
              mrNo);
    EXPECT_EQ(offered, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(text, QString::fromUtf8("Abbruch? \xC3\xA4"));

    PressWhenShown(QMessageBox::Retry, &offered, &text);
    EXPECT_EQ(host.MessageDlg("x", TMsgDlgType::mtError, mbAbort | mbRetry | mbIgnore), mrRetry);
    EXPECT_EQ(offered, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);

    PressWhenShown(QMessageBox::YesToAll, &offered, &text);
    EXPECT_EQ(host.MessageDlg("x", TMsgDlgType::mtWarning, mbAll | mbYesToAll | mbNoToAll),
              mrYesToAll);
    EXPECT_EQ(offered, QMessageBox::YesToAll | QMessageBox::NoToAll);

    // "All" is a button of its own, not Qt's alias of "Yes to All".
    QStringList labels;
    QTimer::singleShot(0, [&labels] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons()) labels << b->text();
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == "All") b->click();
        }
    });
    EXPECT_EQ(host.MessageDlg("x", TMsgDlgType::mtWarning, mbAll | mbYesToAll), mrAll);
    EXPECT_EQ(labels.size(), 2);

    // A message without buttons still has one to close it.
    PressWhenShown(QMessageBox::Ok, &offered, &text);
    EXPECT_EQ(host.MessageDlg("x", TMsgDlgType::mtInformation, 0), mrOk);
    EXPECT_EQ(offered, QMessageBox::Ok);
}

TEST(QtHost, ProgressWindowStopAndPendingEvents) {
    QtHost host;
    int stops = 0;
    auto window = host.CreateProgressWindow({"Run", "Page Number", "Generation of report", "Stop"});
    ASSERT_NE(window, nullptr);
    window->on_stop = [&] { ++stops; };
    window->SetVisible(true);
    EXPECT_TRUE(window->Visible());
    window->SetPageText("3");

    auto* stop = []() -> QPushButton* {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* b = w->findChild<QPushButton*>(); b && b->text() == "Stop") return b;
        }
        return nullptr;
    }();
    ASSERT_NE(stop, nullptr);
    // A click arriving as an event is handled only when the host processes events.
    QTimer::singleShot(0, stop, [stop] { stop->click(); });
    EXPECT_EQ(stops, 0);
    host.ProcessMessages();
    EXPECT_EQ(stops, 1);
    window->SetStopEnabled(false);
    EXPECT_FALSE(stop->isEnabled());
    window->SetVisible(false);
    EXPECT_FALSE(window->Visible());
}

TEST(QtHost, PrintersAgreeWithTheCurrentChoice) {
    QtHost host;
    const std::vector<PrinterInfo> printers = host.Printers();
    if (printers.empty()) {
        EXPECT_EQ(host.CurrentPrinter(), -1);
        EXPECT_FALSE(host.SetCurrentPrinter(0));
        EXPECT_FALSE(host.PrinterSetupDialog());
    } else {
        ASSERT_GE(host.CurrentPrinter(), 0);
        EXPECT_TRUE(host.SetCurrentPrinter(static_cast<int>(printers.size()) - 1));
        EXPECT_EQ(host.Printer().printerName().toStdString(), printers.back().name);
    }
    EXPECT_FALSE(host.SetCurrentPrinter(-1));
    host.SetPrinterOrientation(TPrinterOrientation::poLandscape);
    EXPECT_EQ(host.PrinterOrientation(), TPrinterOrientation::poLandscape);
    for (const PrinterInfo& p : host.Printers()) EXPECT_GE(p.page_width_mm, p.page_height_mm);
    host.SetPrinterOrientation(TPrinterOrientation::poPortrait);
    EXPECT_EQ(host.PrinterOrientation(), TPrinterOrientation::poPortrait);
}

}  // namespace
}  // namespace quillon
