#include "mail/eml_storage.h"

#include <ctime>
#include <fstream>
#include <system_error>

#include "platform/core/settings_file.h"
#include "platform/mail/smtp_config.h"

namespace quillon {

TrptEmlStorage::TrptEmlStorage(std::string name, HostServices& host)
    : TrptMailStorage(std::move(name), host) {}

void TrptEmlStorage::Deliver(mail::OutgoingMail& Mail) {
    namespace fs = std::filesystem;
    if (FFileName.empty()) throw EMapiError(MAPI_E_FAILURE, "no file name to write the message to");
    if (!FFrom.empty()) {
        Mail.from = mail::ParseMailAddress(FFrom);
        if (!Mail.from) {
            throw EMapiError(MAPI_E_INVALID_RECIPS,
                             "the sender \"" + FFrom + "\" is not a mail address");
        }
    } else {
        const SettingsFile settings =
            SettingsFile::Load(FSettingsPath.empty() ? SettingsFile::Locate() : FSettingsPath);
        const std::string section = mail::ProfileSection(ProfileName());
        if (settings.HasSection(section)) {
            const std::string from =
                settings.ReadString(section, "FROM", settings.ReadString(section, "USER", ""));
            Mail.from = mail::ParseMailAddress(from);
        }
    }
    // A message without a From is not a valid message; a mail program replaces this one.
    if (!Mail.from) Mail.from = mail::LocalSenderAddress();
    Mail.draft = true;
    const std::string message = mail::ComposeMail(Mail, std::time(nullptr), mail::UniqueToken());

    // Written beside the target and renamed over it, so a failure leaves no partial file.
    const fs::path partial = fs::path(FFileName).concat(".partial");
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (out) out.write(message.data(), static_cast<std::streamsize>(message.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            throw EMapiError(MAPI_E_FAILURE, "cannot write the message to " + FFileName.string());
        }
    }
    std::error_code ec;
    fs::rename(partial, FFileName, ec);
    if (ec) {
        fs::remove(partial, ec);
        throw EMapiError(MAPI_E_FAILURE, "cannot write the message to " + FFileName.string());
    }
}

}  // namespace quillon
