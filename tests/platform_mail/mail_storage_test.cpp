// What every mail storage does before delivery: the line of blanks for the attachments,
// the review step through the host, the wait cursor; and the .eml storage's file.

#include <gtest/gtest.h>

#include "mail/eml_storage.h"
#include "mail/mail_storage.h"
#include "mail_test_fixture.h"
#include "mail_test_support.h"

namespace quillon::mailtest {
namespace {

// Keeps what it is asked to deliver.
class CapturingStorage : public TrptMailStorage {
  public:
    using TrptMailStorage::TrptMailStorage;
    void Logon() override {}
    void Logoff() override {}
    std::vector<mail::OutgoingMail> delivered;
    int cursor_during_delivery = -1;
    RecordingHost* host = nullptr;

  protected:
    void Deliver(mail::OutgoingMail& Mail) override {
        if (host != nullptr) cursor_during_delivery = host->cursor_depth;
        delivered.push_back(Mail);
    }
};

class MailStorageTest : public MailTest {
  protected:
    CapturingStorage& Storage() {
        storage_.host = &host_;
        return storage_;
    }
    RecordingHost host_;
    CapturingStorage storage_{"mail", host_};
};

TEST_F(MailStorageTest, MessageTextGainsALineOfBlanksPerSendWithAttachments) {
    CapturingStorage& storage = Storage();
    storage.SetReview(false);
    storage.SetToRecipients({"a@example.com"});
    storage.SetMessageText({"See the report."});
    storage.SetAttachments({Write("one.htm", "1").string(), Write("two.htm", "2").string()});

    storage.Send();
    EXPECT_EQ(storage.MessageText(), (TStrings{"See the report.", "  "}));
    EXPECT_EQ(storage.delivered.back().text, "See the report.\r\n  \r\n");
    storage.Send();  // the list keeps the first line of blanks and gains another
    EXPECT_EQ(storage.MessageText(), (TStrings{"See the report.", "  ", "  "}));
    EXPECT_EQ(storage.delivered.back().text, "See the report.\r\n  \r\n  \r\n");

    storage.SetMessageText({});
    storage.SetAttachments({Write("three.htm", "3").string()});
    storage.Send();
    EXPECT_EQ(storage.delivered.back().text, " \r\n");

    storage.SetMessageText({"No files."});
    storage.SetAttachments({});
    storage.Send();
    EXPECT_EQ(storage.MessageText(), (TStrings{"No files."}));
    EXPECT_EQ(storage.delivered.back().text, "No files.\r\n");
    EXPECT_TRUE(storage.delivered.back().attachments.empty());
}

TEST_F(MailStorageTest, ReviewShowsTheMessageAndSendsWhatTheUserLeftInIt) {
    CapturingStorage& storage = Storage();
    const std::string one = Write("one.htm", "first").string();
    const std::string two = Write("two.rtf", "second").string();
    storage.SetToRecipients({"a@example.com"});
    storage.SetCcRecipients({"c@example.com"});
    storage.SetSubject("Sales");
    storage.SetMessageText({"Hi"});
    storage.SetAttachments({one, two});
    host_.review = [&](MailReview& m) {
        m.subject = "Sales, reviewed";
        m.cc.push_back("d@example.com");
        m.text = "Edited\r\n";
        m.attachments.pop_back();
        return true;
    };
    ASSERT_TRUE(storage.Review());  // the default
    storage.Send();
    EXPECT_EQ(host_.reviews, 1);
    EXPECT_EQ(host_.reviewed.to, (TStrings{"a@example.com"}));
    EXPECT_EQ(host_.reviewed.subject, "Sales");
    EXPECT_EQ(host_.reviewed.cc, (TStrings{"c@example.com"}));
    EXPECT_EQ(host_.reviewed.text, "Hi\r\n  \r\n");
    EXPECT_EQ(host_.reviewed.attachments, (TStrings{one, two}));
    const mail::OutgoingMail& sent = storage.delivered.at(0);
    EXPECT_EQ(sent.subject, "Sales, reviewed");
    ASSERT_EQ(sent.cc.size(), 2u);
    EXPECT_EQ(sent.cc[1].address, "d@example.com");
    EXPECT_EQ(sent.text, "Edited\r\n");
    ASSERT_EQ(sent.attachments.size(), 1u);
    EXPECT_EQ(sent.attachments[0].file_name, "one.htm");
    EXPECT_EQ(sent.attachments[0].bytes, "first");
    EXPECT_EQ(storage.Subject(), "Sales") << "the storage's own properties stay as they were";

    // Edits are checked like the original message.
    host_.review = [](MailReview& m) {
        m.to = {"no address"};
        return true;
    };
    EXPECT_THROW(storage.Send(), EMapiError);
    host_.review = [](MailReview& m) {
        m.to.clear();
        m.cc.clear();
        return true;
    };
    try {
        storage.Send();
        FAIL();
    } catch (const EMapiError& e) {
        EXPECT_EQ(e.ErrorCode(), 25);
    }
    EXPECT_EQ(storage.delivered.size(), 1u);
}

TEST_F(MailStorageTest, WhenTheReviewIsShownAndWhatACancelDoes) {
    CapturingStorage& storage = Storage();
    storage.SetAttachments({Write("r.htm", "r").string()});

    // Review off with a To recipient: straight through.
    storage.SetReview(false);
    storage.SetToRecipients({"a@example.com"});
    storage.Send();
    EXPECT_EQ(host_.reviews, 0);
    EXPECT_EQ(storage.delivered.size(), 1u);

    // No To recipient: shown even with Review off; without a window it is cancelled.
    storage.SetToRecipients({});
    storage.SetCcRecipients({"c@example.com"});
    EXPECT_THROW(storage.Send(), EMapiUserAbort);
    EXPECT_EQ(host_.reviews, 1);
    EXPECT_EQ(storage.delivered.size(), 1u);

    // A user who adds the To recipient in the review sends it.
    host_.review = [](MailReview& m) {
        m.to.push_back("late@example.com");
        return true;
    };
    storage.Send();
    EXPECT_EQ(storage.delivered.back().to.at(0).address, "late@example.com");

    // Review on: the headless answer accepts a message with a To recipient unchanged, and
    // a cancel is the silent abort with code 1.
    host_.review = nullptr;
    storage.SetReview(true);
    storage.SetToRecipients({"a@example.com"});
    storage.Send();
    EXPECT_EQ(host_.reviews, 3);
    host_.review = [](MailReview&) { return false; };
    try {
        storage.Send();
        FAIL();
    } catch (const EMapiUserAbort& e) {
        EXPECT_EQ(e.ErrorCode(), 1);
        EXPECT_STREQ(e.what(), "User Abort");
    }
    EXPECT_EQ(storage.delivered.size(), 3u);
    EXPECT_EQ(host_.cursor_depth, 0) << "the wait cursor is restored after every exit";
    EXPECT_EQ(storage.cursor_during_delivery, 1);
}

TEST_F(MailStorageTest, TheDefaultHostDecidesByTheToRecipient) {
    HeadlessHost headless;
    MailReview with_to{{"a@example.com"}, {}, "s", "t", {}};
    const MailReview before = with_to;
    EXPECT_TRUE(headless.ReviewMail(with_to));
    EXPECT_EQ(with_to.to, before.to);
    EXPECT_EQ(with_to.subject, before.subject);
    MailReview cc_only{{}, {"c@example.com"}, "s", "t", {}};
    EXPECT_FALSE(headless.ReviewMail(cc_only));
}

// Text attachments name their characters, read as the viewer reads report files.
TEST_F(MailStorageTest, TextAttachmentsCarryTheirCharset) {
    mail::OutgoingMail m;
    m.to.push_back({"", "a@example.com"});
    m.attachments = {{"r.txt", "Kaina 5 \u20ac\r\n"},
                     {"old.txt", "Caf\xE9\r\n"},
                     {"data.csv", "a;b\r\n"},
                     {"p.pdf", "%PDF"}};
    const MimePart mail = ParseMime(mail::ComposeMail(m, 0, "u"));
    ASSERT_EQ(mail.parts.size(), 5u);
    EXPECT_EQ(mail.parts[1].Header("Content-Type"), "text/plain; charset=UTF-8");
    EXPECT_EQ(mail.parts[2].Header("Content-Type"), "text/plain; charset=windows-1252");
    EXPECT_EQ(mail.parts[3].Header("Content-Type"), "text/csv; charset=UTF-8");
    EXPECT_EQ(mail.parts[4].Header("Content-Type"), "application/pdf");
    EXPECT_EQ(mail.parts[2].body, "Caf\xE9\r\n");
}

TEST_F(MailStorageTest, EmlFileHoldsTheMessageForAMailProgram) {
    TrptEmlStorage storage("eml", host_);
    storage.SetSettingsPath(
        Settings("URL=smtp://mail.example.com\r\nFROM=Reports <r@example.com>\r\n"));
    storage.SetFileName(dir_ / "out.eml");
    storage.SetReview(false);
    storage.SetToRecipients({"a@example.com"});
    storage.SetSubject("Monthly \u20ac");
    storage.SetMessageText({"Attached."});
    const std::string report = "<html>\u00e9</html>";
    storage.SetAttachments({Write("report.htm", report).string()});
    storage.Logon();
    storage.Send();
    storage.Logoff();

    const std::string bytes = Read(dir_ / "out.eml");
    const MimePart mail = ParseMime(bytes);
    EXPECT_EQ(mail.Header("From"), "Reports <r@example.com>");
    EXPECT_EQ(mail.Header("To"), "a@example.com");
    EXPECT_EQ(mail.Header("X-Unsent"), "1");
    EXPECT_EQ(DecodeHeader(mail.Header("Subject")), "Monthly \u20ac");
    ASSERT_EQ(mail.parts.size(), 2u);
    EXPECT_EQ(mail.parts[0].body, "Attached.\r\n \r\n");
    EXPECT_EQ(mail.parts[1].body, report);
    EXPECT_EQ(mail.parts[1].Header("Content-Type"), "text/html; charset=UTF-8");
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << "lines end in CR LF";
    EXPECT_FALSE(fs::exists(dir_ / "out.eml.partial"));

    // Without the profile the sender is the local user at this host; a sender set on the
    // storage comes first, and one that is no address is refused.
    storage.SetProfileName("NONE");
    storage.Send();
    EXPECT_EQ(ParseMime(Read(dir_ / "out.eml")).Header("From"),
              mail::LocalSenderAddress().HeaderForm());
    EXPECT_NE(mail::LocalSenderAddress().address.find('@'), std::string::npos);
    storage.SetFrom("Desk <desk@example.com>");
    storage.Send();
    EXPECT_EQ(ParseMime(Read(dir_ / "out.eml")).Header("From"), "Desk <desk@example.com>");
    storage.SetFrom("not an address");
    try {
        storage.Send();
        FAIL();
    } catch (const EMapiError& e) {
        EXPECT_EQ(e.ErrorCode(), 25);
    }
    storage.SetFrom("");
    fs::remove(dir_ / "out.eml");
    storage.SetAttachments({(dir_ / "missing.htm").string()});
    EXPECT_THROW(storage.Send(), EMapiError);
    EXPECT_FALSE(fs::exists(dir_ / "out.eml"));
    storage.SetAttachments({});
    storage.SetFileName(dir_ / "no such folder" / "out.eml");
    try {
        storage.Send();
        FAIL();
    } catch (const EMapiError& e) {
        EXPECT_EQ(e.ErrorCode(), 2);
        EXPECT_NE(e.Detail().find("no such folder"), std::string::npos);
    }
}

}  // namespace
}  // namespace quillon::mailtest
