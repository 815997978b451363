#pragma once
// The error of the mail transport: settings that name no usable account. The storages above
// it report it to the report as the engine's login failure.

#include <stdexcept>
#include <string>

namespace quillon::mail {

class MailSettingsError : public std::runtime_error {
  public:
    explicit MailSettingsError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace quillon::mail
