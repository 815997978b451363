#pragma once
// The spooler of a Linux machine: the CUPS scheduler named by the usual CUPS settings
// (CUPS_SERVER, client.conf; by default the local scheduler). Every call connects with a
// short timeout, so that a machine without a running scheduler fails at once instead of
// waiting.

#include "platform/rawprint/spooler.h"

namespace quillon {

class CupsSpooler : public Spooler {
  public:
    // connect_ms: how long to wait for the scheduler to accept a connection; io_seconds:
    // how long one request or write may wait for it.
    explicit CupsSpooler(int connect_ms = 3000, double io_seconds = 30);

    bool HasQueue(const std::string& queue, Status& status) override;
    std::string DefaultQueue() override;
    std::unique_ptr<RawPrintJob> StartRawJob(const std::string& queue, const std::string& title,
                                             Status& status) override;

  private:
    int connect_ms_;
    double io_seconds_;
};

}  // namespace quillon
