#pragma once
// TrptMailStorage: the part of a mail storage that every way of delivery shares. It owns
// the four lists and makes the message that Send delivers: the line of blanks for the
// attachments, the recipients checked, the review step through the host, the attachments
// read. A derived storage delivers the finished message (SMTP, or an .eml file).

#include <string>

#include "engine/rpt_storage.h"
#include "platform/core/host_services.h"
#include "platform/mail/mail_composer.h"

namespace quillon {

class TrptMailStorage : public TrptStorage {
  public:
    // The review step and the wait cursor go to host, which must outlive the storage.
    explicit TrptMailStorage(std::string name = {}, HostServices& host = DefaultHost());

    void SetAttachments(const TStrings& Value) override { FAttachments = Value; }
    TStrings& GetAttachments() override { return FAttachments; }
    void SetToRecipients(const TStrings& Value) override { FToRecipients = Value; }
    TStrings& GetToRecipients() override { return FToRecipients; }
    void SetCcRecipients(const TStrings& Value) override { FCcRecipients = Value; }
    TStrings& GetCcRecipients() override { return FCcRecipients; }
    void SetMailMessage(const TStrings& Value) override { FMessageText = Value; }
    TStrings& GetMailMessage() override { return FMessageText; }

    // Makes the message and hands it to Deliver, with the host's wait cursor shown until
    // it returns or raises:
    // 1. With attachments, a line of one blank per attachment is appended to MessageText.
    // 2. Every recipient must be an address (EMapiError 25), every attachment must exist
    //    (11).
    // 3. When Review is true or there is no To recipient, the host shows the message for
    //    editing; a cancel raises EMapiUserAbort. The edited message is checked again, and
    //    must have a recipient (25).
    // 4. The attachments are read (missing 11, unreadable 12) before anything is sent.
    void Send() override;

    HostServices& Host() const { return FHost; }

  protected:
    // Delivers a finished message (its `from` not yet set).
    virtual void Deliver(mail::OutgoingMail& Mail) = 0;

  private:
    HostServices& FHost;
    TStrings FAttachments;
    TStrings FToRecipients;
    TStrings FCcRecipients;
    TStrings FMessageText;
};

}  // namespace quillon
