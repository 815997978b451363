#include "platform/qt/mail_review_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

namespace quillon {

namespace {

QString ToQ(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string Join(const std::vector<std::string>& list) {
    std::string line;
    for (const std::string& item : list) line += (line.empty() ? "" : ", ") + item;
    return line;
}

std::string Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return std::string(s.substr(first, last - first + 1));
}

// The text as the edit field shows it (line ends as new lines) and back (CR LF).
QString ShownText(const std::string& text) {
    QString shown = ToQ(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

std::string MailText(const QString& shown) {
    QStringList lines = shown.split(QLatin1Char('\n'));
    // A text that ends with a line end has no further (empty) line.
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
    std::string text;
    for (const QString& line : lines) text += line.toStdString() + "\r\n";
    return text;
}

}  // namespace

std::vector<std::string> SplitRecipients(std::string_view line) {
    std::vector<std::string> out;
    std::string current;
    bool quoted = false;
    bool bracketed = false;
    auto flush = [&] {
        std::string item = Trimmed(current);
        if (!item.empty()) out.push_back(std::move(item));
        current.clear();
    };
    for (const char c : line) {
        if (c == '"' && !bracketed) quoted = !quoted;
        if (!quoted && c == '<') bracketed = true;
        if (!quoted && c == '>') bracketed = false;
        if (!quoted && !bracketed && (c == ',' || c == ';')) {
            flush();
            continue;
        }
        current += c;
    }
    flush();
    return out;
}

MailReviewDialog::MailReviewDialog(const MailReview& message, QWidget* parent)
    : QDialog(parent), original_(message) {
    setWindowTitle(QStringLiteral("Send the report"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    to_ = new QLineEdit(ToQ(Join(message.to)), this);
    to_->setPlaceholderText(QStringLiteral("name@example.org, \"Name\" <other@example.org>"));
    cc_ = new QLineEdit(ToQ(Join(message.cc)), this);
    subject_ = new QLineEdit(ToQ(message.subject), this);
    form->addRow(QStringLiteral("&To:"), to_);
    form->addRow(QStringLiteral("&Cc:"), cc_);
    form->addRow(QStringLiteral("&Subject:"), subject_);
    QStringList files;
    for (const std::string& path : message.attachments) {
        files << ToQ(std::filesystem::path(path).filename().string());
    }
    auto* attachments = new QLabel(files.join(QStringLiteral(", ")), this);
    attachments->setToolTip(ToQ(Join(message.attachments)));
    form->addRow(QStringLiteral("Attached:"), attachments);
    layout->addLayout(form);
    text_ = new QPlainTextEdit(ShownText(message.text), this);
    layout->addWidget(text_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    send_ = buttons->addButton(QStringLiteral("Send"), QDialogButtonBox::AcceptRole);
    send_->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(to_, &QLineEdit::textChanged, this, [this] { UpdateSend(); });
    connect(cc_, &QLineEdit::textChanged, this, [this] { UpdateSend(); });
    UpdateSend();
    resize(480, 360);
    if (message.to.empty()) {
        to_->setFocus();
    } else {
        text_->setFocus();
    }
}

void MailReviewDialog::UpdateSend() {
    send_->setEnabled(!SplitRecipients(to_->text().toStdString()).empty() ||
                      !SplitRecipients(cc_->text().toStdString()).empty());
}

MailReview MailReviewDialog::Result() const {
    MailReview result = original_;
    result.to = SplitRecipients(to_->text().toStdString());
    result.cc = SplitRecipients(cc_->text().toStdString());
    result.subject = subject_->text().toStdString();
    result.text = MailText(text_->toPlainText());
    return result;
}

}  // namespace quillon
