#pragma once
// A private CUPS scheduler for the print tests: Debian's cupsd on a free loopback port,
// with its configuration, spool, logs and programs in a folder of its own, so that tests
// print through a real print server without touching the machine's.
//
// Its queues print to files through a small "capture" backend: the device URI
// capture:/path/out.prn makes each finished job's bytes appear at that path (written
// beside it, then renamed, so a file that exists is complete).
//
// The server is stopped (and killed when it does not stop) when the object goes away.

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace quillon::testing {

class CupsTestServer {
  public:
    // Starts cupsd with its files under `folder` (created). Started() tells whether it
    // runs; when it does not, WhyNot() says why (cupsd missing, or the end of its log).
    explicit CupsTestServer(const std::filesystem::path& folder);
    ~CupsTestServer();
    CupsTestServer(const CupsTestServer&) = delete;
    CupsTestServer& operator=(const CupsTestServer&) = delete;

    bool Started() const { return pid_ > 0; }
    const std::string& WhyNot() const { return why_not_; }
    // "127.0.0.1:PORT", for CUPS_SERVER and the -h option of the CUPS commands.
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
    pid_t Pid() const { return pid_; }

    // Runs a CUPS administration command (lpadmin, cupsreject, ...) against this server
    // with the given arguments (already quoted for the shell). Its output, with the exit
    // status, for failure messages; empty when it succeeded.
    std::string Admin(const std::string& command, const std::string& arguments) const;
    // Adds an enabled raw queue whose jobs are captured in `output`.
    std::string AddQueue(const std::string& queue, const std::filesystem::path& output) const;

    // The last lines of the scheduler's error log.
    std::string LogTail(int lines = 15) const;
    // The scheduler's access log: one line per request it answered.
    std::string AccessLog() const;

    // Kills the scheduler at once (SIGKILL) and reaps it.
    void Kill();

  private:
    bool WriteConfiguration();
    bool WaitUntilListening();

    std::filesystem::path folder_;
    int port_ = 0;
    pid_t pid_ = -1;
    std::string why_not_;
};

// True when `path` exists within `seconds`.
bool WaitForFile(const std::filesystem::path& path, double seconds);

}  // namespace quillon::testing
