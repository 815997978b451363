// TQuillon::PrintTXT: a finished text report printed on a character printer, line by line,
// through the printer's section of QUILDOC.INI (printer_text.h) and a raw printer
// (platform/core/raw_printer.h).

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "engine/printer_text.h"
#include "engine/quillon.h"
#include "platform/core/code_pages.h"
#include "platform/core/raw_printer.h"
#include "platform/core/settings_file.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

constexpr std::string_view kJobTitle = "Quillon Document";
constexpr int kDefaultWidth = 128;
constexpr std::string_view kLastPort = "LPT1:";

// Reads a file line by line; a line ends at LF, a CR before it is dropped, and the last
// line may lack its end. Read errors are told apart from the end of the file.
class LineReader {
  public:
    enum class Result { kLine, kEnd, kError };

    LineReader() = default;
    ~LineReader() {
        if (fd_ >= 0) ::close(fd_);
    }
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool Open(const std::string& path) {
        do {
            fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        } while (fd_ < 0 && errno == EINTR);
        return fd_ >= 0;
    }

    // True when path names the open file itself (writing there would empty the report).
    bool IsFile(const std::string& path) const {
        struct stat open_file {};
        struct stat other {};
        return fd_ >= 0 && ::fstat(fd_, &open_file) == 0 && ::stat(path.c_str(), &other) == 0 &&
               open_file.st_dev == other.st_dev && open_file.st_ino == other.st_ino;
    }

    Result Next(std::string& line) {
        while (true) {
            const std::size_t end = buffer_.find('\n', scan_);
            if (end != std::string::npos) {
                Take(line, end, end + 1);
                return Result::kLine;
            }
            scan_ = buffer_.size();
            if (at_end_) {
                if (start_ == buffer_.size()) return Result::kEnd;
                Take(line, buffer_.size(), buffer_.size());
                return Result::kLine;
            }
            if (!Fill()) return Result::kError;
        }
    }

  private:
    void Take(std::string& line, std::size_t end, std::size_t next) {
        std::size_t stop = end;
        if (stop > start_ && buffer_[stop - 1] == '\r') --stop;
        std::size_t from = start_;
        // A UTF-8 byte order mark opens the file, not its first line.
        if (first_ && buffer_.compare(from, 3, "\xEF\xBB\xBF") == 0 && stop >= from + 3) from += 3;
        first_ = false;
        line.assign(buffer_, from, stop - from);
        start_ = next;
        scan_ = next;
    }

    bool Fill() {
        buffer_.erase(0, start_);
        scan_ -= start_;
        start_ = 0;
        constexpr std::size_t kChunk = 64 * 1024;
        const std::size_t old_size = buffer_.size();
        buffer_.resize(old_size + kChunk);
        ssize_t n = 0;
        do {
            n = ::read(fd_, buffer_.data() + old_size, kChunk);
        } while (n < 0 && errno == EINTR);
        buffer_.resize(old_size + (n > 0 ? static_cast<std::size_t>(n) : 0));
        if (n < 0) return false;
        if (n == 0) at_end_ = true;
        return true;
    }

    int fd_ = -1;
    std::string buffer_;
    std::size_t start_ = 0;  // start of the next line in buffer_
    std::size_t scan_ = 0;   // where the search for its end goes on
    bool at_end_ = false;
    bool first_ = true;
};

// What one print needs from the settings, the arguments and the current printer.
struct TextPrintSetup {
    int width = kDefaultWidth;
    std::string port;
    std::string section;  // the printer section in use; empty for none
    PrinterTagTable tags;
    const text::CodePage* code_page = &text::CodePage::Windows1252();
    std::string code_page_name;  // as written in the section, when it names none
};

// The tag replacements of a printer section: every line is a key; a KEY=VALUE line's
// value replaces the tag, a line without "=" replaces it by nothing.
void ReadTagTable(const SettingsFile& settings, std::string_view section, PrinterTagTable& tags) {
    const std::vector<SettingsFile::Entry>& entries = settings.Entries(section);
    std::size_t entry = 0;
    for (const std::string& line : settings.RawLines(section)) {
        if (line.find('=') != std::string::npos && entry < entries.size()) {
            const SettingsFile::Entry& e = entries[entry++];
            tags.Add(text::DecodeText(e.key), text::DecodeText(e.value));
        } else {
            tags.Add(text::DecodeText(line), U"");
        }
    }
}

