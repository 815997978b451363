#pragma once
// TrptEmlStorage: writes the message it is asked to send into a file (RFC 5322, CR LF line
// endings) for a mail program to open and send; nothing goes over the network. The
// message is the one TrptSmtpStorage would send, marked as a draft. Its From is the sender
// set here, else the profile's sender when the settings file has the profile, else the
// local user at this host (mail::LocalSenderAddress).

#include <filesystem>
#include <string>

#include "mail/mail_storage.h"

namespace quillon {

class TrptEmlStorage : public TrptMailStorage {
  public:
    explicit TrptEmlStorage(std::string name = {}, HostServices& host = DefaultHost());

    // Where Send writes the message (an existing file is replaced).
    const std::filesystem::path& FileName() const { return FFileName; }
    void SetFileName(std::filesystem::path Value) { FFileName = std::move(Value); }
    // The settings file with the profiles; empty (the default) means SettingsFile::Locate().
    const std::filesystem::path& SettingsPath() const { return FSettingsPath; }
    void SetSettingsPath(std::filesystem::path Value) { FSettingsPath = std::move(Value); }

    // The From address ("Name <addr>" or addr); empty: the profile's or the local one.
    const std::string& From() const { return FFrom; }
    void SetFrom(std::string Value) { FFrom = std::move(Value); }

    // Nothing to open or close.
    void Logon() override {}
    void Logoff() override {}

  protected:
    // Raises EMapiError 25 when From is set but is no address, 2 when the file cannot be
    // written (nothing half-written is left).
    void Deliver(mail::OutgoingMail& Mail) override;

  private:
    std::filesystem::path FFileName;
    std::filesystem::path FSettingsPath;
    std::string FFrom;
};

}  // namespace quillon
