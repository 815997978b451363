// The SMTP storage against a real SMTP conversation on loopback: what the server receives
// (envelope, headers, body, attachments byte for byte), logins, refusals, lost and
// unreachable servers, and sessions that never leak.

#include <gtest/gtest.h>

#include <memory>

#include "engine/rpt_storage.h"
#include "mail/smtp_storage.h"
#include "mail_test_fixture.h"
#include "mail_test_support.h"

namespace quillon::mailtest {
namespace {

class SmtpStorageTest : public MailTest {
  protected:
    std::unique_ptr<TrptSmtpStorage> Storage(const std::string& mail_lines) {
        auto storage = std::make_unique<TrptSmtpStorage>("mail", host_);
        // Each storage has a settings file of its own.
        storage->SetSettingsPath(Write("QUILDOC" + std::to_string(++settings_files_) + ".INI",
                                       "[MAIL]\r\n" + mail_lines));
        storage->SetReview(false);
        storage->SetToRecipients({"boss@example.com"});
        storage->SetSubject("Report");
        storage->SetMessageText({"Hello"});
        return storage;
    }
    static std::string Account(const SmtpTestServer& server, int timeout_seconds = 3) {
        return "URL=" + server.Url() +
               "\r\nUSER=reporter\r\nFROM=Reports <reports@example.com>\r\nTIMEOUT=" +
               std::to_string(timeout_seconds) + "\r\n";
    }
    static int CodeOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const EMapiError& e) {
            return e.ErrorCode();
        } catch (const EMapiUserAbort& e) {
            return e.ErrorCode();
        }
        return 0;
    }
    static int Count(const std::vector<std::string>& verbs, const std::string& verb) {
        return static_cast<int>(std::count(verbs.begin(), verbs.end(), verb));
    }

    RecordingHost host_;
    int settings_files_ = 0;
};

TEST_F(SmtpStorageTest, AReportArrivesWithItsRecipientsTextAndAttachmentsIntact) {
    SmtpTestServer server(SmtpTestServer::Options().Login("reporter", "s3cret"));
    // Room for the 5 MB attachment on a loaded machine under the sanitizers, where the
    // test server took longer than the usual 3 seconds to answer its end.
    auto storage = Storage(Account(server, 60));
    storage->SetPassword("s3cret");

    std::string binary;
    for (int i = 0; i < 256 * 3; ++i) binary += static_cast<char>(i % 256);
    std::string big(5 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 7919) >> 3);
    const std::string html = "<html><body>\r\n.\r\n..dots at line start\r\n</body></html>\r\n";
    const std::string subject = std::string(280, 's') + " \u0160iauliai \u20ac";  // 300+ chars
    storage->SetAttachments({Write("report.htm", html).string(),
                             Write("ataskaita \u0161\u010d.bin", binary).string(),
                             Write("big.dat", big).string()});
    storage->SetToRecipients({"Boss Person <boss@example.com>", "\u017divil\u0117 <z@example.lt>"});
    storage->SetCcRecipients({"archive@example.com"});
    storage->SetSubject(subject);
    storage->SetMessageText({"Line one", "Kaina: 5 \u20ac"});

    storage->Logon();
    storage->Send();
    storage->Logoff();

    const auto deliveries = server.Deliveries();
    ASSERT_EQ(deliveries.size(), 1u);
    const auto& d = deliveries[0];
    EXPECT_EQ(d.from, "reports@example.com");
    EXPECT_EQ(d.recipients, (std::vector<std::string>{"boss@example.com", "z@example.lt",
                                                      "archive@example.com"}));
    const MimePart mail = ParseMime(d.data);
    EXPECT_EQ(DecodeHeader(mail.Header("From")), "Reports <reports@example.com>");
    EXPECT_EQ(DecodeHeader(mail.Header("To")),
              "Boss Person <boss@example.com>, \u017divil\u0117 <z@example.lt>");
    EXPECT_EQ(mail.Header("Cc"), "archive@example.com");
    EXPECT_EQ(DecodeHeader(mail.Header("Subject")), subject);
    EXPECT_FALSE(mail.Header("Date").empty());
    EXPECT_FALSE(mail.Header("Message-ID").empty());
    ASSERT_EQ(mail.parts.size(), 4u);
    EXPECT_EQ(mail.parts[0].Header("Content-Type"), "text/plain; charset=UTF-8");
    EXPECT_EQ(mail.parts[0].body, "Line one\r\nKaina: 5 \u20ac\r\n   \r\n");
    EXPECT_EQ(mail.parts[1].body, html);
    EXPECT_EQ(mail.parts[1].Param("Content-Disposition", "filename"), "report.htm");
    EXPECT_EQ(mail.parts[1].Header("Content-Type"), "text/html; charset=UTF-8");
    EXPECT_EQ(mail.parts[2].body, binary);
    EXPECT_EQ(mail.parts[2].Param("Content-Disposition", "filename"), "ataskaita \u0161\u010d.bin");
    EXPECT_TRUE(mail.parts[3].body == big) << "the 5 MB attachment differs";
    // Every line the server received stays within SMTP's limit.
    std::size_t longest = 0, start = 0;
    for (std::size_t eol; (eol = d.data.find("\r\n", start)) != std::string::npos; start = eol + 2)
        longest = std::max(longest, eol - start);
    EXPECT_LE(longest, 78u);

    EXPECT_EQ(server.Logins(), (std::vector<std::string>{"reporter:s3cret"}));
    EXPECT_EQ(server.Connections(), 1) << "Send uses the connection Logon opened";
    EXPECT_EQ(server.Verbs().back(), "QUIT");
    EXPECT_EQ(host_.cursor_begins, 1);
    EXPECT_EQ(host_.cursor_depth, 0);
}

