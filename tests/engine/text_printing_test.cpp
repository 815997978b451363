// TQuillon::PrintTXT: settings, ports, pages, messages and failures, byte for byte through
// a file port or a recording raw printer.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "engine/quillon.h"
#include "engine_test_support.h"
#include "platform/core/raw_printer.h"

namespace quillon {
namespace {

using testing::ReadFile;
using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteFile;

// Raw printers that keep every job; writes can be made to fail.
class RecordingPrinters : public RawPrinters {
  public:
    struct Job {
        std::string port;
        std::string title;
        std::string bytes;
        bool finished = false;
        bool destroyed = false;
    };

    std::unique_ptr<RawPrintJob> Open(std::string_view port, std::string_view title,
                                      std::string& error) override {
        if (refuse) {
            error = "refused";
            return nullptr;
        }
        jobs.push_back(Job{std::string(port), std::string(title), {}});
        return std::make_unique<Recorder>(*this, jobs.back());
    }
    std::string DefaultQueue() override { return default_queue; }

    std::deque<Job> jobs;
    int failing_writes = 0;  // the next writes that accept only one byte
    bool refuse = false;
    bool finish_fails = false;
    std::string default_queue;

  private:
    class Recorder : public RawPrintJob {
      public:
        Recorder(RecordingPrinters& owner, Job& job) : owner_(owner), job_(job) {}
        ~Recorder() override { job_.destroyed = true; }
        std::size_t Write(std::string_view bytes) override {
            if (owner_.failing_writes > 0) {
                --owner_.failing_writes;
                job_.bytes.append(bytes.substr(0, 1));
                return std::min<std::size_t>(1, bytes.size());
            }
            job_.bytes.append(bytes);
            return bytes.size();
        }
        bool Finish() override {
            job_.finished = true;
            return !owner_.finish_fails;
        }

      private:
        RecordingPrinters& owner_;
        Job& job_;
    };
};

class TextPrintingTest : public ::testing::Test {
  protected:
    TextPrintingTest() : env_("QUILDOC_INI", dir_.File("QUILDOC.INI")) {
        host_.SetResponder([this](const HeadlessHost::Message& m) {
            messages_.push_back(m.text);
            if (answers_.empty()) return HeadlessHost::DefaultAnswer(m.buttons);
            const int answer = answers_.front();
            answers_.erase(answers_.begin());
            return answer;
        });
        report_.SetRawPrinters(&printers_);
    }

    void Settings(const std::string& text) { WriteFile(dir_.File("QUILDOC.INI"), text); }
    std::string Report(const std::string& content) {
        WriteFile(dir_.File("report.txt"), content);
        return dir_.File("report.txt");
    }

