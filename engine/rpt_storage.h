#pragma once
// TrptStorage: the storage and mail component a report may be connected to
// (TQuillon::XStorage). The viewers' send button fills its attachment list with the report's
// output file and calls Logon, Send and Logoff (SendReportFile below). A concrete storage
// supplies the lists and the three operations; platform/mail has one that mails over SMTP
// and one that writes the message as a file.
//
// Failures are raised as EMapiError with a result code, or EMapiUserAbort when the user
// cancelled (engine/mapi_error.h).

#include <string>
#include <vector>

#include "engine/mapi_error.h"
#include "platform/core/component.h"

namespace quillon {

using TStrings = std::vector<std::string>;

class TrptStorage : public TComponent {
  public:
    explicit TrptStorage(std::string name = {}) : TComponent(std::move(name)) {}

    // --- properties held by every storage -----------------------------------------------
    // The password of the mail account.
    const std::string& Password() const { return FPassword; }
    void SetPassword(std::string Value) { FPassword = std::move(Value); }
    // Which mail configuration to use (for the SMTP storage: a QUILDOC.INI section).
    const std::string& ProfileName() const { return FProfileName; }
    void SetProfileName(std::string Value) { FProfileName = std::move(Value); }
    // Show the message to the user for review and editing before it goes (default true).
    // A message without a To recipient is always shown.
    bool Review() const { return FReview; }
    void SetReview(bool Value) { FReview = Value; }
    const std::string& Subject() const { return FSubject; }
    void SetSubject(std::string Value) { FSubject = std::move(Value); }

    // --- list properties, kept by the concrete storage ----------------------------------
    // File paths sent as attachments.
    TStrings& Attachments() { return GetAttachments(); }
    // Recipients: "user@example.com" or "Name <user@example.com>", one per entry.
    TStrings& ToRecipients() { return GetToRecipients(); }
    TStrings& CcRecipients() { return GetCcRecipients(); }
    // The body, one line per entry. Send appends a line with one blank per attachment
    // (where a mail program shows the attachments), and the list keeps it.
    TStrings& MessageText() { return GetMailMessage(); }
    void SetMessageText(const TStrings& Value) { SetMailMessage(Value); }

    // Each setter copies the given list; each getter returns the storage's own list.
    virtual void SetAttachments(const TStrings& Value) = 0;
    virtual TStrings& GetAttachments() = 0;
    virtual void SetToRecipients(const TStrings& Value) = 0;
    virtual TStrings& GetToRecipients() = 0;
    virtual void SetCcRecipients(const TStrings& Value) = 0;
    virtual TStrings& GetCcRecipients() = 0;
    virtual void SetMailMessage(const TStrings& Value) = 0;
    virtual TStrings& GetMailMessage() = 0;

    // --- operations ---------------------------------------------------------------------
    // Opens a session (a session already open is closed first).
    virtual void Logon() = 0;
    // Closes the session; without one nothing happens.
    virtual void Logoff() = 0;
    // Sends one message made of Subject, MessageText, the recipients and the attachments.
    virtual void Send() = 0;

  private:
    std::string FPassword;
    std::string FProfileName;
    bool FReview = true;
    std::string FSubject;
};

// What the viewers' send button does: the attachments become the one file, then Logon,
// Send and Logoff. Logoff runs also when Logon or Send raised, so no session is left open;
// the first failure is the one raised.
void SendReportFile(TrptStorage& Storage, const std::string& FileName);

}  // namespace quillon
