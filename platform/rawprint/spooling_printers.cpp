#include "platform/rawprint/spooling_printers.h"

namespace quillon {

namespace {

std::string StatusText(const Spooler::Status& status) {
    std::string text = std::to_string(status.code);
    if (!status.text.empty()) text += ": " + status.text;
    return text;
}

}  // namespace

std::unique_ptr<RawPrintJob> SpoolingPrinters::Open(std::string_view port, std::string_view title,
                                                    std::string& error) {
    if (port.empty()) {
        error = "no port given";
        return nullptr;
    }
    std::string queue(port);
    if (queue.back() == ':') queue.pop_back();
    // Queue names never hold a "/": a path is not looked up.
    Spooler::Status status;
    if (!queue.empty() && queue.find('/') == std::string::npos &&
        spooler_.HasQueue(queue, status)) {
        std::unique_ptr<RawPrintJob> job = spooler_.StartRawJob(queue, std::string(title), status);
        if (job == nullptr) error = StatusText(status);
        return job;
    }
    if (IsPrinterPortName(port)) {
        if (status.code == 0) status.text = "no print queue of that name";
        error = StatusText(status);
        return nullptr;
    }
    return OpenDevicePort(std::string(port), error);
}

}  // namespace quillon
