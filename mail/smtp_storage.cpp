#include "mail/smtp_storage.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <iostream>
#include <mutex>
#include <optional>
#include <system_error>

#include "platform/core/settings_file.h"
#include "platform/core/text_encoding.h"
#include "platform/mail/smtp_config.h"

namespace quillon {

namespace {

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::size_t DiscardReply(char*, std::size_t size, std::size_t count, void*) {
    return size * count;
}

std::size_t ReadMessage(char* buffer, std::size_t size, std::size_t count, void* user) {
    auto* rest = static_cast<std::string_view*>(user);
    const std::size_t n = std::min(size * count, rest->size());
    std::memcpy(buffer, rest->data(), n);
    rest->remove_prefix(n);
    return n;
}

bool IsNetworkFailure(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT:
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_USE_SSL_FAILED:
            return true;
        default:
            return false;
    }
}

std::string Chomp(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return std::string(line);
}

}  // namespace

// An open SMTP session: the account and a curl handle whose connection stays open between
// transfers.
struct TrptSmtpStorage::Session {
    mail::SmtpConfig config;
    std::unique_ptr<CURL, CurlDeleter> curl;
    std::string error = std::string(CURL_ERROR_SIZE + 1, '\0');
    // The conversation, as far as failures need it: the last command's verb, the last
    // recipient asked for and the server's last reply line. Nothing else (no credentials)
    // is kept.
    std::string last_verb;
    std::string last_recipient;
    std::string last_reply;
    // The first refusal (a reply of 400 or above) of the current transfer: the command it
    // answered, and for RCPT the recipient. Replies after it (to RSET or QUIT) do not
    // replace it.
    struct Refusal {
        std::string verb;
        std::string recipient;
        std::string reply;
    };
    std::optional<Refusal> refusal;

    std::string ErrorText(CURLcode code) const {
        const std::string text = error.c_str();
        return text.empty() ? curl_easy_strerror(code) : text;
    }
    std::string Where() const { return "server " + config.url; }
    // Why the connection failed, with what the profile can do about a refused TLS set-up.
    std::string ConnectionFailure(CURLcode code) const {
        std::string text = Where() + ": ";
        if (code == CURLE_USE_SSL_FAILED) {
            return text +
                   "the server does not offer STARTTLS, which STARTTLS=1 requires; "
                   "nothing was sent unencrypted";
        }
        text += ErrorText(code);
        if (code == CURLE_PEER_FAILED_VERIFICATION || code == CURLE_SSL_CACERT_BADFILE) {
            text +=
                " (the server's certificate was refused: it must be issued for the URL's host "
                "name by a trusted CA; CAFILE= names a CA to trust)";
        }
        return text;
    }

    static int Trace(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
        auto* session = static_cast<Session*>(user);
        const std::string_view text(data, size);
        if (type == CURLINFO_HEADER_IN) {
            session->last_reply = Chomp(text);
            const bool refused = !text.empty() && (text[0] == '4' || text[0] == '5');
            if (refused && !session->refusal) {
                session->refusal =
                    Refusal{session->last_verb, session->last_recipient, session->last_reply};
            }
        } else if (type == CURLINFO_HEADER_OUT) {
            // Only command verbs are kept: the lines of an AUTH exchange are credentials.
            const std::string verb = text::AsciiUpperCase(Chomp(text.substr(0, text.find(' '))));
            if (verb == "MAIL" || verb == "RCPT" || verb == "DATA" || verb == "NOOP" ||
                verb == "QUIT" || verb == "EHLO" || verb == "HELO" || verb == "AUTH") {
                session->last_verb = verb;
            }
            const std::size_t open = text.find('<');
            const std::size_t close = text.find('>', open);
            if (verb == "RCPT" && close != std::string_view::npos) {
                session->last_recipient = std::string(text.substr(open + 1, close - open - 1));
            }
        }
        return 0;
    }
};

TrptSmtpStorage::TrptSmtpStorage(std::string name, HostServices& host)
    : TrptMailStorage(std::move(name), host) {}

TrptSmtpStorage::~TrptSmtpStorage() = default;

