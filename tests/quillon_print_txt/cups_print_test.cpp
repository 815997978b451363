// quillon print-txt against a real CUPS scheduler (started privately by the test): the bytes
// that reach the printer through a raw queue, and a refusing queue and a vanishing server
// reported as failures. Skipped where cupsd is not installed or cannot run.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "cups_test_server.h"
#include "tests/common/shell_command.h"

namespace {

namespace fs = std::filesystem;
using quillon::testing::CupsTestServer;
using quillon::testing::ShellQuote;
using quillon::testing::WaitForFile;

struct Result {
    int status = -1;
    std::string err;
};

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class CupsPrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quillon_cups_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        std::ofstream(dir_ / "QUILDOC.INI", std::ios::binary)
            << "[Dot]\n<WIDTH>=16\n<B>=&#27E\n</B>=&#27F\n";
        std::ofstream(dir_ / "report.txt", std::ios::binary)
            << "<CENTER>Sales</CENTER>\r\n<b>Total</b> 5<BR>done\r\n\f\r\n\xC5\xA0 page 2\r\n";
        server_ = std::make_unique<CupsTestServer>(dir_ / "cups");
        if (!server_->Started()) GTEST_SKIP() << "no CUPS scheduler: " << server_->WhyNot();
    }
    void TearDown() override {
        server_.reset();  // stops cupsd before its folder goes
        fs::remove_all(dir_);
    }

    // Runs "quillon print-txt ARGS" in the test's folder, printing to the test's server.
    Result Run(const std::string& args) const {
        const fs::path err = dir_ / ("stderr" + std::to_string(++runs_) + ".txt");
        const std::string command = "cd " + ShellQuote(dir_.string()) +
                                    " && CUPS_SERVER=" + server_->Address() +
                                    " QUILDOC_INI=QUILDOC.INI '" QUILLON_BINARY "' print-txt " +
                                    args + " 2>" + ShellQuote(err.string());
        Result result;
        result.status = quillon::testing::RunShell(command).status;
        result.err = ReadFile(err);
        return result;
    }

    fs::path dir_;
    std::unique_ptr<CupsTestServer> server_;
    mutable int runs_ = 0;
};

TEST_F(CupsPrintTest, ARawJobReachesThePrinterByteForByte) {
    const fs::path out = dir_ / "device" / "out.prn";
    ASSERT_EQ(server_->AddQueue("Dot", out), "");

    const Result r = Run("report.txt --section Dot --port Dot --national");
    ASSERT_EQ(r.status, 0) << r.err << server_->LogTail();
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(WaitForFile(out, 10)) << "the job never reached the device\n" << server_->LogTail();
    // The printer codes of the section, the page break and the national letter arrive
    // unchanged: the queue passes raw jobs through untouched.
    EXPECT_EQ(ReadFile(out),
              "     Sales\r\n\x1b"
              "ETotal\x1b"
              "F 5\r\ndone\r\n\f\xF6 page 2\r\n");
}

TEST_F(CupsPrintTest, AQueueThatRefusesJobsIsAPortFailure) {
    const fs::path out = dir_ / "device" / "out.prn";
    ASSERT_EQ(server_->AddQueue("Dot", out), "");
    ASSERT_EQ(server_->Admin("cupsreject", "-r 'out of paper' Dot"), "");

    const Result r = Run("report.txt --section Dot --port Dot");
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_NE(r.err.find("Printer Open Error Dot ("), std::string::npos) << r.err;
    EXPECT_FALSE(WaitForFile(out, 0.5));
}

TEST_F(CupsPrintTest, AServerThatGoesAwayDuringTheJobIsAPortFailure) {
    const fs::path out = dir_ / "device" / "out.prn";
    ASSERT_EQ(server_->AddQueue("Dot", out), "");
    // A document of many megabytes, so that the scheduler is still receiving it when it dies.
    {
        std::ofstream big(dir_ / "big.txt", std::ios::binary);
        const std::string line(98, 'x');
        for (int i = 0; i < 200000; ++i) big << line << "\r\n";
    }

    auto run = std::async(std::launch::async,
                          [this] { return Run("big.txt --section Dot --port Dot --width 100"); });
    // The job exists once the scheduler has answered Create-Job; the document follows.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (server_->AccessLog().find("Create-Job") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline &&
           run.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_NE(server_->AccessLog().find("Create-Job"), std::string::npos)
        << "the job was never created\n"
        << server_->LogTail();
    server_->Kill();

    const Result r = run.get();
    EXPECT_EQ(r.status, 4) << "a job the server never received was reported as printed\n" << r.err;
    EXPECT_NE(r.err.find("Dot"), std::string::npos) << r.err;
    // Whether it is lost before or during the document, the reason is never a success.
    EXPECT_EQ(r.err.find("successful"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));
}

}  // namespace
