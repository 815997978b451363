#include "platform/core/raw_printer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

// A device or file opened for writing. Each Write goes to the device at once, so that a
// failing printer is noticed at the line that failed.
class DeviceJob : public RawPrintJob {
  public:
    explicit DeviceJob(int fd) : fd_(fd) {}
    ~DeviceJob() override { Close(); }
    DeviceJob(const DeviceJob&) = delete;
    DeviceJob& operator=(const DeviceJob&) = delete;

    std::size_t Write(std::string_view bytes) override {
        std::size_t done = 0;
        while (fd_ >= 0 && done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        return done;
    }

    bool Finish() override { return Close(); }

  private:
    bool Close() {
        if (fd_ < 0) return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 || errno == EINTR;
    }

    int fd_;
};

DevicePrinters& BuiltInPrinters() {
    static DevicePrinters printers;
    return printers;
}

RawPrinters* g_default_printers = nullptr;

}  // namespace

bool IsPrinterPortName(std::string_view port) {
    if (!port.empty() && port.back() == ':') return true;
    return port.size() >= 3 && port.size() <= 4 && text::EqualsIgnoreCase(port.substr(0, 3), "LPT");
}

std::unique_ptr<RawPrintJob> OpenDevicePort(const std::string& path, std::string& error) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<DeviceJob>(fd);
}

std::unique_ptr<RawPrintJob> DevicePrinters::Open(std::string_view port, std::string_view,
                                                  std::string& error) {
    if (IsPrinterPortName(port)) {
        error = "no print queue of that name";
        return nullptr;
    }
    if (port.empty()) {
        error = "no port given";
        return nullptr;
    }
    return OpenDevicePort(std::string(port), error);
}

RawPrinters& DefaultRawPrinters() {
    return g_default_printers != nullptr ? *g_default_printers : BuiltInPrinters();
}

void SetDefaultRawPrinters(RawPrinters* printers) {
    g_default_printers = printers;
}

}  // namespace quillon