    TempDir dir_;
    ScopedEnv env_;
    HeadlessHost host_;
    TQuillon report_{host_};
    RecordingPrinters printers_;
    std::vector<std::string> messages_;
    std::vector<int> answers_;
};

TEST_F(TextPrintingTest, PrinterSectionThroughSubstSetsWidthPortAndTagsOfAFilePort) {
    report_.SetRawPrinters(nullptr);  // the built-in printers write files and devices
    const std::string out = dir_.File("printer.out");
    Settings("[SUBST]\nLaser = Epson LQ\n[Epson LQ]\n<WIDTH>=20\n<PRINTER>=" + out +
             "\n<B>=&#27E\n</B>=&#27F\n<CENTER>\n");
    const std::string input = Report(
        "<b>Total</b> 12\r\n"
        "<CENTER>Title\n"  // <CENTER> is a key of the section: no centred passage
        "<center>Title</center>\r\n"
        "ab<HR>\n");
    ASSERT_TRUE(report_.PrintTXT(" laser ", "", input, 1, 9999, 0));
    EXPECT_EQ(ReadFile(out),
              "\x1b"
              "ETotal\x1b"
              "F 12\r\n"
              "Title\r\n"
              "       Title\r\n"
              "ab\r\n____________________\r\n");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(TextPrintingTest, ArgumentsOverrideTheSectionAndUtf8TextCountsCharacters) {
    Settings("[Epson]\n<WIDTH>=20\n<PRINTER>=/nowhere\n");
    const std::string input = Report("<CENTER>Ąžuolas \xC2\xA0 x</CENTER>\n");
    ASSERT_TRUE(report_.PrintTXT("Epson", " Queue: ", input, 1, 1, 21));
    ASSERT_EQ(printers_.jobs.size(), 1u);
    const RecordingPrinters::Job& job = printers_.jobs[0];
    EXPECT_EQ(job.port, "Queue:");
    EXPECT_EQ(job.title, "Quillon Document");
    EXPECT_TRUE(job.finished);
    // 11 characters centred in 21 (the end tag's position counts): 5 blanks. Windows-1252
    // has no Ą or ė, and its no-break space is A0.
    EXPECT_EQ(job.bytes, "     ?\x9Euolas \xA0 x\r\n");
}

TEST_F(TextPrintingTest, CodePageAndNationalLettersOfThePrinter) {
    Settings("[PC]\n<CODEPAGE>=IBM850\n[Odd]\n<CODEPAGE>=klingon\n");
    const std::string input = Report("é Š ą\n");
    ASSERT_TRUE(report_.PrintTXT("PC", "q", input, 1, 1, 0));
    report_.SetPrinterCharConvert(true);
    ASSERT_TRUE(report_.PrintTXT("PC", "q", input, 1, 1, 0));
    ASSERT_EQ(printers_.jobs.size(), 2u);
    EXPECT_EQ(printers_.jobs[0].bytes, "\x82 ? ?\r\n");
    EXPECT_EQ(printers_.jobs[1].bytes, "\x82 \xF6 \xDD\r\n");

    // A code page the section names but nobody knows: nothing is printed.
    EXPECT_FALSE(report_.PrintTXT("Odd", "q", input, 1, 1, 0));
    EXPECT_EQ(printers_.jobs.size(), 2u);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Printer Open Error q (unknown code page klingon in [Odd])");
}

TEST_F(TextPrintingTest, PagesAreCountedByFormFeeds) {
    const std::string input = Report("one\n\f\ntwo a\ntwo b\f\nthree\n\f\nfour\n");
    ASSERT_TRUE(report_.PrintTXT("", "q", input, 2, 2, 0));
    ASSERT_TRUE(report_.PrintTXT("", "q", input, 3, 99, 0));
    ASSERT_TRUE(report_.PrintTXT("", "q", input, 5, 9, 0));
    EXPECT_EQ(printers_.jobs[0].bytes, "two a\r\ntwo b\f\r\n");
    // A form feed alone is sent without a line end.
    EXPECT_EQ(printers_.jobs[1].bytes, "three\r\n\ffour\r\n");
    EXPECT_EQ(printers_.jobs[2].bytes, "");
    EXPECT_TRUE(printers_.jobs[2].finished);
}

TEST_F(TextPrintingTest, CurrentPrinterNamesTheSectionAndThePort) {
    // Without a section, a port or a current printer: the last default fails clearly.
    report_.SetRawPrinters(nullptr);
    const std::string input = Report("x\n");
    EXPECT_FALSE(report_.PrintTXT("", "", input, 1, 1, 0));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Printer Open Error LPT1: (no print queue of that name)");

    // The print system's default queue is the current printer: its section and its jobs.
    report_.SetRawPrinters(&printers_);
    printers_.default_queue = "Office";
    Settings("[Office]\n<WIDTH>=300\n");
    ASSERT_TRUE(report_.PrintTXT("", "", Report("<HR>\n"), 1, 1, 0));
    ASSERT_EQ(printers_.jobs.size(), 1u);
    EXPECT_EQ(printers_.jobs[0].port, "Office");
    EXPECT_EQ(printers_.jobs[0].bytes, std::string(300, '_') + "\r\n");  // no wrap at 256

    // A printer of the host comes first.
    testing::RecordingHost host;
    host.printers = {PrinterInfo{"Desk", 210, 297}};
    TQuillon report(host);
    report.SetRawPrinters(&printers_);
    ASSERT_TRUE(report.PrintTXT("", "", input, 1, 1, 0));
    EXPECT_EQ(printers_.jobs.back().port, "Desk");
}

TEST_F(TextPrintingTest, AMissingReportOrOneNamedAsPortIsNeverEmptied) {
    report_.SetRawPrinters(nullptr);
    const std::string out = dir_.File("kept.prn");
    WriteFile(out, "earlier print");
    report_.SetLanguage(laGerman);
    EXPECT_FALSE(report_.PrintTXT("", out, dir_.File("missing.txt"), 1, 1, 0));
    EXPECT_EQ(ReadFile(out), "earlier print");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Fehler beim Öffnen der Datei " + dir_.File("missing.txt"));

    // Printing a report onto itself would empty it.
    messages_.clear();
    const std::string input = Report("report\n");
    EXPECT_FALSE(report_.PrintTXT("", input, input, 1, 1, 0));
    EXPECT_EQ(ReadFile(input), "report\n");
    EXPECT_EQ(messages_, std::vector<std::string>{"Fehler beim Öffnen des Druckers " + input +
                                                  " (the report itself)"});

    // A blank file name prints PrnFile.
    report_.SetPrnFile(Report("from PrnFile\n"));
    ASSERT_TRUE(report_.PrintTXT("", out, " ", 1, 1, 0));
    EXPECT_EQ(ReadFile(out), "from PrnFile\r\n");
}

TEST_F(TextPrintingTest, PortFailuresAreReportedInTheReportsLanguage) {
    report_.SetRawPrinters(nullptr);
    report_.SetLanguage(laRussian);
    const std::string input = Report("x\n");
    EXPECT_FALSE(report_.PrintTXT("", dir_.File("no/such/dir/out"), input, 1, 1, 0));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0],
              "Ошибка принтера " + dir_.File("no/such/dir/out") + " (No such file or directory)");

