#pragma once
// The review of a message about to be mailed: recipients (To, Cc), subject and text can be
// edited, the attachments are listed. Send is offered only while there is a To or a Cc
// recipient.

#include <QDialog>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/host_services.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quillon {

// Recipients typed into one line: separated by commas or semicolons outside quotes and
// angle brackets ("Doe, Jane" <jane@example.org>, bob@example.org); blanks trimmed,
// empty entries dropped.
std::vector<std::string> SplitRecipients(std::string_view line);

class MailReviewDialog : public QDialog {
  public:
    MailReviewDialog(const MailReview& message, QWidget* parent = nullptr);

    QLineEdit& To() const { return *to_; }
    QLineEdit& Cc() const { return *cc_; }
    QLineEdit& Subject() const { return *subject_; }
    QPlainTextEdit& Text() const { return *text_; }
    QPushButton& SendButton() const { return *send_; }

    // The message as edited (the attachments unchanged).
    MailReview Result() const;

  private:
    void UpdateSend();

    MailReview original_;
    QLineEdit* to_ = nullptr;
    QLineEdit* cc_ = nullptr;
    QLineEdit* subject_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* send_ = nullptr;
};

}  // namespace quillon
