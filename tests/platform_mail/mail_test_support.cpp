#include "mail_test_support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <optional>
#include <stdexcept>

namespace quillon::mailtest {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string PercentDecode(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string Unfold(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') {
            ++i;
            continue;
        }
        out += value[i];
    }
    return out;
}

std::string Between(std::string_view s, char open, char close) {
    const std::size_t a = s.find(open);
    const std::size_t b = s.find(close, a);
    if (a == std::string_view::npos || b == std::string_view::npos) return {};
    return std::string(s.substr(a + 1, b - a - 1));
}

}  // namespace

std::string Base64Decode(std::string_view text) {
    static const std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned value = 0;
    int bits = 0;
    for (char c : text) {
        const std::size_t v = kAlphabet.find(c);
        if (v == std::string_view::npos) continue;  // line breaks, padding
        value = value << 6 | static_cast<unsigned>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((value >> bits) & 0xFF);
        }
    }
    return out;
}

std::string QuotedPrintableDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
        } else if (text.substr(i + 1, 2) == "\r\n") {
            i += 2;  // soft break
        } else if (i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            throw std::runtime_error("bad quoted-printable at " + std::to_string(i));
        }
    }
    return out;
}

std::string DecodeHeader(std::string_view value) {
    const std::string text = Unfold(value);
    std::string out;
    std::size_t i = 0;
    bool after_word = false;
    while (i < text.size()) {
        if (text.compare(i, 2, "=?") == 0) {
            const std::size_t q1 = text.find('?', i + 2);
            const std::size_t q2 = q1 == std::string::npos ? q1 : text.find('?', q1 + 1);
            const std::size_t end = q2 == std::string::npos ? q2 : text.find("?=", q2 + 1);
            if (end != std::string::npos) {
                const char kind = static_cast<char>(std::toupper(text[q1 + 1]));
                const std::string payload = text.substr(q2 + 1, end - q2 - 1);
                out += kind == 'B' ? Base64Decode(payload) : QuotedPrintableDecode(payload);
                i = end + 2;
                after_word = true;
                continue;
            }
        }
        // White space between two encoded words is not part of the text.
        if (after_word && (text[i] == ' ' || text[i] == '\t')) {
            const std::size_t next = text.find_first_not_of(" \t", i);
            if (next != std::string::npos && text.compare(next, 2, "=?") == 0) {
                i = next;
                continue;
            }
        }
        after_word = false;
        out += text[i++];
    }
    return out;
}

std::string MimePart::Header(const std::string& name) const {
    auto it = headers.find(Lower(name));
    return it == headers.end() ? std::string() : it->second;
}

std::string MimePart::Param(const std::string& header, const std::string& name) const {
    const std::string value = Header(header);
    std::map<int, std::string> sections;  // numbered extended sections
    std::string plain;
    std::size_t pos = value.find(';');
    while (pos != std::string::npos) {
        std::size_t start = value.find_first_not_of(" \t;", pos);
        if (start == std::string::npos) break;
        const std::size_t eq = value.find('=', start);
        if (eq == std::string::npos) break;
        const std::string key = Lower(value.substr(start, eq - start));
        std::string raw;
        std::size_t next;
        if (value[eq + 1] == '"') {
            std::size_t i = eq + 2;
            for (; i < value.size() && value[i] != '"'; ++i) {
                if (value[i] == '\\') ++i;
                raw += value[i];
            }
            next = value.find(';', i);
        } else {
            next = value.find(';', eq);
            raw =
                value.substr(eq + 1, next == std::string::npos ? std::string::npos : next - eq - 1);
            while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t')) raw.pop_back();
        }
        if (key == name) {
            plain = raw;
        } else if (key == name + "*") {
            sections[0] = PercentDecode(raw.substr(raw.find('\'', raw.find('\'') + 1) + 1));
        } else if (key.rfind(name + "*", 0) == 0) {
            std::string rest = key.substr(name.size() + 1);
            const bool encoded = !rest.empty() && rest.back() == '*';
            if (encoded) rest.pop_back();
            const int n = std::stoi(rest);
            if (encoded && n == 0) raw = raw.substr(raw.find('\'', raw.find('\'') + 1) + 1);
            sections[n] = encoded ? PercentDecode(raw) : raw;
        }
        pos = next;
    }
    if (sections.empty()) return plain;
    std::string joined;
    for (const auto& [n, s] : sections) joined += s;
    return joined;
}

