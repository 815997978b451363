#pragma once
// Composes one Internet message (the bytes an SMTP server receives, or an .eml file):
// headers, a text/plain UTF-8 body and one base64 part per attachment.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mail/mail_address.h"

namespace quillon::mail {

struct MailAttachment {
    std::string file_name;  // shown to the recipient (no folders)
    std::string bytes;      // the file's content, exactly
};

struct OutgoingMail {
    std::optional<MailAddress> from;  // no From header without one (a draft)
    std::vector<MailAddress> to;
    std::vector<MailAddress> cc;
    std::string subject;
    std::string text;  // the body; valid UTF-8 or else Windows-1252
    std::vector<MailAttachment> attachments;
    bool draft = false;  // marks the message as not yet sent, for a mail program to open
};

// The message with CR LF line endings. `date` is the Date header's time; the boundary and
// the Message-ID come from `unique`, a value that differs between messages.
std::string ComposeMail(const OutgoingMail& mail, std::time_t date, std::string_view unique);

// A value for ComposeMail's `unique` argument: random hex digits.
std::string UniqueToken();

// The media type of a file by its name's extension (application/octet-stream otherwise).
std::string MediaTypeOf(std::string_view file_name);

}  // namespace quillon::mail
