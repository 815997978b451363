// quillon mail end to end: the built command mails files to a loopback SMTP server or
// writes an .eml file, and every failure ends with its result code as exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "mail_test_fixture.h"
#include "mail_test_support.h"
#include "platform/mail/mail_address.h"
#include "tests/common/shell_command.h"

namespace quillon::mailtest {
namespace {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

class MailCommandTest : public MailTest {
  protected:
    // Runs "quillon mail ARGS" in the test's folder with the given environment prefix.
    Result Run(const std::string& args, const std::string& env = {}) {
        const fs::path err = dir_ / "stderr.txt";
        const std::string command = "cd '" + dir_.string() + "' && " + env +
                                    " '" QUILLON_BINARY "' mail " + args + " 2>'" + err.string() +
                                    "'";
        const quillon::testing::ShellOutput shell = quillon::testing::RunShell(command);
        Result result;
        result.status = shell.status;
        result.out = shell.out;
        result.err = Read(err);
        return result;
    }
    std::string Account(const SmtpTestServer& server) {
        return "--settings '" +
               Settings("URL=" + server.Url() +
                        "\r\nUSER=reporter\r\nFROM=reports@example.com\r\nTIMEOUT=3\r\n")
                   .string() +
               "'";
    }
};

TEST_F(MailCommandTest, MailsFilesWithThePasswordFromTheEnvironment) {
    SmtpTestServer server(SmtpTestServer::Options().Login("reporter", "from env"));
    Write("report.htm", "<p>report</p>");
    Write("body.txt", "Good morning,\nthe report.\n");
    const Result r =
        Run("report.htm --to boss@example.com --cc 'Archive <arc@example.com>' "
            "--subject 'Daily \u20ac' --text-file body.txt " +
                Account(server),
            "QUILLON_SMTP_PASSWORD='from env'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(server.Logins(), (std::vector<std::string>{"reporter:from env"}));
    const auto deliveries = server.Deliveries();
    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0].recipients,
              (std::vector<std::string>{"boss@example.com", "arc@example.com"}));
    const MimePart mail = ParseMime(deliveries[0].data);
    EXPECT_EQ(DecodeHeader(mail.Header("Subject")), "Daily \u20ac");
    ASSERT_EQ(mail.parts.size(), 2u);
    EXPECT_EQ(mail.parts[0].body, "Good morning,\r\nthe report.\r\n \r\n");
    EXPECT_EQ(mail.parts[1].body, "<p>report</p>");
}

TEST_F(MailCommandTest, EmlWritesTheMessageAndSendsNothing) {
    Write("report.txt", "plain report\r\n");
    Write("second.txt", "second\r\n");
    // Files may also follow --to and --cc, which take one address each.
    const Result r =
        Run("report.txt --to boss@example.com --cc c@example.com second.txt "
            "--text 'See attached' --eml out.eml --settings /nonexistent/QUILDOC.INI");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "quillon mail: message written to out.eml\n");
    const MimePart mail = ParseMime(Read(dir_ / "out.eml"));
    EXPECT_EQ(mail.Header("To"), "boss@example.com");
    EXPECT_EQ(mail.Header("Cc"), "c@example.com");
    // No profile: the local user at this host sends it.
    EXPECT_EQ(mail.Header("From"), mail::LocalSenderAddress().HeaderForm());
    EXPECT_EQ(mail.parts[1].Header("Content-Type"), "text/plain; charset=UTF-8");
    ASSERT_EQ(mail.parts.size(), 3u);
    EXPECT_EQ(mail.parts[0].body, "See attached\r\n  \r\n");
    EXPECT_EQ(mail.parts[1].body, "plain report\r\n");
    EXPECT_EQ(mail.parts[2].body, "second\r\n");
}

TEST_F(MailCommandTest, EmlTakesTheSenderFromTheCommandLine) {
    Write("report.txt", "r\r\n");
    Result r =
        Run("report.txt --to boss@example.com --from 'Desk <desk@example.com>' "
            "--eml out.eml --settings /nonexistent/QUILDOC.INI");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ParseMime(Read(dir_ / "out.eml")).Header("From"), "Desk <desk@example.com>");
    r = Run("report.txt --to boss@example.com --from nobody --eml out2.eml");
    EXPECT_EQ(r.status, 25);
    EXPECT_EQ(r.err.rfind("quillon mail: the sender \"nobody\" is not a mail address", 0), 0u)
        << r.err;
    // --from is for the .eml file; the SMTP account names its own sender.
    EXPECT_NE(Run("report.txt --to boss@example.com --from desk@example.com").status, 0);
}

