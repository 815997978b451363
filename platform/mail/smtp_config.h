#pragma once
// The SMTP account of a mail profile: a QUILDOC.INI section (default [MAIL]) with the keys
//   URL       smtp://host[:port] or smtps://host[:port] (TLS from the start); required
//   USER      the login name; optional, no login without it
//   FROM      the sender address; optional when USER is an address
//   STARTTLS  1 requires TLS on an smtp:// connection; optional
//   PASSWORD  used when the storage has no Password; optional
//   TIMEOUT   seconds to wait for the server; optional, default 30

#include <optional>
#include <string>

#include "platform/core/settings_file.h"
#include "platform/mail/mail_address.h"
#include "platform/mail/mail_error.h"

namespace quillon::mail {

struct SmtpConfig {
    std::string url;
    std::string user;
    std::string password;
    MailAddress from;
    bool starttls = false;
    long timeout_seconds = 30;
};

// The profile section's settings. Raises MailSettingsError (mail_error.h) naming the
// section and key when the section is missing, the URL is not smtp:// or smtps://, or
// no valid sender address is given.
SmtpConfig ReadSmtpConfig(const SettingsFile& settings, std::string_view profile);

// What a profile section must hold, in words for messages ("a [MAIL] section with URL=...").
std::string ProfileKeysNeeded(std::string_view section);

// The profile's section name: the profile name, or MAIL when it is empty.
std::string ProfileSection(std::string_view profile);

}  // namespace quillon::mail
