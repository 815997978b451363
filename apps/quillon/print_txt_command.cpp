// quillon print-txt REPORT [options]: prints a finished text report on a character printer
// (TQuillon::PrintTXT): to a CUPS queue as a raw job, or straight to a device or file.
//
// Exit codes: 0 the whole report was printed; 1 a bad option value; 2 the report is
// missing or cannot be read; 4 the port cannot be opened or written.

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apps/quillon/command_registry.h"
#include "apps/quillon/language_option.h"
#include "engine/messages.h"
#include "engine/quillon.h"
#include "platform/core/host_services.h"
#include "platform/core/raw_printer.h"
#include "platform/core/text_encoding.h"
#ifdef QUILLON_HAS_RAWPRINT
#include "platform/rawprint/cups_spooler.h"
#include "platform/rawprint/spooling_printers.h"
#endif

namespace quillon::app {

namespace {

constexpr int kExitArguments = 1;
constexpr int kExitReport = 2;
constexpr int kExitPort = 4;

struct PrintTxtOptions {
    std::string report;
    std::string section;
    std::string port;
    int from = 1;
    int to = INT_MAX;
    int width = 0;
    std::string settings;
    bool national = false;
    std::string lang = "english";
};

int Fail(int code, const std::string& message) {
    std::cerr << "quillon print-txt: " << message << '\n';
    return code;
}

// Standard output as a port: the bytes go to file descriptor 1, which stays open.
class StdoutJob : public RawPrintJob {
  public:
    std::size_t Write(std::string_view bytes) override {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        return done;
    }
    bool Finish() override { return true; }
};

// The ports of the command: "-" is standard output, everything else goes to the print
// system's raw printers.
class CommandPorts : public RawPrinters {
  public:
    explicit CommandPorts(RawPrinters& printers) : printers_(printers) {}
    std::unique_ptr<RawPrintJob> Open(std::string_view port, std::string_view title,
                                      std::string& error) override {
        if (port == "-") return std::make_unique<StdoutJob>();
        return printers_.Open(port, title, error);
    }
    std::string DefaultQueue() override { return printers_.DefaultQueue(); }

  private:
    RawPrinters& printers_;
};

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

int Run(const PrintTxtOptions& o) {
    if (text::Trim(o.report).empty()) return Fail(kExitReport, "no report file given");
    if (!o.settings.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(o.settings, ec)) {
            return Fail(kExitArguments, "settings file not found: " + o.settings);
        }
        ::setenv("QUILDOC_INI", o.settings.c_str(), 1);
    }
    const std::optional<TRepLanguage> language = ParseLanguage(o.lang);
    if (!language) return Fail(kExitArguments, "unknown language: " + o.lang);
    if (o.width < 0) return Fail(kExitArguments, "--width must be 0 (from the settings) or more");

    // Messages of the print go to standard error; the question whether to abort after a
    // failed write is answered Yes.
    std::vector<std::string> messages;
    HeadlessHost host([&messages](const HeadlessHost::Message& m) {
        messages.push_back(m.text);
        std::cerr << "quillon print-txt: " << m.text << '\n';
        return HeadlessHost::DefaultAnswer(m.buttons);
    });

#ifdef QUILLON_HAS_RAWPRINT
    CupsSpooler cups;
    SpoolingPrinters system_printers(cups);
#else
    DevicePrinters system_printers;
#endif
    CommandPorts ports(system_printers);

    TQuillon report(host);
    report.SetLanguage(*language);
    report.SetPrinterCharConvert(o.national);
    report.SetRawPrinters(&ports);
    if (report.PrintTXT(o.section, o.port, o.report, o.from, o.to, o.width)) return 0;

    for (const std::string& m : messages) {
        if (StartsWith(m, Msg(FILE_OPENMsg, *language)) ||
            StartsWith(m, Msg(FILE_READMsg, *language))) {
            return kExitReport;
        }
    }
    return kExitPort;
}

CommandRegistrar registrar([](CLI::App& app) {
    auto options = std::make_shared<PrintTxtOptions>();
    auto* cmd = app.add_subcommand(
        "print-txt",
        "Print a text report on a character printer: a CUPS queue (raw job), a device or a "
        "file.\nExit codes: 0 printed; 1 bad option value; 2 report missing or unreadable; 4 "
        "port cannot be opened or written.");
    cmd->add_option("report", options->report, "The report file to print")->required();
    cmd->add_option("--section", options->section,
                    "Printer section of the settings file (default: the current printer's "
                    "name)");
    cmd->add_option("--port", options->port,
                    "CUPS queue, device or file to print to; - for standard output (default: "
                    "the section's <PRINTER>, else the default queue)");
    cmd->add_option("--from", options->from, "First page to print (pages end at form feeds)");
    cmd->add_option("--to", options->to, "Last page to print");
    cmd->add_option("--width", options->width,
                    "Line width in characters (default: the section's <WIDTH>, else 128)");
    cmd->add_option("--settings", options->settings, "Settings file (QUILDOC.INI)");
    cmd->add_flag("--national", options->national,
                  "Print Lithuanian letters in the printer's national character set");
    cmd->add_option("--lang", options->lang,
                    "Message language: english, german, italian, french, spanish, russian, "
                    "lithuanian");
    cmd->callback([options] { SetExitCode(Run(*options)); });
});

}  // namespace

}  // namespace quillon::app
