// The storage's failures and the send button's Logon, Send, Logoff cycle: result codes
// and their messages, and no session left open whatever fails.

#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/rpt_storage.h"

namespace quillon {
namespace {

TEST(MapiErrors, MessagesNameTheCode) {
    for (const auto& [code, name] : {std::pair<int, const char*>{1, "User Abort"},
                                     {3, "Login Failure"},
                                     {14, "Unknown Recipient"},
                                     {26, "Feature Not Supported"}}) {
        EXPECT_EQ(MapiErrorName(code), name);
        EXPECT_EQ(EMapiError(code).what(),
                  "MAPI: " + std::string(name) + ". ErrorCode = " + std::to_string(code));
    }
    for (int code = 1; code <= 26; ++code) EXPECT_EQ(MapiErrorName(code).empty(), code == 7);
    for (int code : {-1, 0, 7, 27, 1000}) EXPECT_EQ(MapiErrorName(code), "") << code;
    EXPECT_STREQ(EMapiError(99, "detail").what(), "MAPI: . ErrorCode = 99");
    EXPECT_EQ(EMapiError(3, "server x").Detail(), "server x");

    // Code 1 is the silent abort, others are errors, 0 and below are success.
    EXPECT_THROW(RaiseMapiResult(1), EMapiUserAbort);
    try {
        RaiseMapiResult(14, "who");
        FAIL();
    } catch (const EMapiError& e) {
        EXPECT_EQ(e.ErrorCode(), 14);
        EXPECT_EQ(e.Detail(), "who");
    }
    EXPECT_NO_THROW(RaiseMapiResult(0));
    EXPECT_NO_THROW(RaiseMapiResult(-5));
    EXPECT_STREQ(EMapiUserAbort().what(), "User Abort");
}

// Records the calls; fails where it is told to.
class ScriptedStorage : public TrptStorage {
  public:
    void SetAttachments(const TStrings& v) override { attachments = v; }
    TStrings& GetAttachments() override { return attachments; }
    void SetToRecipients(const TStrings& v) override { to = v; }
    TStrings& GetToRecipients() override { return to; }
    void SetCcRecipients(const TStrings& v) override { cc = v; }
    TStrings& GetCcRecipients() override { return cc; }
    void SetMailMessage(const TStrings& v) override { text = v; }
    TStrings& GetMailMessage() override { return text; }
    void Logon() override {
        calls += "Logon ";
        if (fail_logon) throw EMapiError(3);
        open = true;
    }
    void Logoff() override {
        calls += "Logoff ";
        const bool was_open = open;
        open = false;
        if (fail_logoff && was_open) throw EMapiError(2);
    }
    void Send() override {
        calls += "Send ";
        if (fail_send == 1) throw EMapiUserAbort();
        if (fail_send > 1) throw EMapiError(fail_send);
    }

    TStrings attachments{"old.htm", "older.htm"}, to, cc, text;
    std::string calls;
    bool open = false;
    bool fail_logon = false;
    bool fail_logoff = false;
    int fail_send = 0;
};

TEST(SendReportFile, RunsTheCycleAndNeverLeavesASessionOpen) {
    ScriptedStorage ok;
    EXPECT_TRUE(ok.Review()) << "Review defaults to true";
    SendReportFile(ok, "report.htm");
    EXPECT_EQ(ok.calls, "Logon Send Logoff ");
    EXPECT_EQ(ok.Attachments(), (TStrings{"report.htm"}));

    for (int code : {1, 14, 23}) {
        ScriptedStorage failing;
        failing.fail_send = code;
        failing.fail_logoff = true;  // the Send failure is still the one reported
        try {
            SendReportFile(failing, "report.htm");
            FAIL();
        } catch (const EMapiUserAbort&) {
            EXPECT_EQ(code, 1);
        } catch (const EMapiError& e) {
            EXPECT_EQ(e.ErrorCode(), code);
        }
        EXPECT_EQ(failing.calls, "Logon Send Logoff ");
        EXPECT_FALSE(failing.open);
    }

    ScriptedStorage no_login;
    no_login.fail_logon = true;
    EXPECT_THROW(SendReportFile(no_login, "r.htm"), EMapiError);
    EXPECT_EQ(no_login.calls, "Logon Logoff ");
}

}  // namespace
}  // namespace quillon