TEST_F(SmtpStorageTest, LogsInWithEitherMechanismAndThePasswordFromTheProfile) {
    SmtpTestServer login_only(SmtpTestServer::Options().Login("reporter", "pw", "LOGIN"));
    auto storage = Storage(Account(login_only) + "PASSWORD=pw\r\n");
    storage->Logon();
    storage->Send();
    storage->Logoff();
    EXPECT_EQ(login_only.Logins(), (std::vector<std::string>{"reporter:pw"}));
    EXPECT_EQ(login_only.Deliveries().size(), 1u);

    // The storage's own Password wins over the profile's.
    SmtpTestServer plain(SmtpTestServer::Options().Login("reporter", "mine", "PLAIN"));
    storage = Storage(Account(plain) + "PASSWORD=pw\r\n");
    storage->SetPassword("mine");
    storage->Logon();
    storage->Logoff();
    EXPECT_EQ(plain.Logins(), (std::vector<std::string>{"reporter:mine"}));

    // No USER: no login at all, and FROM is required then.
    SmtpTestServer open;
    storage = Storage("URL=" + open.Url() + "\r\nFROM=r@example.com\r\n");
    storage->Logon();
    storage->Send();
    EXPECT_TRUE(open.Logins().empty());
    EXPECT_EQ(open.Deliveries().size(), 1u);
}

