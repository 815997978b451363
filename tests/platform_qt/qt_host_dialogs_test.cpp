// The Qt host's dialogs that need no printer: the print dialog with a page range offering a
// PDF file when none is installed, and the review of a message before it is mailed.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/qt/mail_review_dialog.h"
#include "platform/qt/qt_host.h"

namespace quillon {
namespace {

// Saves a picture of the widget when QUILLON_SCREENSHOT_DIR names a folder.
void Screenshot(QWidget& widget, const std::string& name) {
    if (const char* dir = std::getenv("QUILLON_SCREENSHOT_DIR")) {
        widget.grab().save(QString::fromStdString(std::string(dir) + "/" + name));
    }
}

// Runs answer on the next modal dialog of type T once it is shown.
template <typename T>
void WhenShown(std::function<void(T&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = dynamic_cast<T*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

TEST(QtHostDialogs, TheRangeDialogOffersAPdfFileWhenThereIsNoPrinter) {
    QtHost host;
    host.SetPrinters({});
    EXPECT_TRUE(host.Printers().empty());
    EXPECT_EQ(host.CurrentPrinter(), -1);
    host.Printer().setOutputFileName("/tmp/quillon-range.pdf");

    bool file_offered = false;
    WhenShown<QPrintDialog>([&file_offered](QPrintDialog& dialog) {
        file_offered = dialog.testOption(QAbstractPrintDialog::PrintToFile);
        // The pages as the user gives them: the range button and the two numbers.
        auto* range = dialog.findChild<QRadioButton*>("printRange");
        auto* first = dialog.findChild<QSpinBox*>("from");
        auto* last = dialog.findChild<QSpinBox*>("to");
        ASSERT_TRUE(range != nullptr && first != nullptr && last != nullptr);
        range->setChecked(true);
        last->setValue(3);
        first->setValue(2);
        Screenshot(dialog, "print_dialog_no_printer.png");
        dialog.accept();
    });
    int from = 1;
    int to = 9999;
    ASSERT_TRUE(host.PrintRangeDialog(from, to));
    EXPECT_TRUE(file_offered);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 3);
    EXPECT_EQ(host.Printer().outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(host.Printer().outputFileName(), "/tmp/quillon-range.pdf");

    // Cancel changes nothing.
    WhenShown<QPrintDialog>([](QPrintDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(host.PrintRangeDialog(from, to));
    EXPECT_EQ(from, 2);
    // The report's set-up before a run still needs a printer: no dialog opens.
    EXPECT_FALSE(host.PrinterSetupDialog());
}

TEST(QtHostDialogs, MessagesAreBoxesOnTheWindow) {
    QtHost host;
    QString shown;
    WhenShown<QMessageBox>([&shown](QMessageBox& box) {
        shown = box.text();
        Screenshot(box, "message_box_error.png");
        box.accept();
    });
    host.MessageDlg(
        "MAPI: Login Failure. ErrorCode = 3\nno mail account is set up: the settings file "
        "/home/ann/.config/quillon/QUILDOC.INI does not exist; it needs a [MAIL] section with "
        "URL=smtp://SERVER:PORT (or smtps://) and FROM=ADDRESS, and USER and PASSWORD when the "
        "server wants a login",
        TMsgDlgType::mtError, mbOK);
    EXPECT_TRUE(shown.startsWith("MAPI: Login Failure"));
}

TEST(MailReview, RecipientsAreSplitOutsideQuotesAndBrackets) {
    EXPECT_EQ(SplitRecipients("a@x.org, b@y.org; c@z.org"),
              (std::vector<std::string>{"a@x.org", "b@y.org", "c@z.org"}));
    EXPECT_EQ(SplitRecipients("\"Doe, Jane\" <jane@x.org>, <odd,name@y.org>"),
              (std::vector<std::string>{"\"Doe, Jane\" <jane@x.org>", "<odd,name@y.org>"}));
    EXPECT_TRUE(SplitRecipients(" , ;  ").empty());
    EXPECT_TRUE(SplitRecipients("").empty());
}

TEST(MailReview, TheUserEditsTheMessageBeforeItGoes) {
    QtHost host;
    MailReview message{{}, {}, "sales.htm", "Hello\r\nsee attached\r\n", {"/srv/out/sales.htm"}};
    WhenShown<MailReviewDialog>([](MailReviewDialog& dialog) {
        EXPECT_FALSE(dialog.SendButton().isEnabled()) << "no recipient yet";
        EXPECT_EQ(dialog.Text().toPlainText(), "Hello\nsee attached\n");
        dialog.To().setText("ann@example.org, \"Lee, Bo\" <bo@example.org>");
        EXPECT_TRUE(dialog.SendButton().isEnabled());
        dialog.Subject().setText("Sales report");
        Screenshot(dialog, "mail_review.png");
        dialog.SendButton().click();
    });
    ASSERT_TRUE(host.ReviewMail(message));
    EXPECT_EQ(message.to,
              (std::vector<std::string>{"ann@example.org", "\"Lee, Bo\" <bo@example.org>"}));
    EXPECT_TRUE(message.cc.empty());
    EXPECT_EQ(message.subject, "Sales report");
    EXPECT_EQ(message.text, "Hello\r\nsee attached\r\n");
    EXPECT_EQ(message.attachments, std::vector<std::string>{"/srv/out/sales.htm"});

    // Cancelled: the message is left as it was and nothing goes.
    MailReview again = message;
    WhenShown<MailReviewDialog>([](MailReviewDialog& dialog) {
        dialog.Subject().setText("changed");
        dialog.reject();
    });
    EXPECT_FALSE(host.ReviewMail(again));
    EXPECT_EQ(again.subject, "Sales report");
}

}  // namespace
}  // namespace quillon
