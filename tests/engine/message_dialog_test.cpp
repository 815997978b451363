#include <gtest/gtest.h>

#include <filesystem>

#include "engine/message_page.h"
#include "engine/quillon.h"
#include "engine_test_support.h"
#include "platform/core/text_encoding.h"

namespace quillon {
namespace {

using testing::ReadFile;
using testing::RecordingHost;
using testing::TempDir;
using testing::WriteFile;

// Gives the tests the run state that the run's steps share.
class RunningReport : public TQuillon {
  public:
    using TQuillon::Run;
    using TQuillon::TQuillon;
};

TEST(MessageDialog, MessagesGoToTheHostDialog) {
    RecordingHost host;
    host.answer = mrYes;
    TQuillon report(host);
    EXPECT_EQ(report.rptMessageDlg("hello", TMsgDlgType::mtWarning, mbYes | mbNo), mrYes);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "hello");
    EXPECT_EQ(host.messages[0].type, TMsgDlgType::mtWarning);
    EXPECT_EQ(host.messages[0].buttons, mbYes | mbNo);
}

TEST(MessageDialog, LoaderMessagesInGermanAndLithuanian) {
    RecordingHost host;
    TQuillon report(host);
    std::string name = "R";
    report.SetLanguage(laGerman);
    EXPECT_FALSE(report.LoadFormat("/nonexistent/t.htm", name, 1));
    report.SetLanguage(laLithuanian);
    EXPECT_FALSE(report.LoadFormat("/nonexistent/t.htm", name, 1));
    report.SetLanguage(laEnglish);
    EXPECT_FALSE(report.LoadFormat("/nonexistent/t.htm", name, 1));
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[2].text, "Format File Name Error: /nonexistent/t.htm!");
    for (const auto& m : host.messages) {
        EXPECT_EQ(m.type, TMsgDlgType::mtError);
        EXPECT_EQ(m.buttons, mbOK);
        EXPECT_TRUE(text::IsValidUtf8(m.text));
    }
    EXPECT_EQ(host.messages[0].text,
              std::string(Msg(FRM_FILEMsg, laGerman)) + "/nonexistent/t.htm!");
    EXPECT_EQ(host.messages[1].text,
              std::string(Msg(FRM_FILEMsg, laLithuanian)) + "/nonexistent/t.htm!");
    EXPECT_NE(host.messages[0].text, host.messages[2].text);
    EXPECT_NE(host.messages[1].text, host.messages[2].text);
}

TEST(MessageDialog, RunMessagesInGermanAndLithuanian) {
    EXPECT_EQ(Msg(FILE_OPENMsg, laGerman),
              "Fehler beim \xC3\x96"
              "ffnen der Datei ");
    EXPECT_EQ(Msg(FILE_OPENMsg, laLithuanian), "Klaida atidarant Fail\xC4\x85 ");
    EXPECT_EQ(Msg(PRINTER_OUTPMsg, laGerman), "Druckfehler. ABBRUCH ");
    EXPECT_EQ(Msg(PRINTER_OUTPMsg, laLithuanian),
              "Spausdinimo klaida. Nutraukti spausdinim\xC4\x85 ");
    EXPECT_EQ(Msg(VIEWER_Msg, laFrench), Msg(VIEWER_Msg, laEnglish));
}

TEST(MessageDialog, MessagePageEscapesTheText) {
    EXPECT_EQ(BuildMessagePage("a < b & c", TMsgDlgType::mtError),
              "<center><h1><font color=\"red\">Stop</font></h1></center>\r\n"
              "<br><center><table border><tr><td bgcolor=\"SILVER\"><h5>a &lt; b &amp; c"
              "</h5></td></tr></table></center><br>\r\n");
    EXPECT_EQ(MessagePageHeadLine(TMsgDlgType::mtCustom), "<br><br>");
    EXPECT_NE(MessagePageHeadLine(TMsgDlgType::mtWarning).find("yellow"), std::string::npos);
    EXPECT_NE(MessagePageHeadLine(TMsgDlgType::mtInformation).find("blue"), std::string::npos);
    EXPECT_NE(MessagePageHeadLine(TMsgDlgType::mtConfirmation).find("green"), std::string::npos);
}