    // A device that takes no bytes: asked whether to abort, Yes stops the print.
    messages_.clear();
    EXPECT_FALSE(report_.PrintTXT("", "/dev/full", input, 1, 1, 0));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Ошибка принтера. Прервать /dev/full");
}

TEST_F(TextPrintingTest, AFailedWriteIsRetriedOnNoAndCancelledOnYes) {
    const std::string input = Report("first\nsecond\n");
    printers_.failing_writes = 2;
    answers_ = {mrNo, mrNo};
    ASSERT_TRUE(report_.PrintTXT("", "q", input, 1, 9, 0));
    EXPECT_EQ(messages_.size(), 2u);
    // The rest of a line is sent again, never the whole line twice.
    EXPECT_EQ(printers_.jobs[0].bytes, "first\r\nsecond\r\n");
    EXPECT_TRUE(printers_.jobs[0].finished);

    printers_.failing_writes = 1;
    answers_ = {mrYes};
    EXPECT_FALSE(report_.PrintTXT("", "q", input, 1, 9, 0));
    EXPECT_FALSE(printers_.jobs[1].finished);
    EXPECT_TRUE(printers_.jobs[1].destroyed);
}

TEST_F(TextPrintingTest, ReadErrorsCancelTheJobAndNoFailureLooksLikeSuccess) {
    EXPECT_FALSE(report_.PrintTXT("", "q", dir_.Path().string(), 1, 9, 0));
    ASSERT_EQ(printers_.jobs.size(), 1u);
    EXPECT_FALSE(printers_.jobs[0].finished);
    EXPECT_TRUE(printers_.jobs[0].destroyed);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "File Read Error " + dir_.Path().string());

    // A job the printer does not take at its end is no success.
    printers_.finish_fails = true;
    messages_.clear();
    EXPECT_FALSE(report_.PrintTXT("", "Queue", Report("x"), 1, 9, 0));
    EXPECT_EQ(messages_, std::vector<std::string>{"Printer error at the end of the job Queue"});

    printers_.refuse = true;
    messages_.clear();
    EXPECT_FALSE(report_.PrintTXT("", "Queue", Report("x"), 1, 9, 0));
    EXPECT_EQ(messages_, std::vector<std::string>{"Printer Open Error Queue (refused)"});
}

TEST_F(TextPrintingTest, LongLinesAndSecondParseLeftoversPrintWhole) {
    const std::string long_line(5000, 'a');
    const std::string input = Report(long_line +
                                     "\nb\n\xEF\xBB\xBF"
                                     "c<\xC2\xBF\\NAME>\n");
    ASSERT_TRUE(report_.PrintTXT("", "q", input, 1, 9, 0));
    EXPECT_EQ(printers_.jobs[0].bytes, long_line + "\r\nb\r\n?c\r\n");
}

}  // namespace
}  // namespace quillon