TEST_F(SmtpStorageTest, LogonFailsWithALoginOrANetworkFailure) {
    SmtpTestServer server(SmtpTestServer::Options().Login("reporter", "right"));
    const std::string account = Account(server);
    auto wrong = Storage(account);
    wrong->SetPassword("wrong");
    try {
        wrong->Logon();
        FAIL() << "a refused login was accepted";
    } catch (const EMapiError& e) {
        EXPECT_EQ(e.ErrorCode(), 3);
        EXPECT_STREQ(e.what(), "MAPI: Login Failure. ErrorCode = 3");
        EXPECT_NE(e.Detail().find(server.Url()), std::string::npos) << e.Detail();
    }
    EXPECT_FALSE(wrong->LoggedOn());
    EXPECT_EQ(Count(server.Verbs(), "MAIL"), 0);

    // Profiles that name no usable account are login failures.
    for (const std::string& profile : std::vector<std::string>{
             "FROM=r@example.com\r\n",  // no URL
             "URL=http://" + server.Url().substr(7) + "\r\nFROM=r@example.com\r\n",
             "URL=smtp://\r\nFROM=r@example.com\r\n",
             "URL=" + server.Url() + "\r\nUSER=reporter\r\n",  // no sender address
             "URL=" + server.Url() +
                 "\r\nFROM=r@example.com\r\nCAFILE=" + (dir_ / "no-ca.pem").string() + "\r\n"}) {
        auto storage = Storage(profile);
        EXPECT_EQ(CodeOf([&] { storage->Logon(); }), 3) << profile;
        EXPECT_FALSE(storage->LoggedOn());
    }
    // A profile that is not there, by name.
    auto other = Storage(account);
    other->SetProfileName("OFFICE");
    EXPECT_EQ(CodeOf([&] { other->Logon(); }), 3);

    // A server that cannot be reached, or that accepts the connection and never answers
    // (given up on in time), is a network failure.
    const std::string unreachable = "smtp://127.0.0.1:" + std::to_string(UnusedPort());
    auto nobody = Storage("URL=" + unreachable + "\r\nFROM=r@example.com\r\n");
    EXPECT_EQ(CodeOf([&] { nobody->Logon(); }), 23);
    SmtpTestServer silent(SmtpTestServer::Options().Silent());
    auto waiting = Storage("URL=" + silent.Url() + "\r\nFROM=r@example.com\r\nTIMEOUT=1\r\n");
    EXPECT_EQ(CodeOf([&] { waiting->Logon(); }), 23);
    EXPECT_FALSE(waiting->LoggedOn());

    // A server that wants a login it does not offer refuses the message as a login failure.
    SmtpTestServer::Options hidden;
    hidden.Login("reporter", "pw").hide_auth = true;
    SmtpTestServer hiding(hidden);
    auto unoffered = Storage(Account(hiding));
    unoffered->Logon();
    EXPECT_EQ(CodeOf([&] { unoffered->Send(); }), 3);
    EXPECT_TRUE(hiding.Deliveries().empty());
}

TEST_F(SmtpStorageTest, ProfileNameChoosesTheSection) {
    SmtpTestServer server;
    auto storage = std::make_unique<TrptSmtpStorage>("mail", host_);
    storage->SetSettingsPath(
        Write("QUILDOC.INI", "[MAIL]\r\nURL=smtp://127.0.0.1:1\r\n[office]\r\nurl=" + server.Url() +
                                 "\r\nfrom=o@example.com\r\n"));
    storage->SetProfileName("OFFICE");
    storage->SetToRecipients({"x@example.com"});
    storage->Logon();
    storage->Send();
    ASSERT_EQ(server.Deliveries().size(), 1u);
    EXPECT_EQ(server.Deliveries()[0].from, "o@example.com");
}

TEST_F(SmtpStorageTest, ARefusedRecipientSendsNothingAndLeavesTheSessionUsable) {
    SmtpTestServer server(SmtpTestServer::Options().Refuse("gone@example.com"));
    auto storage = Storage("URL=" + server.Url() + "\r\nFROM=r@example.com\r\n");
    storage->SetToRecipients({"boss@example.com"});
    storage->SetCcRecipients({"gone@example.com"});
    storage->Logon();
    try {
        storage->Send();
        FAIL() << "a refused recipient was not reported";
    } catch (const EMapiError& e) {
        EXPECT_EQ(e.ErrorCode(), 14);
        EXPECT_STREQ(e.what(), "MAPI: Unknown Recipient. ErrorCode = 14");
        EXPECT_NE(e.Detail().find("gone@example.com"), std::string::npos) << e.Detail();
    }
    EXPECT_TRUE(server.Deliveries().empty());
    EXPECT_EQ(Count(server.Verbs(), "DATA"), 0);

    storage->SetCcRecipients({});
    storage->Send();
    EXPECT_EQ(server.Deliveries().size(), 1u);
}

