#include "platform/mail/mail_address.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/core/text_encoding.h"
#include "platform/mail/mime_encoding.h"

namespace quillon::mail {

namespace {

bool IsAtomChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::string_view("!#$%&'*+-/=?^_`{|}~").find(c) != std::string_view::npos;
}

bool IsDotAtom(std::string_view s) {
    if (s.empty() || s.front() == '.' || s.back() == '.') return false;
    if (s.find("..") != std::string_view::npos) return false;
    return std::all_of(s.begin(), s.end(), [](char c) { return c == '.' || IsAtomChar(c); });
}

bool IsDomain(std::string_view s) {
    if (s.size() > 2 && s.front() == '[' && s.back() == ']') {
        const std::string_view inner = s.substr(1, s.size() - 2);
        return std::all_of(inner.begin(), inner.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') ||
                   c == '.' || c == ':' || c == 'v' || c == 'V';
        });
    }
    if (s.empty() || s.size() > 253) return false;
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find('.', start);
        if (end == std::string_view::npos) end = s.size();
        const std::string_view label = s.substr(start, end - start);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-')
            return false;
        const bool ok = std::all_of(label.begin(), label.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                   c == '-';
        });
        if (!ok) return false;
        start = end + 1;
    }
    return true;
}

bool IsAddrSpec(std::string_view s) {
    const std::size_t at = s.rfind('@');
    if (at == std::string_view::npos || at > 64) return false;
    return IsDotAtom(s.substr(0, at)) && IsDomain(s.substr(at + 1));
}

}  // namespace

std::string MailAddress::HeaderForm() const {
    const std::string phrase = HeaderPhrase(name);
    return phrase.empty() ? address : phrase + " <" + address + ">";
}

std::optional<MailAddress> ParseMailAddress(std::string_view text) {
    const bool controls = std::any_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    if (controls) return std::nullopt;
    const std::string_view trimmed = text::Trim(text);
    MailAddress result;
    const std::size_t open = trimmed.find('<');
    if (open == std::string_view::npos) {
        result.address = std::string(trimmed);
    } else {
        if (trimmed.back() != '>' || trimmed.find('<', open + 1) != std::string_view::npos)
            return std::nullopt;
        std::string_view name = text::Trim(trimmed.substr(0, open));
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
            name = name.substr(1, name.size() - 2);
        if (name.find_first_of("<>\"") != std::string_view::npos) return std::nullopt;
        result.name = std::string(name);
        result.address = std::string(trimmed.substr(open + 1, trimmed.size() - open - 2));
    }
    if (!IsAddrSpec(result.address)) return std::nullopt;
    return result;
}

MailAddress LocalSenderAddress() {
    std::string user;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_name != nullptr) {
        user = entry->pw_name;
    } else if (const char* name = std::getenv("USER")) {
        user = name;
    }
    std::string host(HOST_NAME_MAX + 1, '\0');
    if (gethostname(host.data(), host.size()) != 0) host.clear();
    host.resize(std::strlen(host.c_str()));  // the name ends at its first NUL
    if (IsDotAtom(user) && !host.empty() && IsDomain(host))
        return MailAddress{"", user + "@" + host};
    return MailAddress{"", "quillon@localhost"};
}

}  // namespace quillon::mail
