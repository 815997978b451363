// Recipients, subjects, file names and texts come from applications and users. Whatever
// their bytes, an address either parses or is refused, and the composed message stays a
// well-formed message: no header line that the input started, no line longer than SMTP
// allows, nothing but printable ASCII.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/mail/mail_address.h"
#include "platform/mail/mail_composer.h"
#include "platform/mail/mime_encoding.h"

namespace {

// Splits the input at 0xFF bytes into up to four fields.
std::string_view Field(std::string_view& rest) {
    const std::size_t end = rest.find('\xff');
    const std::string_view field = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return field;
}

void Check(bool ok) {
    if (!ok) std::abort();
}

// Lines end in CR LF, hold printable ASCII (or tabs) only and stay within 998 characters.
void CheckLines(std::string_view text) {
    std::size_t column = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r') {
            Check(i + 1 < text.size() && text[i + 1] == '\n');
            ++i;
            column = 0;
            continue;
        }
        Check(c != '\n' && (c == '\t' || (c >= 0x20 && c < 0x7F)));
        Check(++column <= 998);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view address = Field(rest);
    const std::string_view subject = Field(rest);
    const std::string_view file_name = Field(rest);
    const std::string_view text = rest;

    quillon::mail::OutgoingMail mail;
    if (auto parsed = quillon::mail::ParseMailAddress(address)) {
        // What a header shows reads back as the same address.
        std::string shown = parsed->HeaderForm();
        for (std::size_t at; (at = shown.find("\r\n")) != std::string::npos;) shown.erase(at, 2);
        const auto again = quillon::mail::ParseMailAddress(shown);
        Check(again && again->address == parsed->address);
        mail.to.push_back(*parsed);
    }
    // A folded header value continues every line with a blank.
    const std::string header = quillon::mail::HeaderText(subject, 9);
    for (std::size_t at = header.find("\r\n"); at != std::string::npos;
         at = header.find("\r\n", at + 2)) {
        Check(at + 2 < header.size() && header[at + 2] == ' ');
    }
    mail.subject = std::string(subject);
    mail.text = std::string(text);
    mail.attachments.push_back({std::string(file_name), std::string(text)});
    const std::string message = quillon::mail::ComposeMail(mail, 0, "fuzz");
    CheckLines(message);
    // The header block ends at the first empty line; every line in it starts a field or
    // continues one.
    const std::string_view head(message.data(), message.find("\r\n\r\n") + 2);
    std::size_t start = 0;
    while (start < head.size()) {
        const std::size_t eol = head.find("\r\n", start);
        const std::string_view line = head.substr(start, eol - start);
        Check(line.front() == ' ' || line.find(':') != std::string_view::npos);
        start = eol + 2;
    }
    return 0;
}
