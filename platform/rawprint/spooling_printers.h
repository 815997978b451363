#pragma once
// Raw printers with a print system: a port that names a print queue (a trailing ":"
// removed, the name used whole) gets one raw job there; any other port, and any port with
// a "/", is a device or file path written directly, except names of the printer-port form
// ("LPT1:"), which fail with the spooler's status because no such queue exists.
//
//   CupsSpooler cups;
//   SpoolingPrinters printers(cups);
//   report.SetRawPrinters(&printers);

#include "platform/core/raw_printer.h"
#include "platform/rawprint/spooler.h"

namespace quillon {

class SpoolingPrinters : public RawPrinters {
  public:
    // The spooler must outlive this object.
    explicit SpoolingPrinters(Spooler& spooler) : spooler_(spooler) {}

    std::unique_ptr<RawPrintJob> Open(std::string_view port, std::string_view title,
                                      std::string& error) override;
    std::string DefaultQueue() override { return spooler_.DefaultQueue(); }

  private:
    Spooler& spooler_;
};

}  // namespace quillon
