#pragma once
// TrptSmtpStorage: mails messages to an SMTP server through libcurl. ProfileName names the
// QUILDOC.INI section with the account (platform/mail/smtp_config.h); Password, when set,
// is the account's password.
//
// Logon reads the profile, connects and logs in. Send delivers over that connection (a lost
// connection is opened again); a Send without Logon opens a session for itself and closes
// it afterwards. Failures (EMapiError codes): the profile is missing or unusable, or the
// server refused the login 3; the server cannot be reached, does not answer in time, drops
// the connection, or its TLS set-up fails (certificate refused, STARTTLS not offered) 23;
// the server refused a recipient 14; anything else 2. Over TLS the certificate is verified
// (platform/mail/smtp_config.h: CAFILE, INSECURE).

#include <filesystem>
#include <memory>

#include "mail/mail_storage.h"

namespace quillon {

class TrptSmtpStorage : public TrptMailStorage {
  public:
    explicit TrptSmtpStorage(std::string name = {}, HostServices& host = DefaultHost());
    ~TrptSmtpStorage() override;

    // The settings file with the profiles; empty (the default) means SettingsFile::Locate().
    const std::filesystem::path& SettingsPath() const { return FSettingsPath; }
    void SetSettingsPath(std::filesystem::path Value) { FSettingsPath = std::move(Value); }

    void Logon() override;
    void Logoff() override;
    bool LoggedOn() const { return FSession != nullptr; }

  protected:
    void Deliver(mail::OutgoingMail& Mail) override;

  private:
    struct Session;
    std::unique_ptr<Session> OpenSession() const;

    std::filesystem::path FSettingsPath;
    std::unique_ptr<Session> FSession;
};

// The name applications know the mail storage by.
using TrptMAPIStorage = TrptSmtpStorage;

}  // namespace quillon
