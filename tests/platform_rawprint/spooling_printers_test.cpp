// Which port goes to a print queue and which to a device, and what a job sends, through a
// fake spooler; the CUPS spooler where no scheduler answers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/rawprint/cups_spooler.h"
#include "platform/rawprint/spooling_printers.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

// A spooler with a fixed set of queues that records its jobs.
class FakeSpooler : public Spooler {
  public:
    struct Job {
        std::string queue;
        std::string title;
        std::string data;
        bool finished = false;
        bool cancelled = false;
    };

    bool HasQueue(const std::string& queue, Status& status) override {
        asked.push_back(queue);
        if (queues.contains(queue)) return true;
        status = {1030, "The printer or class does not exist."};
        return false;
    }
    std::string DefaultQueue() override { return "Main"; }
    std::unique_ptr<RawPrintJob> StartRawJob(const std::string& queue, const std::string& title,
                                             Status& status) override {
        if (refuse_jobs) {
            status = {1031, "Not authorized."};
            return nullptr;
        }
        jobs.push_back(Job{queue, title, {}});
        return std::make_unique<FakeJob>(jobs.back());
    }

    std::set<std::string> queues;
    std::vector<std::string> asked;
    std::deque<Job> jobs;
    bool refuse_jobs = false;

  private:
    class FakeJob : public RawPrintJob {
      public:
        explicit FakeJob(Job& job) : job_(job) {}
        ~FakeJob() override {
            if (!job_.finished) job_.cancelled = true;
        }
        std::size_t Write(std::string_view bytes) override {
            job_.data.append(bytes);
            return bytes.size();
        }
        bool Finish() override { return job_.finished = true; }

      private:
        Job& job_;
    };
};

TEST(SpoolingPrintersTest, AQueueNameGetsOneRawJobUnderItsWholeName) {
    FakeSpooler spooler;
    spooler.queues = {"Warehouse_Dot_Matrix_3", "LPT1"};
    SpoolingPrinters printers(spooler);
    std::string error;
    {
        std::unique_ptr<RawPrintJob> job =
            printers.Open("Warehouse_Dot_Matrix_3:", "Quillon Document", error);
        ASSERT_NE(job, nullptr);
        job->Write("line\r\n");
        job->Write("\f");
        EXPECT_TRUE(job->Finish());
    }
    { printers.Open("LPT1", "Quillon Document", error)->Write("dropped"); }
    ASSERT_EQ(spooler.jobs.size(), 2u);
    EXPECT_EQ(spooler.jobs[0].queue, "Warehouse_Dot_Matrix_3");
    EXPECT_EQ(spooler.jobs[0].title, "Quillon Document");
    EXPECT_EQ(spooler.jobs[0].data, "line\r\n\f");
    EXPECT_TRUE(spooler.jobs[0].finished);
    // A job that is never finished is cancelled.
    EXPECT_TRUE(spooler.jobs[1].cancelled);
    EXPECT_EQ(printers.DefaultQueue(), "Main");

    spooler.refuse_jobs = true;
    EXPECT_EQ(printers.Open("LPT1", "t", error), nullptr);
    EXPECT_EQ(error, "1031: Not authorized.");
}

TEST(SpoolingPrintersTest, OtherPortsAreDevicesExceptPrinterPortNames) {
    FakeSpooler spooler;
    SpoolingPrinters printers(spooler);
    std::string error;
    EXPECT_EQ(printers.Open("LPT1:", "t", error), nullptr);
    EXPECT_EQ(error, "1030: The printer or class does not exist.");

    std::string pattern = (fs::temp_directory_path() / "quillon_spool_XXXXXX").string();
    const fs::path dir = mkdtemp(pattern.data());
    const fs::path file = dir / "PRN";
    {
        std::unique_ptr<RawPrintJob> job = printers.Open(file.string(), "t", error);
        ASSERT_NE(job, nullptr);
        job->Write("to the file");
        EXPECT_TRUE(job->Finish());
    }
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "to the file");
    EXPECT_TRUE(spooler.jobs.empty());
    EXPECT_EQ(spooler.asked, std::vector<std::string>{"LPT1"});  // paths are never queues
    fs::remove_all(dir);
}

TEST(CupsSpoolerTest, WithoutASchedulerEveryCallFailsAtOnce) {
    // The scheduler's socket does not exist (read before the first CUPS call).
    ::setenv("CUPS_SERVER", "/nonexistent/quillon/cups.sock", 1);
    CupsSpooler cups(500, 2);
    Spooler::Status status;
    EXPECT_FALSE(cups.HasQueue("Laser", status));
    EXPECT_NE(status.code, 0);
    EXPECT_NE(status.text.find("no print server"), std::string::npos) << status.text;
    EXPECT_EQ(cups.DefaultQueue(), "");
    status = {};
    EXPECT_EQ(cups.StartRawJob("Laser", "Quillon Document", status), nullptr);
    EXPECT_NE(status.code, 0);

    SpoolingPrinters printers(cups);
    std::string error;
    EXPECT_EQ(printers.Open("LPT1:", "Quillon Document", error), nullptr);
    EXPECT_NE(error.find("no print server"), std::string::npos) << error;
}

}  // namespace
}  // namespace quillon