TEST_F(SmtpStorageTest, ALostServerIsANetworkFailure) {
    {
        SmtpTestServer dropping(SmtpTestServer::Options().DropAtData());
        auto storage = Storage("URL=" + dropping.Url() + "\r\nFROM=r@example.com\r\nTIMEOUT=3\r\n");
        storage->Logon();
        EXPECT_EQ(CodeOf([&] { storage->Send(); }), 23);
        EXPECT_TRUE(dropping.Deliveries().empty());
    }
    // The server goes away between Logon and Send.
    auto server = std::make_unique<SmtpTestServer>();
    auto storage = Storage("URL=" + server->Url() + "\r\nFROM=r@example.com\r\nTIMEOUT=3\r\n");
    storage->Logon();
    server.reset();
    EXPECT_EQ(CodeOf([&] { storage->Send(); }), 23);
}

TEST_F(SmtpStorageTest, BadRecipientsAndAttachmentsFailBeforeAnythingIsSent) {
    SmtpTestServer server;
    auto storage = Storage("URL=" + server.Url() + "\r\nFROM=r@example.com\r\n");
    const std::string report = Write("report.htm", "<p>1</p>").string();
    struct Case {
        std::vector<std::string> to, cc, attachments;
        int code;
    };
    for (const Case& c :
         {Case{{"boss@example.com"}, {}, {(dir_ / "missing.htm").string()}, 11},
          Case{{"boss@example.com"}, {}, {report, ""}, 11},
          Case{{"boss@example.com"}, {}, {dir_.string()}, 12},
          Case{{"not an address"}, {}, {report}, 25},
          Case{{"boss@example.com"}, {""}, {report}, 25},
          Case{{"boss@example.com", "a@b.c\r\nRCPT TO:<spy@x.y>"}, {}, {report}, 25}}) {
        storage->SetToRecipients(c.to);
        storage->SetCcRecipients(c.cc);
        storage->SetAttachments(c.attachments);
        EXPECT_EQ(CodeOf([&] { storage->Send(); }), c.code);
    }
    EXPECT_EQ(Count(server.Verbs(), "MAIL"), 0);
    EXPECT_EQ(server.Connections(), 0) << "nothing is sent, so nothing connects";
    EXPECT_EQ(host_.cursor_depth, 0);
}

TEST_F(SmtpStorageTest, SessionsNeverLeak) {
    SmtpTestServer server;
    auto storage = Storage("URL=" + server.Url() + "\r\nFROM=r@example.com\r\n");
    storage->Logoff();  // without Logon: nothing happens
    EXPECT_EQ(server.Connections(), 0);

    // Logon on an open session closes it first.
    storage->Logon();
    storage->Logon();
    EXPECT_TRUE(storage->LoggedOn());
    storage->Logoff();
    storage->Logoff();
    EXPECT_FALSE(storage->LoggedOn());
    EXPECT_EQ(server.Connections(), 2);
    EXPECT_EQ(Count(server.Verbs(), "QUIT"), 2);

    // Send without Logon opens a session for itself and closes it.
    storage->Send();
    EXPECT_FALSE(storage->LoggedOn());
    EXPECT_EQ(server.Deliveries().size(), 1u);
    EXPECT_EQ(Count(server.Verbs(), "QUIT"), 3);

    // The send button's cycle logs off even when Send fails.
    SmtpTestServer refusing(SmtpTestServer::Options().Refuse("boss@example.com"));
    auto refused = Storage("URL=" + refusing.Url() + "\r\nFROM=r@example.com\r\n");
    const std::string report = Write("report.htm", "<p>1</p>").string();
    EXPECT_THROW(SendReportFile(*refused, report), EMapiError);
    EXPECT_FALSE(refused->LoggedOn());
    EXPECT_EQ(Count(refusing.Verbs(), "QUIT"), 1);
    EXPECT_EQ(refused->Attachments(), (std::vector<std::string>{report}));

    // A storage destroyed while logged on closes its session.
    storage->Logon();
    storage.reset();
    EXPECT_EQ(Count(server.Verbs(), "QUIT"), 4);
}

}  // namespace
}  // namespace quillon::mailtest