TEST_F(MailCommandTest, FailuresExitWithTheirCodeAndSayWhy) {
    SmtpTestServer server(
        SmtpTestServer::Options().Login("reporter", "pw").Refuse("nobody@example.com"));
    Write("report.htm", "<p>1</p>");
    const std::string account = Account(server);
    const std::string unreachable =
        "--settings '" +
        Write("other.ini", "[MAIL]\r\nURL=smtp://127.0.0.1:" + std::to_string(UnusedPort()) +
                               "\r\nFROM=r@example.com\r\n")
            .string() +
        "'";
    struct Case {
        std::string args;
        int status;
        std::string says;
    };
    const std::string pw = "QUILLON_SMTP_PASSWORD=pw";
    for (const Case& c :
         {Case{"report.htm --to boss@example.com " + account, 3, "mail result 3, Login Failure"},
          Case{"report.htm --to boss@example.com " + unreachable, 23,
               "mail result 23, Network Failure"},
          Case{"missing.htm --to boss@example.com " + account, 11, "missing.htm"},
          Case{"report.htm --to nobody@example.com " + account, 14, "nobody@example.com"},
          Case{"report.htm --to 'not an address' " + account, 25, "not an address"},
          Case{"report.htm --to boss@example.com --text-file none.txt " + account, 66,
               "none.txt"}}) {
        const bool with_password = c.status != 3;
        const Result r = Run(c.args, with_password ? pw : "");
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        // The reason comes first, in words; the engine's "MAPI: ..." message is the
        // viewer window's, not the command line's.
        EXPECT_EQ(r.err.find("MAPI:"), std::string::npos) << r.err;
    }
    // Without a settings file the first line says which file and which keys are missing.
    const Result none = Run("report.htm --to boss@example.com --settings missing.ini");
    EXPECT_EQ(none.status, 3);
    const std::string first = none.err.substr(0, none.err.find('\n'));
    EXPECT_NE(first.find("missing.ini"), std::string::npos) << none.err;
    EXPECT_NE(first.find("URL="), std::string::npos) << none.err;
    EXPECT_TRUE(server.Deliveries().empty());
    // A password is never a command-line argument.
    EXPECT_NE(Run("report.htm --to boss@example.com --password pw " + account).status, 0);
}

TEST_F(MailCommandTest, TlsCertificatesAreCheckedUnlessTheProfileSaysInsecure) {
    Write("report.htm", "<p>1</p>");
    SmtpTestServer server(SmtpTestServer::Options().ImplicitTls(Certificates().other_name));
    const std::string account = "URL=" + server.Url() + "\r\nFROM=r@example.com\r\nTIMEOUT=3\r\n";
    Write("ca.pem", Certificates().ca);

    Settings(account + "CAFILE=ca.pem\r\n");
    const Result refused = Run("report.htm --to boss@example.com --settings QUILDOC.INI");
    EXPECT_EQ(refused.status, 23) << refused.err;
    EXPECT_NE(refused.err.find("certificate was refused"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("mail result 23, Network Failure"), std::string::npos)
        << refused.err;
    EXPECT_TRUE(server.Deliveries().empty());

    Settings(account + "INSECURE=1\r\n");
    const Result insecure = Run("report.htm --to boss@example.com --settings QUILDOC.INI");
    EXPECT_EQ(insecure.status, 0) << insecure.err;
    EXPECT_EQ(insecure.err, "quillon: warning: the certificate of mail server " + server.Url() +
                                " is not checked (INSECURE=1); whoever poses as the server can "
                                "read the mail\n");
    EXPECT_EQ(server.Deliveries().size(), 1u);
}

TEST_F(MailCommandTest, HelpNamesTheOptionsAndExitCodes) {
    const Result r = Run("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* word : {"--to", "--cc", "--subject", "--text-file", "--profile", "--eml",
                             "QUILLON_SMTP_PASSWORD", "14 recipient refused"}) {
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
}

}  // namespace
}  // namespace quillon::mailtest
