#pragma once
// The print-queue calls raw printing needs, behind one small interface: the real one talks
// to the CUPS scheduler (cups_spooler.h); tests use a fake.

#include <memory>
#include <string>

#include "platform/core/raw_printer.h"

namespace quillon {

class Spooler {
  public:
    // How a call went: code 0 for success, else the print system's status code, with a
    // short description.
    struct Status {
        int code = 0;
        std::string text;
    };

    virtual ~Spooler() = default;
    // True when a queue of that name (a printer or a class) exists. False when it does not
    // or when the print system cannot be reached; status says which.
    virtual bool HasQueue(const std::string& queue, Status& status) = 0;
    // The default queue; empty when there is none or no print system.
    virtual std::string DefaultQueue() = 0;
    // Creates a job titled title on queue and starts its one document in the raw format
    // (the bytes reach the printer unchanged). nullptr with status on failure.
    virtual std::unique_ptr<RawPrintJob> StartRawJob(const std::string& queue,
                                                     const std::string& title, Status& status) = 0;
};

}  // namespace quillon
