#include "platform/qt/qt_host.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <utility>

#include "platform/qt/mail_review_dialog.h"
#include "platform/qt/print_page_range.h"
#include "platform/qt/qt_image_decoder.h"

namespace quillon {

namespace {

struct ButtonMap {
    TMsgDlgBtn ours;
    QMessageBox::StandardButton qt;  // NoButton: a button of our own with `text`
    const char* text;
    TModalResult result;
};

// Buttons in the order they are offered. Qt has no "All" of its own (its YesAll is
// YesToAll), so that one is made here.
constexpr ButtonMap kButtons[] = {
    {mbYes, QMessageBox::Yes, nullptr, mrYes},
    {mbNo, QMessageBox::No, nullptr, mrNo},
    {mbOK, QMessageBox::Ok, nullptr, mrOk},
    {mbCancel, QMessageBox::Cancel, nullptr, mrCancel},
    {mbAbort, QMessageBox::Abort, nullptr, mrAbort},
    {mbRetry, QMessageBox::Retry, nullptr, mrRetry},
    {mbIgnore, QMessageBox::Ignore, nullptr, mrIgnore},
    {mbAll, QMessageBox::NoButton, "All", mrAll},
    {mbNoToAll, QMessageBox::NoToAll, nullptr, mrNoToAll},
    {mbYesToAll, QMessageBox::YesToAll, nullptr, mrYesToAll},
    {mbHelp, QMessageBox::Help, nullptr, mrNone},
};

QMessageBox::Icon IconOf(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning:
            return QMessageBox::Warning;
        case TMsgDlgType::mtError:
            return QMessageBox::Critical;
        case TMsgDlgType::mtInformation:
            return QMessageBox::Information;
        case TMsgDlgType::mtConfirmation:
            return QMessageBox::Question;
        case TMsgDlgType::mtCustom:
            return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

QString TitleOf(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning:
            return QStringLiteral("Warning");
        case TMsgDlgType::mtError:
            return QStringLiteral("Error");
        case TMsgDlgType::mtInformation:
            return QStringLiteral("Information");
        case TMsgDlgType::mtConfirmation:
            return QStringLiteral("Confirm");
        case TMsgDlgType::mtCustom:
            break;
    }
    return QCoreApplication::applicationName();
}

class QtProgressWindow : public ProgressWindow {
  public:
    QtProgressWindow(QWidget* parent, const ProgressWindowTexts& texts)
        : window_(std::make_unique<QWidget>(parent, Qt::Dialog)) {
        window_->setWindowTitle(QString::fromStdString(texts.title));
        auto* layout = new QVBoxLayout(window_.get());  // owned by the window
        caption_ = new QLabel(QString::fromStdString(texts.caption));
        auto* row = new QHBoxLayout;
        page_label_ = new QLabel(QString::fromStdString(texts.page_label));
        page_ = new QLabel;
        row->addWidget(page_label_);
        row->addWidget(page_);
        stop_ = new QPushButton(QString::fromStdString(texts.stop));
        layout->addWidget(caption_);
        layout->addLayout(row);
        layout->addWidget(stop_);
        QObject::connect(stop_, &QPushButton::clicked, [this] {
            if (on_stop) on_stop();
        });
    }

