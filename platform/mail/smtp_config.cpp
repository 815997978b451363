#include "platform/mail/smtp_config.h"

#include <filesystem>
#include <fstream>

#include "platform/core/text_encoding.h"
#include "platform/mail/mail_error.h"

namespace quillon::mail {

std::string ProfileSection(std::string_view profile) {
    const std::string_view name = text::Trim(profile);
    return name.empty() ? std::string("MAIL") : std::string(name);
}

std::string ProfileKeysNeeded(std::string_view section) {
    return "a [" + std::string(section) +
           "] section with URL=smtp://SERVER:PORT (or smtps://) and FROM=ADDRESS, and USER "
           "and PASSWORD when the server wants a login";
}

bool SmtpConfig::UsesTls() const {
    return starttls || text::AsciiUpperCase(url.substr(0, 8)) == "SMTPS://";
}

SmtpConfig ReadSmtpConfig(const SettingsFile& settings, std::string_view profile) {
    const std::string section = ProfileSection(profile);
    auto fail = [&](const std::string& what) {
        throw MailSettingsError("mail profile [" + section + "]: " + what);
    };
    if (!settings.HasSection(section)) {
        fail("no such section in the settings file; a mail account needs " +
             ProfileKeysNeeded(section));
    }
    SmtpConfig config;
    config.url = settings.ReadString(section, "URL", "");
    const std::size_t separator = config.url.find("://");
    const std::string scheme = separator == std::string::npos
                                   ? std::string()
                                   : text::AsciiUpperCase(config.url.substr(0, separator));
    if (scheme != "SMTP" && scheme != "SMTPS") {
        fail("URL \"" + config.url + "\" is not an smtp:// or smtps:// address");
    }
    if (config.url.size() == separator + 3) fail("URL has no server name");
    config.user = settings.ReadString(section, "USER", "");
    config.password = settings.ReadString(section, "PASSWORD", "");
    const std::string from = settings.ReadString(section, "FROM", config.user);
    std::optional<MailAddress> sender = ParseMailAddress(from);
    if (!sender) fail("FROM \"" + from + "\" is not a mail address (nor is USER)");
    config.from = std::move(*sender);
    config.starttls = settings.ReadInteger(section, "STARTTLS", 0) != 0;
    config.ca_file = std::string(text::Trim(settings.ReadString(section, "CAFILE", "")));
    if (!config.ca_file.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(config.ca_file, ec) ||
            !std::ifstream(config.ca_file, std::ios::binary)) {
            fail("CAFILE \"" + config.ca_file + "\" is not a readable file");
        }
    }
    config.insecure = settings.ReadInteger(section, "INSECURE", 0) != 0;
    config.timeout_seconds = settings.ReadInteger(section, "TIMEOUT", 30);
    if (config.timeout_seconds <= 0) config.timeout_seconds = 30;
    return config;
}

}  // namespace quillon::mail
