#include "mail/mail_storage.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace quillon {

namespace {

namespace fs = std::filesystem;

std::vector<mail::MailAddress> Addresses(const TStrings& list, std::string_view kind) {
    std::vector<mail::MailAddress> out;
    out.reserve(list.size());
    for (const std::string& text : list) {
        std::optional<mail::MailAddress> address = mail::ParseMailAddress(text);
        if (!address) {
            throw EMapiError(MAPI_E_INVALID_RECIPS, std::string(kind) + " recipient \"" + text +
                                                        "\" is not a mail address");
        }
        out.push_back(std::move(*address));
    }
    return out;
}

void CheckAttachmentsExist(const TStrings& list) {
    for (const std::string& path : list) {
        std::error_code ec;
        if (path.empty() || !fs::exists(path, ec)) {
            throw EMapiError(MAPI_E_ATTACHMENT_NOT_FOUND,
                             "attachment \"" + path + "\" does not exist");
        }
    }
}

mail::MailAttachment ReadAttachment(const std::string& path) {
    std::error_code ec;
    if (path.empty() || !fs::exists(path, ec)) {
        throw EMapiError(MAPI_E_ATTACHMENT_NOT_FOUND, "attachment \"" + path + "\" does not exist");
    }
    if (fs::is_directory(path, ec)) {
        throw EMapiError(MAPI_E_ATTACHMENT_OPEN_FAILURE,
                         "attachment \"" + path + "\" is a folder, not a file");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw EMapiError(MAPI_E_ATTACHMENT_OPEN_FAILURE,
                         "attachment \"" + path + "\" cannot be opened for reading");
    }
    mail::MailAttachment result;
    result.file_name = fs::path(path).filename().string();
    result.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw EMapiError(MAPI_E_ATTACHMENT_OPEN_FAILURE,
                         "attachment \"" + path + "\" could not be read to its end");
    }
    return result;
}

std::string NoteText(const TStrings& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace

TrptMailStorage::TrptMailStorage(std::string name, HostServices& host)
    : TrptStorage(std::move(name)), FHost(host) {}

void TrptMailStorage::Send() {
    WaitCursor wait(FHost);
    if (!FAttachments.empty()) FMessageText.push_back(std::string(FAttachments.size(), ' '));

    MailReview message{FToRecipients, FCcRecipients, Subject(), NoteText(FMessageText),
                       FAttachments};
    Addresses(message.to, "To");
    Addresses(message.cc, "Cc");
    CheckAttachmentsExist(message.attachments);
    if (Review() || message.to.empty()) {
        if (!FHost.ReviewMail(message)) throw EMapiUserAbort();
    }

    mail::OutgoingMail mail;
    mail.to = Addresses(message.to, "To");
    mail.cc = Addresses(message.cc, "Cc");
    if (mail.to.empty() && mail.cc.empty()) {
        throw EMapiError(MAPI_E_INVALID_RECIPS, "the message has no recipient");
    }
    mail.subject = std::move(message.subject);
    mail.text = std::move(message.text);
    mail.attachments.reserve(message.attachments.size());
    for (const std::string& path : message.attachments) {
        mail.attachments.push_back(ReadAttachment(path));
    }
    Deliver(mail);
}

}  // namespace quillon