    void SetVisible(bool visible) override { window_->setVisible(visible); }
    bool Visible() const override { return window_->isVisible(); }
    void SetPageText(std::string_view text) override {
        page_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    void SetCaption(std::string_view text) override {
        caption_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    void SetStopEnabled(bool enabled) override { stop_->setEnabled(enabled); }

    QPushButton* StopButton() const { return stop_; }

  private:
    std::unique_ptr<QWidget> window_;
    QLabel* caption_ = nullptr;
    QLabel* page_label_ = nullptr;
    QLabel* page_ = nullptr;
    QPushButton* stop_ = nullptr;
};

}  // namespace

QtHost::QtHost(QWidget* parent) : parent_(parent), printer_(std::make_unique<QPrinter>()) {
    EnsureQtImageDecoder();
    RefreshPrinters();
}

QtHost::~QtHost() = default;

void QtHost::RefreshPrinters() {
    SetPrinters(QPrinterInfo::availablePrinters());
}

void QtHost::SetPrinters(QList<QPrinterInfo> printers) {
    printers_ = std::move(printers);
    current_ = -1;
    const QString default_name = QPrinterInfo::defaultPrinterName();
    for (qsizetype i = 0; i < printers_.size(); ++i) {
        if (printers_[i].printerName() == default_name) current_ = static_cast<int>(i);
    }
    if (current_ < 0 && !printers_.isEmpty()) current_ = 0;
    if (current_ >= 0) printer_->setPrinterName(printers_[current_].printerName());
}

int QtHost::MessageDlg(std::string_view message, TMsgDlgType type, TMsgDlgButtons buttons) {
    QMessageBox box(IconOf(type), TitleOf(type),
                    QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())),
                    QMessageBox::NoButton, parent_);
    std::vector<std::pair<QAbstractButton*, TModalResult>> offered;
    for (const ButtonMap& b : kButtons) {
        if (!(buttons & b.ours)) continue;
        QAbstractButton* button =
            b.qt != QMessageBox::NoButton
                ? box.addButton(b.qt)
                : box.addButton(QString::fromUtf8(b.text), QMessageBox::YesRole);
        offered.emplace_back(button, b.result);
    }
    if (offered.empty()) offered.emplace_back(box.addButton(QMessageBox::Ok), mrOk);
    box.exec();
    for (const auto& [button, result] : offered) {
        if (box.clickedButton() == button) return result;
    }
    return mrNone;
}

void QtHost::ProcessMessages() {
    QCoreApplication::processEvents();
}

std::vector<PrinterInfo> QtHost::Printers() const {
    std::vector<PrinterInfo> out;
    const bool landscape = PrinterOrientation() == TPrinterOrientation::poLandscape;
    for (const QPrinterInfo& p : printers_) {
        const QSizeF mm = p.defaultPageSize().size(QPageSize::Millimeter);
        PrinterInfo info;
        info.name = p.printerName().toStdString();
        info.page_width_mm = landscape ? mm.height() : mm.width();
        info.page_height_mm = landscape ? mm.width() : mm.height();
        out.push_back(std::move(info));
    }
    return out;
}

bool QtHost::SetCurrentPrinter(int index) {
    if (index < 0 || index >= printers_.size()) return false;
    current_ = index;
    printer_->setPrinterName(printers_[index].printerName());
    return true;
}

TPrinterOrientation QtHost::PrinterOrientation() const {
    return printer_->pageLayout().orientation() == QPageLayout::Landscape
               ? TPrinterOrientation::poLandscape
               : TPrinterOrientation::poPortrait;
}

void QtHost::SetPrinterOrientation(TPrinterOrientation orientation) {
    printer_->setPageOrientation(orientation == TPrinterOrientation::poLandscape
                                     ? QPageLayout::Landscape
                                     : QPageLayout::Portrait);
}

void QtHost::PdfWhenNoPrinter() {
    if (!printers_.isEmpty()) return;
    const bool named =
        printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty();
    printer_->setOutputFormat(QPrinter::PdfFormat);
    if (!named) printer_->setOutputFileName(QStringLiteral("report.pdf"));
}

void QtHost::TakeChosenPrinter() {
    for (qsizetype i = 0; i < printers_.size(); ++i) {
        if (printers_[i].printerName() == printer_->printerName()) current_ = static_cast<int>(i);
    }
}

bool QtHost::PrinterSetupDialog() {
    if (printers_.isEmpty()) return false;
    QPrintDialog dialog(printer_.get(), parent_);
    if (dialog.exec() != QDialog::Accepted) return false;
    TakeChosenPrinter();
    return true;
}

bool QtHost::PrintRangeDialog(int& FromPage, int& ToPage) {
    PdfWhenNoPrinter();
    QPrintDialog dialog(printer_.get(), parent_);
    // Printing to a file is offered where it is the only destination.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, printers_.isEmpty());
    OfferPageRange(dialog, FromPage, ToPage, false);
    if (dialog.exec() != QDialog::Accepted) return false;
    TakeChosenPrinter();
    TakePageRange(dialog, FromPage, ToPage);
    return true;
}

bool QtHost::ReviewMail(MailReview& message) {
    MailReviewDialog dialog(message, parent_);
    if (dialog.exec() != QDialog::Accepted) return false;
    message = dialog.Result();
    return true;
}

std::unique_ptr<ProgressWindow> QtHost::CreateProgressWindow(const ProgressWindowTexts& texts) {
    return std::make_unique<QtProgressWindow>(parent_, texts);
}

}  // namespace quillon
