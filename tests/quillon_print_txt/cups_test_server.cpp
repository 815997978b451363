#include "cups_test_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/common/shell_command.h"

extern char** environ;

namespace quillon::testing {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The programs of Debian's cups-daemon and cups-client packages.
std::string Program(const std::string& name) {
    for (const char* dir : {"/usr/sbin/", "/usr/bin/", "/sbin/"}) {
        const std::string path = dir + name;
        if (::access(path.c_str(), X_OK) == 0) return path;
    }
    return {};
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

// A loopback port nobody listens on at the moment.
int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// The backend of the test queues: copies the job's document to the path of its device URI.
// Without arguments a backend lists the devices it finds; this one finds none.
constexpr const char* kCaptureBackend = R"(#!/bin/sh
[ $# -eq 0 ] && exit 0
umask 022
out="${DEVICE_URI#capture:}"
if [ -n "$6" ]; then cat "$6" >"$out.part"; else cat >"$out.part"; fi || exit 1
mv "$out.part" "$out"
)";

}  // namespace

CupsTestServer::CupsTestServer(const fs::path& folder) : folder_(folder) {
    const std::string cupsd = Program("cupsd");
    if (cupsd.empty()) {
        why_not_ = "cupsd is not installed (Debian package cups-daemon)";
        return;
    }
    if (Program("lpadmin").empty()) {
        why_not_ = "lpadmin is not installed (Debian package cups-client)";
        return;
    }
    port_ = FreePort();
    if (port_ == 0 || !WriteConfiguration()) {
        why_not_ = "cannot prepare the scheduler's folder " + folder_.string();
        return;
    }
    // The copy runs outside the AppArmor profile that confines /usr/sbin/cupsd to the
    // system's own folders (where AppArmor is on); the test's folders are not among them.
    const fs::path copy = folder_ / "bin" / "cupsd";
    std::error_code ec;
    fs::copy_file(cupsd, copy, ec);
    if (ec) {
        why_not_ = "cannot copy cupsd: " + ec.message();
        return;
    }
    const std::string conf = (folder_ / "cupsd.conf").string();
    const std::string files = (folder_ / "cups-files.conf").string();
    const std::string out = (folder_ / "cupsd.out").string();
    std::vector<std::string> args{copy.string(), "-f", "-c", conf, "-s", files};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        why_not_ = "cannot start cupsd: " + std::string(std::strerror(error));
        return;
    }
    pid_ = pid;
    if (!WaitUntilListening()) {
        Kill();
        return;
    }
    // A scheduler confined by an AppArmor profile all the same could not run the test's
    // backend.
    const std::string confinement = ReadAll("/proc/" + std::to_string(pid_) + "/attr/current");
    if (confinement.find("(enforce)") != std::string::npos) {
        why_not_ = "cupsd runs confined (" + confinement + ")";
        Kill();
    }
}

CupsTestServer::~CupsTestServer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < deadline) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Kill();
}

void CupsTestServer::Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

bool CupsTestServer::WriteConfiguration() {
    std::error_code ec;
    for (const char* sub : {"spool", "cache", "state", "log", "tmp", "bin/backend", "bin/filter"})
        fs::create_directories(folder_ / sub, ec);
    if (ec) return false;
    // Filters and backends start through the daemon's helper programs.
    fs::create_directory_symlink("/usr/lib/cups/daemon", folder_ / "bin/daemon", ec);
    if (ec) return false;
    const fs::path backend = folder_ / "bin/backend/capture";
    if (!WriteText(backend, kCaptureBackend)) return false;
    ::chmod(backend.c_str(), 0755);

    const std::string port = std::to_string(port_);
    const std::string cupsd_conf =
        "Listen 127.0.0.1:" + port +
        "\nLogLevel debug\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
        "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
        "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
        "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
    // Run as root, cupsd runs its backends as the unprivileged user lp; as anybody else,
    // as that user.
    const std::string root = folder_.string();
    const std::string files_conf = "ServerRoot " + root + "\nServerBin " + root + "/bin" +
                                   "\nRequestRoot " + root + "/spool\nCacheDir " + root +
                                   "/cache\nStateDir " + root + "/state\nTempDir " + root +
                                   "/tmp\nAccessLog " + root + "/log/access_log\nErrorLog " + root +
                                   "/log/error_log\nPageLog " + root + "/log/page_log\nPrintcap " +
                                   root + "/printcap\nFileDevice Yes\nSystemGroup root\n";
    return WriteText(folder_ / "cupsd.conf", cupsd_conf) &&
           WriteText(folder_ / "cups-files.conf", files_conf);
}

bool CupsTestServer::WaitUntilListening() {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            why_not_ = "cupsd stopped at once; its output and log:\n" +
                       ReadAll(folder_ / "cupsd.out") + LogTail();
            return false;
        }
        if (Accepts(port_)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    why_not_ =
        "cupsd did not listen on port " + std::to_string(port_) + " within 10 s:\n" + LogTail();
    return false;
}

std::string CupsTestServer::Admin(const std::string& command, const std::string& arguments) const {
    const std::string program = Program(command);
    if (program.empty()) return command + " is not installed";
    const ShellOutput result =
        RunShell(ShellQuote(program) + " -h " + Address() + " " + arguments + " 2>&1");
    if (result.status == 0) return {};
    return command + " " + arguments + " failed (" + std::to_string(result.status) +
           "): " + result.out + "\n" + LogTail();
}

std::string CupsTestServer::AddQueue(const std::string& queue, const fs::path& output) const {
    // The backend may run as another user: the folder of the output is open to it.
    std::error_code ec;
    fs::create_directories(output.parent_path(), ec);
    fs::permissions(output.parent_path(), fs::perms::all, ec);
    return Admin("lpadmin",
                 "-p " + ShellQuote(queue) + " -E -v " + ShellQuote("capture:" + output.string()));
}

std::string CupsTestServer::LogTail(int lines) const {
    std::istringstream log(ReadAll(folder_ / "log/error_log"));
    std::deque<std::string> tail;
    for (std::string line; std::getline(log, line);) {
        // The debug lines of the environment and arguments of jobs only crowd the tail.
        if (line.find("envp[") != std::string::npos || line.find("argv[") != std::string::npos)
            continue;
        tail.push_back(line);
        if (static_cast<int>(tail.size()) > lines) tail.pop_front();
    }
    std::string text;
    for (const std::string& line : tail) text += line + '\n';
    return text;
}

std::string CupsTestServer::AccessLog() const {
    return ReadAll(folder_ / "log/access_log");
}

bool WaitForFile(const fs::path& path, double seconds) {
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    std::error_code ec;
    while (!fs::exists(path, ec)) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace quillon::testing
