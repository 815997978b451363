#pragma once
// Raw printers for tests: every job's bytes are appended to one string in memory and the
// ports opened are listed; the default queue is "lp".

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/raw_printer.h"

namespace quillon::testing {

class RecordingRawPrinters : public RawPrinters {
  public:
    std::unique_ptr<RawPrintJob> Open(std::string_view port, std::string_view,
                                      std::string&) override {
        ports.emplace_back(port);
        Opened();
        return std::make_unique<Job>(bytes);
    }
    std::string DefaultQueue() override { return "lp"; }

    std::vector<std::string> ports;
    std::string bytes;

  protected:
    // Called as each job opens, for a test to look at the state of the sender then.
    virtual void Opened() {}

  private:
    class Job : public RawPrintJob {
      public:
        explicit Job(std::string& out) : out_(out) {}
        std::size_t Write(std::string_view b) override {
            out_.append(b);
            return b.size();
        }
        bool Finish() override { return true; }

      private:
        std::string& out_;
    };
};

}  // namespace quillon::testing
