#pragma once
// Recipients as applications and users write them: "user@example.com",
// "<user@example.com>" or "Display Name <user@example.com>".

#include <optional>
#include <string>
#include <string_view>

namespace quillon::mail {

struct MailAddress {
    std::string name;     // display name, may be empty
    std::string address;  // local@domain

    // The address as a header shows it: `Name <local@domain>` or `local@domain`.
    std::string HeaderForm() const;
};

// The address in text, or nullopt when it is empty or not one. The local part is a
// dot-separated run of the characters mail addresses allow unquoted; the domain is a host
// name of letters, digits and hyphens, or an address literal in brackets. Blanks around the
// address and the name are dropped; anything that could end a command or a header line
// (control characters, a second "<", a ",") makes it invalid.
std::optional<MailAddress> ParseMailAddress(std::string_view text);

// The sender of a message written on this machine when no account names one: the login
// name at the host name ("ann@workstation"), or quillon@localhost when either is unusable
// in an address.
MailAddress LocalSenderAddress();

}  // namespace quillon::mail