MimePart ParseMime(std::string_view message) {
    MimePart part;
    std::size_t split = message.find("\r\n\r\n");
    std::string_view head =
        message.substr(0, split == std::string_view::npos ? message.size() : split + 2);
    const std::string_view body =
        split == std::string_view::npos ? std::string_view() : message.substr(split + 4);
    if (message.substr(0, 2) == "\r\n") {
        head = {};
    }
    std::string name;
    std::size_t i = 0;
    while (i < head.size()) {
        std::size_t eol = head.find("\r\n", i);
        if (eol == std::string_view::npos) eol = head.size();
        const std::string_view line = head.substr(i, eol - i);
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            part.headers[name] += std::string(line);  // folded continuation
        } else if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
            name = Lower(std::string(line.substr(0, colon)));
            std::string value(line.substr(colon + 1));
            value.erase(0, value.find_first_not_of(' '));
            part.headers[name] = value;
        }
        i = eol + 2;
    }
    const std::string type = Lower(part.Header("content-type"));
    if (type.rfind("multipart/", 0) == 0) {
        const std::string delimiter = "\r\n--" + part.Param("content-type", "boundary");
        const std::string text = "\r\n" + std::string(body);
        std::size_t at = text.find(delimiter);
        while (at != std::string::npos) {
            const std::size_t start = text.find("\r\n", at + delimiter.size());
            if (text.compare(at + delimiter.size(), 2, "--") == 0 || start == std::string::npos)
                break;
            const std::size_t next = text.find(delimiter, start);
            if (next == std::string::npos) throw std::runtime_error("multipart without its end");
            part.parts.push_back(
                ParseMime(std::string_view(text).substr(start + 2, next - start - 2)));
            at = next;
        }
        return part;
    }
    const std::string encoding = Lower(part.Header("content-transfer-encoding"));
    if (encoding == "base64") {
        part.body = Base64Decode(body);
    } else if (encoding == "quoted-printable") {
        part.body = QuotedPrintableDecode(body);
    } else {
        part.body = std::string(body);
    }
    return part;
}

namespace {

struct SslFree {
    void operator()(SSL* ssl) const { SSL_free(ssl); }
};

}  // namespace

// The server's TLS set-up: its certificate and key.
struct SmtpTestServer::TlsContext {
    struct CtxFree {
        void operator()(SSL_CTX* ctx) const { SSL_CTX_free(ctx); }
    };
    std::unique_ptr<SSL_CTX, CtxFree> ctx;

    explicit TlsContext(const PemIdentity& identity) : ctx(SSL_CTX_new(TLS_server_method())) {
        auto bio = [](const std::string& pem) {
            return std::unique_ptr<BIO, decltype(&BIO_free)>(
                BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), &BIO_free);
        };
        const auto cert_bio = bio(identity.certificate);
        const auto key_bio = bio(identity.key);
        X509* cert = PEM_read_bio_X509(cert_bio.get(), nullptr, nullptr, nullptr);
        EVP_PKEY* key = PEM_read_bio_PrivateKey(key_bio.get(), nullptr, nullptr, nullptr);
        const bool ok = ctx != nullptr && cert != nullptr && key != nullptr &&
                        SSL_CTX_use_certificate(ctx.get(), cert) == 1 &&
                        SSL_CTX_use_PrivateKey(ctx.get(), key) == 1;
        X509_free(cert);
        EVP_PKEY_free(key);
        if (!ok) throw std::runtime_error("test server: unusable certificate or key");
    }
};

