#pragma once
// The SMTP account of a mail profile: a QUILDOC.INI section (default [MAIL]) with the keys
//   URL       smtp://host[:port] or smtps://host[:port] (TLS from the start); required
//   USER      the login name; optional, no login without it
//   FROM      the sender address; optional when USER is an address
//   STARTTLS  1 requires TLS on an smtp:// connection (refused when the server does not
//             offer it); optional
//   CAFILE    a PEM file of CA certificates to trust for the server's certificate, in place
//             of the system's; optional, a path relative to the working directory
//   INSECURE  1 accepts any server certificate (no CA or host name check); optional, for
//             test servers only: the mail can then be read by whoever poses as the server
//   PASSWORD  used when the storage has no Password; optional
//   TIMEOUT   seconds to wait for the server; optional, default 30
//
// Over TLS (smtps://, STARTTLS=1) the server's certificate is verified by default: it must
// be issued by a trusted CA for the host name of the URL.

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
    std::string ca_file;
    bool insecure = false;
    long timeout_seconds = 30;

    // True when the connection is encrypted: smtps://, or STARTTLS required.
    bool UsesTls() const;
};

// The profile section's settings. Raises MailSettingsError (mail_error.h) naming the
// section and key when the section is missing, the URL is not smtp:// or smtps://, no
// valid sender address is given, or CAFILE names no readable file.
SmtpConfig ReadSmtpConfig(const SettingsFile& settings, std::string_view profile);

// What a profile section must hold, in words for messages ("a [MAIL] section with URL=...").
std::string ProfileKeysNeeded(std::string_view section);

// The profile's section name: the profile name, or MAIL when it is empty.
std::string ProfileSection(std::string_view profile);

}  // namespace quillon::mail
