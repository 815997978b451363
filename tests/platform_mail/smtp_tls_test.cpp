// The SMTP storage over TLS against the loopback server with certificates made for the test:
// STARTTLS and smtps delivery, certificates that must be refused, INSECURE=1, and a
// server that cannot give the TLS a profile requires.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/rpt_storage.h"
#include "mail/smtp_storage.h"
#include "mail_test_fixture.h"
#include "mail_test_support.h"

namespace quillon::mailtest {
namespace {

class SmtpTlsTest : public MailTest {
  protected:
    void SetUp() override {
        MailTest::SetUp();
        ca_file_ = Write("ca.pem", Certificates().ca);
    }

    std::unique_ptr<TrptSmtpStorage> Storage(const std::string& mail_lines) {
        auto storage = std::make_unique<TrptSmtpStorage>("mail", host_);
        storage->SetSettingsPath(Write("QUILDOC" + std::to_string(++settings_files_) + ".INI",
                                       "[MAIL]\r\n" + mail_lines));
        storage->SetReview(false);
        storage->SetToRecipients({"boss@example.com"});
        storage->SetSubject("Report");
        storage->SetMessageText({"Hello"});
        return storage;
    }
    // An account on `server` with the test CA trusted, and these lines more.
    std::string Account(const SmtpTestServer& server, const std::string& more = {}) const {
        return "URL=" + server.Url() +
               "\r\nFROM=reports@example.com\r\nTIMEOUT=3\r\nCAFILE=" + ca_file_.string() + "\r\n" +
               more;
    }
    // The failure of f: its code and reason; code 0 when it succeeded.
    static std::pair<int, std::string> Failure(const std::function<void()>& f) {
        try {
            f();
        } catch (const EMapiError& e) {
            return {e.ErrorCode(), e.Detail()};
        }
        return {0, {}};
    }