std::unique_ptr<TrptSmtpStorage::Session> TrptSmtpStorage::OpenSession() const {
    const std::filesystem::path path =
        FSettingsPath.empty() ? SettingsFile::Locate() : FSettingsPath;
    std::error_code missing;
    if (!std::filesystem::is_regular_file(path, missing)) {
        throw EMapiError(MAPI_E_LOGIN_FAILURE,
                         "no mail account is set up: the settings file " + path.string() +
                             " does not exist; it needs " +
                             mail::ProfileKeysNeeded(mail::ProfileSection(ProfileName())));
    }
    auto session = std::make_unique<Session>();
    try {
        session->config = mail::ReadSmtpConfig(SettingsFile::Load(path), ProfileName());
    } catch (const mail::MailSettingsError& e) {
        throw EMapiError(MAPI_E_LOGIN_FAILURE,
                         std::string(e.what()) + " (settings file " + path.string() + ")");
    }
    if (!Password().empty()) session->config.password = Password();

    InitCurlOnce();
    session->curl.reset(curl_easy_init());
    CURL* curl = session->curl.get();
    if (curl == nullptr)
        throw EMapiError(MAPI_E_INSUFFICIENT_MEMORY, "no memory for a mail session");
    const mail::SmtpConfig& config = session->config;
    curl_easy_setopt(curl, CURLOPT_URL, config.url.c_str());
    if (!config.user.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, config.user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, config.password.c_str());
    }
    if (config.starttls) curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    if (!config.ca_file.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, config.ca_file.c_str());
    if (config.insecure) {
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
        if (config.UsesTls()) {
            std::cerr << "quillon: warning: the certificate of mail server " << config.url
                      << " is not checked (INSECURE=1); whoever poses as the server can read "
                         "the mail\n";
        }
    }
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, config.timeout_seconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, config.timeout_seconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, config.timeout_seconds);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, session->error.data());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, DiscardReply);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, Session::Trace);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, session.get());
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);

    // A NOOP connects, greets and logs in, and leaves the connection open for Send.
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "NOOP");
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, nullptr);
    if (code == CURLE_OK) return session;
    // A server that cannot be reached, does not answer or whose secure connection cannot
    // be set up is a failed connection; everything else (a refused login, a refusing
    // server) a failed login.
    if (IsNetworkFailure(code)) {
        throw EMapiError(MAPI_E_NETWORK_FAILURE, session->ConnectionFailure(code));
    }
    throw EMapiError(MAPI_E_LOGIN_FAILURE,
                     session->Where() + ": " + session->ErrorText(code) +
                         (session->last_reply.empty() ? "" : " (" + session->last_reply + ")"));
}

void TrptSmtpStorage::Logon() {
    Logoff();
    FSession = OpenSession();
}

void TrptSmtpStorage::Logoff() {
    FSession.reset();  // curl says QUIT and closes the connection
}

void TrptSmtpStorage::Deliver(mail::OutgoingMail& Mail) {
    std::unique_ptr<Session> temporary;
    Session* session = FSession.get();
    if (session == nullptr) {
        temporary = OpenSession();
        session = temporary.get();
    }
    Mail.from = session->config.from;
    const std::string message = mail::ComposeMail(Mail, std::time(nullptr), mail::UniqueToken());

    std::unique_ptr<curl_slist, SlistDeleter> recipients;
    for (const auto* list : {&Mail.to, &Mail.cc}) {
        for (const mail::MailAddress& address : *list) {
            curl_slist* head = recipients.release();
            curl_slist* grown = curl_slist_append(head, ("<" + address.address + ">").c_str());
            recipients.reset(grown != nullptr ? grown : head);
            if (grown == nullptr) {
                throw EMapiError(MAPI_E_INSUFFICIENT_MEMORY, "no memory for the recipients");
            }
        }
    }
    CURL* curl = session->curl.get();
    std::string_view rest = message;
    const std::string from = "<" + Mail.from->address + ">";
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, ReadMessage);
    curl_easy_setopt(curl, CURLOPT_READDATA, &rest);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
    session->error[0] = '\0';
    session->last_verb.clear();
    session->last_reply.clear();
    session->refusal.reset();
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, nullptr);
    curl_easy_setopt(curl, CURLOPT_READDATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
    if (code == CURLE_OK) return;

    const std::string where = session->Where();
    if (code == CURLE_LOGIN_DENIED) {
        throw EMapiError(MAPI_E_LOGIN_FAILURE,
                         where + " refused the login: " + session->last_reply);
    }
    if (const auto& refusal = session->refusal) {
        // 530: the server wants a login it did not offer (or that was not configured).
        if (refusal->reply.rfind("530", 0) == 0) {
            throw EMapiError(MAPI_E_LOGIN_FAILURE, where + " requires a login: " + refusal->reply);
        }
        if (refusal->verb == "RCPT") {
            throw EMapiError(
                MAPI_E_UNKNOWN_RECIPIENT,
                where + " refused recipient " + refusal->recipient + ": " + refusal->reply);
        }
        throw EMapiError(MAPI_E_FAILURE, where + " refused the message at " + refusal->verb + ": " +
                                             refusal->reply);
    }
    if (IsNetworkFailure(code)) {
        throw EMapiError(MAPI_E_NETWORK_FAILURE, session->ConnectionFailure(code));
    }
    throw EMapiError(MAPI_E_FAILURE, where + ": " + session->ErrorText(code));
}

}  // namespace quillon
