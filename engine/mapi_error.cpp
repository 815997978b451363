#include "engine/mapi_error.h"

#include <array>

namespace quillon {

namespace {

constexpr std::array<std::string_view, 27> kNames = {
    "",                          // 0 success
    "User Abort",                // 1
    "General Failure",           // 2
    "Login Failure",             // 3
    "Disk Full",                 // 4
    "Insufficient Memory",       // 5
    "Access Denied",             // 6
    "",                          // 7 has no name
    "Too Many Sessions",         // 8
    "Too Many Files",            // 9
    "Too Many Recipients",       // 10
    "Attachment Not Found",      // 11
    "Attachment Open Failure",   // 12
    "Attachment Write Failure",  // 13
    "Unknown Recipient",         // 14
    "Bad Recipient Type",        // 15
    "No Messages",               // 16
    "Invalid Message",           // 17
    "Text Too Large",            // 18
    "Invalid Session",           // 19
    "Type Not Supported",        // 20
    "Ambiguous Recipient",       // 21
    "Message In Use",            // 22
    "Network Failure",           // 23
    "Invalid Edit Fields",       // 24
    "Invalid Recipients",        // 25
    "Feature Not Supported",     // 26
};

std::string Message(int code) {
    return "MAPI: " + std::string(MapiErrorName(code)) + ". ErrorCode = " + std::to_string(code);
}

}  // namespace

std::string_view MapiErrorName(int code) {
    if (code < 0 || code >= static_cast<int>(kNames.size())) return {};
    return kNames[static_cast<std::size_t>(code)];
}

EMapiError::EMapiError(int code, std::string detail)
    : std::runtime_error(Message(code)), FErrorCode(code), FDetail(std::move(detail)) {}

void RaiseMapiResult(int code, std::string detail) {
    if (code <= 0) return;
    if (code == MAPI_USER_ABORT) throw EMapiUserAbort();
    throw EMapiError(code, std::move(detail));
}

}  // namespace quillon