TEST(MessageDialog, HtmlTemplateWritesTheMessageAsAPage) {
    TempDir dir;
    RecordingHost host;
    TQuillon report(host);
    report.SetOptions(report.Options() + prMsgToHtml);
    report.SetFormatFile(dir.File("missing.htm"));
    report.SetPrnFile(dir.File("PRX"));
    std::string name = "R";
    EXPECT_FALSE(report.LoadFormat(report.FormatFile(), name, 1));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(report.PrnFile(), dir.File("PRX.htm"));
    const std::string page = ReadFile(report.PrnFile());
    EXPECT_EQ(page.find("<center><h1><font color=\"red\">Stop</font></h1></center>\r\n"), 0u);
    EXPECT_NE(page.find("<td bgcolor=\"SILVER\"><h5>Format File Name Error: " +
                        dir.File("missing.htm") + "!</h5>"),
              std::string::npos);

    // Outside a run an existing report file is never replaced: the dialog shows instead.
    WriteFile(report.PrnFile(), "finished report");
    EXPECT_EQ(report.rptMessageDlg("late", TMsgDlgType::mtError, mbOK), mrOk);
    EXPECT_EQ(ReadFile(report.PrnFile()), "finished report");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "late");
}

TEST(MessageDialog, RtfTemplateKeepsTheDialog) {
    TempDir dir;
    RecordingHost host;
    TQuillon report(host);
    report.SetOptions(report.Options() + prMsgToHtml);
    report.SetFormatFile(dir.File("missing.rtf"));
    report.SetPrnFile(dir.File("PRX"));
    std::string name = "R";
    EXPECT_FALSE(report.LoadFormat(report.FormatFile(), name, 1));
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(report.PrnFile(), dir.File("PRX"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("PRX")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("PRX.rtf")));
}

TEST(MessageDialog, UnwritableReportFileFallsBackToTheDialog) {
    RecordingHost host;
    TQuillon report(host);
    report.SetOptions(report.Options() + prMsgToHtml);
    report.SetFormatFile("t.html");
    report.SetPrnFile("/nonexistent/dir/PRX");
    EXPECT_EQ(report.rptMessageDlg("lost?", TMsgDlgType::mtError, mbOK), mrOk);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(report.PrnFile(), "/nonexistent/dir/PRX.html");
}

TEST(MessageDialog, InsideARunThePageReplacesTheStreamContent) {
    RecordingHost host;
    RunningReport report(host);
    report.SetOptions(report.Options() + prMsgToHtml);
    report.SetFormatFile("t.htm");
    TMemoryStream stream(std::string(5000, 'x'));
    report.Run().FRunning = true;
    report.Run().FRunStream = &stream;
    EXPECT_EQ(report.rptMessageDlg("broken", TMsgDlgType::mtError, mbOK), 0);
    EXPECT_EQ(stream.Data(), BuildMessagePage("broken", TMsgDlgType::mtError));
    EXPECT_TRUE(host.messages.empty());
}

TEST(MessageDialog, InsideARunThePageIsAppendedToTheOpenReportFile) {
    TempDir dir;
    RecordingHost host;
    RunningReport report(host);
    report.SetOptions(report.Options() + prMsgToHtml);
    report.SetFormatFile("t.htm");
    report.SetPrnFile(dir.File("out.htm"));
    report.Run().FRunning = true;
    ASSERT_TRUE(report.Output().CreateLevelFile(rlDetail, report.PrnFile()));
    ASSERT_TRUE(report.Output().AppendToLevelFile(rlDetail, "head\r\n"));
    EXPECT_EQ(report.rptMessageDlg("oops", TMsgDlgType::mtInformation, mbOK), 0);
    report.Output().EndRun();
    EXPECT_EQ(ReadFile(report.PrnFile()),
              "head\r\n" + BuildMessagePage("oops", TMsgDlgType::mtInformation));

    // Inside a run and without an open file, the message becomes the report file.
    EXPECT_EQ(report.rptMessageDlg("again", TMsgDlgType::mtError, mbOK), 0);
    EXPECT_EQ(ReadFile(report.PrnFile()), BuildMessagePage("again", TMsgDlgType::mtError));
}

TEST(MessageDialog, AConfirmationAnsweredZeroStops) {
    RecordingHost host;
    TQuillon report(host);
    host.answer = mrNo;
    EXPECT_FALSE(report.rptConfirmStop("Printer error. ABORT "));
    host.answer = mrYes;
    EXPECT_TRUE(report.rptConfirmStop("Printer error. ABORT "));
    host.answer = 0;
    EXPECT_TRUE(report.rptConfirmStop("Printer error. ABORT "));
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(host.messages[0].buttons, mbYes | mbNo);

    // With the message written into the output, nobody answers: that is a stop.
    TempDir dir;
    report.SetOptions(report.Options() + prMsgToHtml);
    report.SetFormatFile("t.htm");
    report.SetPrnFile(dir.File("PRX"));
    EXPECT_TRUE(report.rptConfirmStop("Printer error. ABORT "));
    EXPECT_EQ(host.messages.size(), 3u);
}

}  // namespace
}  // namespace quillon
