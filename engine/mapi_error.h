#pragma once
// The exceptions of mail delivery. Every failure of a storage operation carries a result
// code of the Simple MAPI numbering, so that callers tell failures apart the same way
// whatever carries the mail: 1 is the user's cancel (EMapiUserAbort, not reported to the
// user), every other code is an EMapiError.

#include <stdexcept>
#include <string>
#include <string_view>

namespace quillon {

// Result codes (only the numbers matter to callers; the names are the messages' words).
enum TMapiResult : int {
    MAPI_USER_ABORT = 1,
    MAPI_E_FAILURE = 2,
    MAPI_E_LOGIN_FAILURE = 3,
    MAPI_E_DISK_FULL = 4,
    MAPI_E_INSUFFICIENT_MEMORY = 5,
    MAPI_E_ACCESS_DENIED = 6,
    MAPI_E_TOO_MANY_SESSIONS = 8,
    MAPI_E_TOO_MANY_FILES = 9,
    MAPI_E_TOO_MANY_RECIPIENTS = 10,
    MAPI_E_ATTACHMENT_NOT_FOUND = 11,
    MAPI_E_ATTACHMENT_OPEN_FAILURE = 12,
    MAPI_E_ATTACHMENT_WRITE_FAILURE = 13,
    MAPI_E_UNKNOWN_RECIPIENT = 14,
    MAPI_E_BAD_RECIPTYPE = 15,
    MAPI_E_NO_MESSAGES = 16,
    MAPI_E_INVALID_MESSAGE = 17,
    MAPI_E_TEXT_TOO_LARGE = 18,
    MAPI_E_INVALID_SESSION = 19,
    MAPI_E_TYPE_NOT_SUPPORTED = 20,
    MAPI_E_AMBIGUOUS_RECIPIENT = 21,
    MAPI_E_MESSAGE_IN_USE = 22,
    MAPI_E_NETWORK_FAILURE = 23,
    MAPI_E_INVALID_EDITFIELDS = 24,
    MAPI_E_INVALID_RECIPS = 25,
    MAPI_E_NOT_SUPPORTED = 26,
};

// The name of a result code ("Login Failure" for 3); empty for a code without one.
std::string_view MapiErrorName(int code);

// A failed storage operation. what() is "MAPI: <name>. ErrorCode = <code>"; Detail() says
// in plain words what went wrong and where (the server's answer, the file, the address),
// for logs and command-line messages; it may be empty.
class EMapiError : public std::runtime_error {
  public:
    explicit EMapiError(int code, std::string detail = {});

    int ErrorCode() const { return FErrorCode; }
    const std::string& Detail() const { return FDetail; }

  private:
    int FErrorCode;
    std::string FDetail;
};

// The user cancelled (code 1). A silent abort: applications do not report it.
class EMapiUserAbort : public std::runtime_error {
  public:
    EMapiUserAbort() : std::runtime_error("User Abort") {}
    int ErrorCode() const { return MAPI_USER_ABORT; }
};

// Throws the exception of a result code greater than 0: EMapiUserAbort for 1, else
// EMapiError. Does nothing for 0 and below.
void RaiseMapiResult(int code, std::string detail = {});

}  // namespace quillon
