#pragma once
// Raw printing: bytes sent unchanged to a character printer, either as a job of a print
// queue or written straight to a device or file. The engine prints text reports through
// RawPrinters; the print-queue half lives in platform/rawprint, so that the engine and
// its tests need no print system.
//
//   std::string error;
//   std::unique_ptr<RawPrintJob> job = printers.Open("/dev/usb/lp0", "Report", error);
//   if (job && job->Write(bytes) == bytes.size() && job->Finish()) { ... }

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace quillon {

// One job: the bytes written go to the printer as they are. Destroying a job that was not
// finished cancels it where the printer allows that (a print queue) and closes it.
class RawPrintJob {
  public:
    virtual ~RawPrintJob() = default;
    // Writes bytes; returns how many were accepted (fewer than bytes.size() on failure).
    virtual std::size_t Write(std::string_view bytes) = 0;
    // Ends the job (the queue prints it; a device or file is closed). False when that
    // failed.
    virtual bool Finish() = 0;
};

class RawPrinters {
  public:
    virtual ~RawPrinters() = default;
    // Opens a job titled title on port (a print queue, a device or a file). On failure
    // returns nullptr and sets error to what went wrong, in words or as a number.
    virtual std::unique_ptr<RawPrintJob> Open(std::string_view port, std::string_view title,
                                              std::string& error) = 0;
    // The print queue that jobs go to when nothing else is chosen; empty when none.
    virtual std::string DefaultQueue() { return {}; }
};

// True for a port written the way print queues and printer ports are named rather than
// files: ending in ":" ("LPT1:", "Laser:"), or "LPT" with at most one more character.
bool IsPrinterPortName(std::string_view port);

// Opens path (a device such as /dev/usb/lp0, or a file, created anew) for writing.
std::unique_ptr<RawPrintJob> OpenDevicePort(const std::string& path, std::string& error);

// Printing without a print system: every port is a device or file path, except names of
// the printer-port form (IsPrinterPortName), which fail because no print queue exists.
class DevicePrinters : public RawPrinters {
  public:
    std::unique_ptr<RawPrintJob> Open(std::string_view port, std::string_view title,
                                      std::string& error) override;
};

// The raw printers that components use when they were not given any. Starts as
// DevicePrinters; an application installs its own (it must outlive every user).
RawPrinters& DefaultRawPrinters();
// Replaces the default raw printers; nullptr restores DevicePrinters.
void SetDefaultRawPrinters(RawPrinters* printers);

}  // namespace quillon
