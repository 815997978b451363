#pragma once
// What the mail tests need: a small SMTP server on loopback that records what it receives,
// and a reader that takes a received message apart (headers decoded, parts decoded), so the
// tests check the bytes a real peer gets.

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "test_certificates.h"

namespace quillon::mailtest {

std::string Base64Decode(std::string_view text);
std::string QuotedPrintableDecode(std::string_view text);
// A header value unfolded, its encoded words decoded.
std::string DecodeHeader(std::string_view value);

struct MimePart {
    std::map<std::string, std::string> headers;  // lower-case names, raw unfolded values
    std::string body;                            // decoded by its transfer encoding
    std::vector<MimePart> parts;                 // of a multipart
    std::string Header(const std::string& name) const;
    // A parameter of a header ("boundary", "filename"), with quoted and extended
    // (numbered, percent-encoded) forms decoded.
    std::string Param(const std::string& header, const std::string& name) const;
};
MimePart ParseMime(std::string_view message);

class SmtpTestServer {
  public:
    struct Options {
        std::string mechanisms = "PLAIN LOGIN";  // advertised when user is set
        std::string user;                        // empty: no login offered or needed
        std::string password;
        std::set<std::string> refused;  // recipients answered with 550
        bool drop_at_data = false;      // closes the connection on DATA
        bool silent = false;            // accepts connections but never answers
        bool hide_auth = false;         // requires the login without offering it
        // TLS: none, offered as STARTTLS, or from the start (smtps), with this identity.
        enum class Tls { None, StartTls, Implicit };
        Tls tls = Tls::None;
        PemIdentity identity;

        Options& Login(std::string u, std::string p, std::string mechs = "PLAIN LOGIN") {
            user = std::move(u);
            password = std::move(p);
            mechanisms = std::move(mechs);
            return *this;
        }
        Options& Refuse(std::string recipient) {
            refused.insert(std::move(recipient));
            return *this;
        }
        Options& DropAtData() {
            drop_at_data = true;
            return *this;
        }
        Options& Silent() {
            silent = true;
            return *this;
        }
        Options& StartTls(PemIdentity id = Certificates().server) {
            tls = Tls::StartTls;
            identity = std::move(id);
            return *this;
        }
        Options& ImplicitTls(PemIdentity id = Certificates().server) {
            tls = Tls::Implicit;
            identity = std::move(id);
            return *this;
        }
    };
    struct Delivery {
        std::string from;
        std::vector<std::string> recipients;
        std::string data;        // the message, dot-stuffing undone
        bool encrypted = false;  // it came over TLS
    };

    SmtpTestServer() : SmtpTestServer(Options{}) {}
    explicit SmtpTestServer(Options options);
    SmtpTestServer(const SmtpTestServer&) = delete;
    SmtpTestServer& operator=(const SmtpTestServer&) = delete;
    ~SmtpTestServer();

    int Port() const { return port_; }
    // smtps:// for a server with TLS from the start, else smtp://.
    std::string Url() const;
    std::vector<Delivery> Deliveries() const;
    // Every command verb received, in order ("EHLO", "AUTH", "MAIL", ... "QUIT").
    std::vector<std::string> Verbs() const;
    // Credentials as presented: "user:password" per AUTH attempt.
    std::vector<std::string> Logins() const;
    int Connections() const;

  private:
    class Connection;
    struct TlsContext;
    void Serve();
    void Converse(Connection& connection);

    Options options_;
    std::unique_ptr<TlsContext> tls_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Delivery> deliveries_;
    std::vector<std::string> verbs_;
    std::vector<std::string> logins_;
    int connections_ = 0;
    std::thread thread_;
};

// A loopback port on which nothing listens.
int UnusedPort();

}  // namespace quillon::mailtest