// One client's connection, plain or (after StartTls) encrypted: lines read with a timeout
// so a broken peer never hangs a test.
class SmtpTestServer::Connection {
  public:
    Connection(int fd, const std::atomic<bool>& stop) : fd_(fd), stop_(stop) {
        // A peer that stops in the middle of a TLS record or handshake is given up on too.
        timeval limit{5, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    }

    // The TLS handshake as server; false when the client gave up (refused the certificate).
    bool StartTls(SSL_CTX* ctx) {
        ssl_.reset(SSL_new(ctx));
        if (ssl_ == nullptr || SSL_set_fd(ssl_.get(), fd_) != 1 || SSL_accept(ssl_.get()) != 1) {
            ssl_.reset();
            return false;
        }
        buffer_.clear();  // nothing sent in the clear before the handshake counts
        return true;
    }
    bool Encrypted() const { return ssl_ != nullptr; }

    std::optional<std::string> Next() {
        for (;;) {
            const std::size_t eol = buffer_.find("\r\n");
            if (eol != std::string::npos) {
                std::string line = buffer_.substr(0, eol);
                buffer_.erase(0, eol + 2);
                return line;
            }
            // Gives up after 5 s of silence, or at once when the server stops.
            int ready = ssl_ != nullptr && SSL_pending(ssl_.get()) > 0 ? 1 : 0;
            for (int waited = 0; ready == 0 && waited < 5000 && !stop_; waited += 50) {
                pollfd p{fd_, POLLIN, 0};
                ready = ::poll(&p, 1, 50);
            }
            if (ready <= 0) return std::nullopt;
            std::array<char, 65536> chunk;
            const long n = ssl_ != nullptr
                               ? SSL_read(ssl_.get(), chunk.data(), static_cast<int>(chunk.size()))
                               : ::recv(fd_, chunk.data(), chunk.size(), 0);
            if (n <= 0) return std::nullopt;
            buffer_.append(chunk.data(), static_cast<std::size_t>(n));
        }
    }

    void Say(std::string_view line) {
        const std::string text = std::string(line) + "\r\n";
        if (ssl_ != nullptr) {
            SSL_write(ssl_.get(), text.data(), static_cast<int>(text.size()));
            return;
        }
        std::size_t sent = 0;
        while (sent < text.size()) {
            const ssize_t n = ::send(fd_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<std::size_t>(n);
        }
    }

  private:
    int fd_;
    const std::atomic<bool>& stop_;
    std::unique_ptr<SSL, SslFree> ssl_;
    std::string buffer_;
};

SmtpTestServer::SmtpTestServer(Options options) : options_(std::move(options)) {
    if (options_.tls != Options::Tls::None) {
        // A client that hangs up during a TLS write must not end the test program.
        ::signal(SIGPIPE, SIG_IGN);
        tls_ = std::make_unique<TlsContext>(options_.identity);
    }
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot listen on loopback");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

SmtpTestServer::~SmtpTestServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

std::string SmtpTestServer::Url() const {
    return (options_.tls == Options::Tls::Implicit ? "smtps://127.0.0.1:" : "smtp://127.0.0.1:") +
           std::to_string(port_);
}

std::vector<SmtpTestServer::Delivery> SmtpTestServer::Deliveries() const {
    std::lock_guard lock(mutex_);
    return deliveries_;
}
std::vector<std::string> SmtpTestServer::Verbs() const {
    std::lock_guard lock(mutex_);
    return verbs_;
}
std::vector<std::string> SmtpTestServer::Logins() const {
    std::lock_guard lock(mutex_);
    return logins_;
}
int SmtpTestServer::Connections() const {
    std::lock_guard lock(mutex_);
    return connections_;
}

void SmtpTestServer::Serve() {
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0) continue;
        {
            std::lock_guard lock(mutex_);
            ++connections_;
        }
        if (options_.silent) {
            while (!stop_) ::poll(nullptr, 0, 20);
        } else {
            Connection connection(fd, stop_);
            if (options_.tls != Options::Tls::Implicit || connection.StartTls(tls_->ctx.get())) {
                Converse(connection);
            }
        }
        ::close(fd);
    }
}

void SmtpTestServer::Converse(Connection& connection) {
    const bool needs_login = !options_.user.empty();
    bool logged_in = false;
    Delivery current;
    auto record = [&](const std::string& verb) {
        std::lock_guard lock(mutex_);
        verbs_.push_back(verb);
    };
    auto check_login = [&](const std::string& user, const std::string& password) {
        {
            std::lock_guard lock(mutex_);
            logins_.push_back(user + ":" + password);
        }
        logged_in = user == options_.user && password == options_.password;
        connection.Say(logged_in ? "235 2.7.0 Authentication successful"
                                 : "535 5.7.8 Authentication credentials invalid");
    };
    auto answer = [&](const std::string& prompt) -> std::string {
        connection.Say(prompt);
        return connection.Next().value_or("*");
    };
    connection.Say("220 localhost test SMTP server");
    while (!stop_) {
        const std::optional<std::string> line = connection.Next();
        if (!line) return;
        const std::string verb = [&] {
            std::string v = line->substr(0, line->find(' '));
            for (char& c : v) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return v;
        }();
        record(verb);
        if (verb == "EHLO") {
            connection.Say("250-localhost");
            if (options_.tls == Options::Tls::StartTls && !connection.Encrypted())
                connection.Say("250-STARTTLS");
            if (needs_login && !options_.hide_auth)
                connection.Say("250-AUTH " + options_.mechanisms);
            connection.Say("250 8BITMIME");
        } else if (verb == "HELO" || verb == "NOOP" || verb == "RSET") {
            if (verb == "RSET") current = {};
            connection.Say("250 OK");
        } else if (verb == "STARTTLS" && options_.tls == Options::Tls::StartTls &&
                   !connection.Encrypted()) {
            connection.Say("220 2.0.0 Ready to start TLS");
            if (!connection.StartTls(tls_->ctx.get())) return;
            logged_in = false;
            current = {};
        } else if (verb == "AUTH" && needs_login) {
            std::string mech = line->size() > 5 ? line->substr(5) : "";
            std::string initial;
            if (const std::size_t sp = mech.find(' '); sp != std::string::npos) {
                initial = mech.substr(sp + 1);
                mech.resize(sp);
            }
            if (mech == "PLAIN") {
                const std::string creds = Base64Decode(initial.empty() ? answer("334 ") : initial);
                const std::size_t a = creds.find('\0');
                const std::size_t b = creds.find('\0', a + 1);
                if (a == std::string::npos || b == std::string::npos) {
                    connection.Say("501 malformed");
                } else {
                    check_login(creds.substr(a + 1, b - a - 1), creds.substr(b + 1));
                }
            } else if (mech == "LOGIN") {
                const std::string user =
                    Base64Decode(initial.empty() ? answer("334 VXNlcm5hbWU6") : initial);
                check_login(user, Base64Decode(answer("334 UGFzc3dvcmQ6")));
            } else {
                connection.Say("504 unrecognized authentication type");
            }
        } else if (verb == "MAIL") {
            if (needs_login && !logged_in) {
                connection.Say("530 5.7.0 Authentication required");
                continue;
            }
            current = {};
            current.from = Between(*line, '<', '>');
            connection.Say("250 OK");
        } else if (verb == "RCPT") {
            const std::string to = Between(*line, '<', '>');
            if (options_.refused.count(to) != 0) {
                connection.Say("550 5.1.1 <" + to + ">: Recipient address rejected");
            } else {
                current.recipients.push_back(to);
                connection.Say("250 OK");
            }
        } else if (verb == "DATA") {
            if (options_.drop_at_data) return;
            if (current.recipients.empty()) {
                connection.Say("554 no valid recipients");
                continue;
            }
            connection.Say("354 End data with <CR><LF>.<CR><LF>");
            for (;;) {
                const std::optional<std::string> data = connection.Next();
                if (!data) return;
                if (*data == ".") break;
                current.data += (data->rfind("..", 0) == 0 ? data->substr(1) : *data) + "\r\n";
            }
            current.encrypted = connection.Encrypted();
            {
                std::lock_guard lock(mutex_);
                deliveries_.push_back(std::move(current));
            }
            current = {};
            connection.Say("250 OK queued");
        } else if (verb == "QUIT") {
            connection.Say("221 Bye");
            return;
        } else {
            connection.Say("502 command not implemented");
        }
    }
}

int UnusedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

}  // namespace quillon::mailtest