TextPrintSetup ResolveSetup(const SettingsFile& settings, std::string_view section,
                            std::string_view port, int width, const std::string& current) {
    TextPrintSetup setup;
    std::string name(text::Trim(section));
    if (name.empty()) name = current;
    setup.port = text::Trim(port);
    if (name.empty()) {
        setup.width = width > 0 ? width : kDefaultWidth;
    } else {
        const std::string alias(text::Trim(settings.ReadString("SUBST", name, "")));
        if (!alias.empty()) name = alias;
        setup.section = name;
        setup.width = width > 0 ? width
                                : static_cast<int>(std::clamp<long>(
                                      settings.ReadInteger(name, "<WIDTH>", kDefaultWidth), 0,
                                      kMaxPrinterLineWidth));
        if (setup.port.empty()) setup.port = text::Trim(settings.ReadString(name, "<PRINTER>", ""));
        ReadTagTable(settings, name, setup.tags);
        const std::string page(text::Trim(settings.ReadString(name, "<CODEPAGE>", "")));
        if (!page.empty()) {
            setup.code_page = text::CodePage::Find(page);
            if (setup.code_page == nullptr) setup.code_page_name = page;
        }
    }
    // The current printer is a print queue: its name is where its jobs go.
    if (setup.port.empty()) setup.port = current;
    if (setup.port.empty()) setup.port = kLastPort;
    return setup;
}

}  // namespace

bool TQuillon::PrintTXT(std::string_view Section, std::string_view Port, std::string_view FileName,
                        int FromPage, int ToPage, int Width) {
    RawPrinters& printers = FRawPrinters != nullptr ? *FRawPrinters : DefaultRawPrinters();

    // The current printer: the host's, else the print system's default queue.
    std::string current;
    const std::vector<PrinterInfo> installed = FHost.Printers();
    const int index = FHost.CurrentPrinter();
    if (index >= 0 && static_cast<std::size_t>(index) < installed.size()) {
        current = installed[static_cast<std::size_t>(index)].name;
    } else {
        current = printers.DefaultQueue();
    }

    const TextPrintSetup setup =
        ResolveSetup(SettingsFile::LoadDefault(), Section, Port, Width, current);
    const std::string& port = setup.port;
    if (setup.code_page == nullptr) {
        rptMessageDlg(std::string(Msg(PRINTER_OPENMsg, FProps.Language)) + port +
                          " (unknown code page " + setup.code_page_name + " in [" + setup.section +
                          "])",
                      TMsgDlgType::mtError, mbOK);
        return false;
    }

    // The report is opened first, so that a missing report never empties the output file.
    const std::string input(text::Trim(FileName).empty() ? FProps.PrnFile : std::string(FileName));
    LineReader reader;
    if (!reader.Open(input)) {
        rptMessageDlg(std::string(Msg(FILE_OPENMsg, FProps.Language)) + input, TMsgDlgType::mtError,
                      mbOK);
        return false;
    }
    if (reader.IsFile(port)) {
        rptMessageDlg(
            std::string(Msg(PRINTER_OPENMsg, FProps.Language)) + port + " (the report itself)",
            TMsgDlgType::mtError, mbOK);
        return false;
    }
    std::string error;
    std::unique_ptr<RawPrintJob> job = printers.Open(port, kJobTitle, error);
    if (job == nullptr) {
        rptMessageDlg(
            std::string(Msg(PRINTER_OPENMsg, FProps.Language)) + port + " (" + error + ")",
            TMsgDlgType::mtError, mbOK);
        return false;
    }

    // From here every early return destroys the unfinished job, which cancels it.
    PrinterLineConverter converter(setup.tags, setup.width);
    int page = 1;
    std::string line;
    while (true) {
        const LineReader::Result read = reader.Next(line);
        if (read == LineReader::Result::kEnd) break;
        if (read == LineReader::Result::kError) {
            rptMessageDlg(std::string(Msg(FILE_READMsg, FProps.Language)) + input,
                          TMsgDlgType::mtError, mbOK);
            return false;
        }
        const std::u32string converted = converter.Convert(text::DecodeText(line));
        if (FromPage <= page && page <= ToPage) {
            std::string bytes = EncodeForPrinter(converted, *setup.code_page, FPrinterCharConvert);
            // A form feed alone ends a page without a line end.
            if (converted != U"\f") bytes += "\r\n";
            std::size_t sent = 0;
            while ((sent += job->Write(std::string_view(bytes).substr(sent))) < bytes.size()) {
                // Asked whether to abort; on No the rest of the line is sent again.
                if (rptConfirmStop(std::string(Msg(PRINTER_OUTPMsg, FProps.Language)) + port)) {
                    return false;
                }
            }
        }
        if (converted.find(U'\f') != std::u32string::npos) ++page;
    }
    if (!job->Finish()) {
        rptMessageDlg(std::string(Msg(PRINTER_ENDMsg, FProps.Language)) + port,
                      TMsgDlgType::mtError, mbOK);
        return false;
    }
    return true;
}

}  // namespace quillon