    RecordingHost host_;
    int settings_files_ = 0;
    fs::path ca_file_;
};

TEST_F(SmtpTlsTest, StartTlsAndSmtpsDeliverOverAVerifiedConnection) {
    SmtpTestServer starttls(
        SmtpTestServer::Options().StartTls().Login("reporter", "s3cret", "PLAIN"));
    auto storage = Storage(Account(starttls, "USER=reporter\r\nSTARTTLS=1\r\n"));
    storage->SetPassword("s3cret");
    storage->SetAttachments({Write("report.htm", "<p>sales</p>").string()});
    storage->Logon();
    storage->Send();
    storage->Logoff();
    ASSERT_EQ(starttls.Deliveries().size(), 1u);
    EXPECT_TRUE(starttls.Deliveries()[0].encrypted);
    EXPECT_EQ(ParseMime(starttls.Deliveries()[0].data).parts.at(1).body, "<p>sales</p>");
    // The login, too, went over the encrypted connection: after STARTTLS, never before.
    const std::vector<std::string> verbs = starttls.Verbs();
    const auto tls_at = std::find(verbs.begin(), verbs.end(), "STARTTLS");
    ASSERT_NE(tls_at, verbs.end());
    EXPECT_EQ(std::find(verbs.begin(), tls_at, "AUTH"), tls_at);
    EXPECT_EQ(starttls.Logins(), (std::vector<std::string>{"reporter:s3cret"}));

    // smtps://: TLS from the first byte; a Send without Logon opens its own session.
    SmtpTestServer smtps(SmtpTestServer::Options().ImplicitTls());
    ASSERT_EQ(smtps.Url().rfind("smtps://", 0), 0u);
    auto direct = Storage(Account(smtps));
    direct->Send();
    ASSERT_EQ(smtps.Deliveries().size(), 1u);
    EXPECT_TRUE(smtps.Deliveries()[0].encrypted);
    EXPECT_EQ(smtps.Deliveries()[0].recipients, (std::vector<std::string>{"boss@example.com"}));
}

TEST_F(SmtpTlsTest, AnUntrustedCertificateIsRefusedAsANetworkFailure) {
    const TestCertificates& certs = Certificates();
    struct Case {
        const char* what;
        SmtpTestServer::Options options;
        bool trust_test_ca;
    };
    const std::vector<Case> cases{
        {"issued for another name", SmtpTestServer::Options().ImplicitTls(certs.other_name), true},
        {"issued by an unknown CA", SmtpTestServer::Options().StartTls(certs.untrusted), true},
        {"issued by the test CA, which the system does not trust",
         SmtpTestServer::Options().ImplicitTls(certs.server), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SmtpTestServer server(c.options);
        const std::string starttls =
            c.options.tls == SmtpTestServer::Options::Tls::StartTls ? "STARTTLS=1\r\n" : "";
        const std::string lines =
            c.trust_test_ca
                ? Account(server, starttls)
                : "URL=" + server.Url() + "\r\nFROM=r@example.com\r\nTIMEOUT=3\r\n" + starttls;
        auto storage = Storage(lines);
        const auto started = std::chrono::steady_clock::now();
        const auto [code, reason] = Failure([&] { storage->Logon(); });
        EXPECT_EQ(code, 23);
        EXPECT_NE(reason.find("certificate"), std::string::npos) << reason;
        EXPECT_NE(reason.find(server.Url()), std::string::npos) << reason;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3))
            << "a refused certificate is known at once, not after the timeout";
        EXPECT_FALSE(storage->LoggedOn());
        EXPECT_EQ(Failure([&] { storage->Send(); }).first, 23);
        EXPECT_TRUE(server.Deliveries().empty());
        const std::vector<std::string> verbs = server.Verbs();
        EXPECT_EQ(std::count(verbs.begin(), verbs.end(), "MAIL"), 0);
    }
}

TEST_F(SmtpTlsTest, InsecureAcceptsAnyCertificateAndSaysSo) {
    SmtpTestServer server(SmtpTestServer::Options().ImplicitTls(Certificates().other_name));
    auto storage =
        Storage("URL=" + server.Url() + "\r\nFROM=r@example.com\r\nTIMEOUT=3\r\nINSECURE=1\r\n");
    ::testing::internal::CaptureStderr();
    storage->Logon();
    storage->Send();
    storage->Logoff();
    const std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(server.Deliveries().size(), 1u);
    EXPECT_TRUE(server.Deliveries()[0].encrypted);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("not checked (INSECURE=1)"), std::string::npos) << err;
    EXPECT_NE(err.find(server.Url()), std::string::npos) << err;

    // Without TLS there is no certificate to skip, and nothing to warn about.
    SmtpTestServer plain;
    auto unencrypted =
        Storage("URL=" + plain.Url() + "\r\nFROM=r@example.com\r\nTIMEOUT=3\r\nINSECURE=1\r\n");
    ::testing::internal::CaptureStderr();
    unencrypted->Send();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(plain.Deliveries().size(), 1u);
}

TEST_F(SmtpTlsTest, TlsThatCannotBeHadSendsNothing) {
    // STARTTLS=1 with a server that does not offer it: nothing goes out unencrypted.
    SmtpTestServer plain(SmtpTestServer::Options().Login("reporter", "pw"));
    auto storage = Storage(Account(plain, "USER=reporter\r\nPASSWORD=pw\r\nSTARTTLS=1\r\n"));
    const auto [code, reason] = Failure([&] { storage->Logon(); });
    EXPECT_EQ(code, 23);
    EXPECT_NE(reason.find("does not offer STARTTLS"), std::string::npos) << reason;
    EXPECT_TRUE(plain.Logins().empty()) << "the password went out in the clear";
    EXPECT_EQ(Failure([&] { storage->Send(); }).first, 23);
    EXPECT_TRUE(plain.Deliveries().empty());

    // smtps:// to a server that accepts the connection and never starts the handshake is
    // given up on after TIMEOUT.
    SmtpTestServer silent(SmtpTestServer::Options().Silent());
    auto waiting = Storage("URL=smtps://127.0.0.1:" + std::to_string(silent.Port()) +
                           "\r\nFROM=r@example.com\r\nTIMEOUT=1\r\n");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Failure([&] { waiting->Logon(); }).first, 23);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

}  // namespace
}  // namespace quillon::mailtest
