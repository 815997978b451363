#include "platform/rawprint/cups_spooler.h"

#include <cups/cups.h>
#include <sys/socket.h>

#include <memory>

namespace quillon {

namespace {

struct HttpCloser {
    void operator()(http_t* http) const { httpClose(http); }
};
using Http = std::unique_ptr<http_t, HttpCloser>;

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDeleter>;

// A request that waits longer than the connection's timeout is given up.
int GiveUp(http_t*, void*) {
    return 0;
}

Spooler::Status LastStatus() {
    const char* text = cupsLastErrorString();
    return {static_cast<int>(cupsLastError()), text != nullptr ? text : ""};
}

bool Succeeded(ipp_status_t status) {
    return status < IPP_STATUS_REDIRECTION_OTHER_SITE;
}

// The status of a request that failed. A connection lost before the server answered leaves
// the previous request's success as the last status; that is never reported as the reason.
Spooler::Status FailureStatus() {
    Spooler::Status status = LastStatus();
    if (Succeeded(static_cast<ipp_status_t>(status.code))) {
        status = {static_cast<int>(IPP_STATUS_ERROR_SERVICE_UNAVAILABLE),
                  "the print server closed the connection"};
    }
    return status;
}

Http Connect(int connect_ms, double io_seconds, Spooler::Status& status) {
    const char* server = cupsServer();
    http_t* http = httpConnect2(server, ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                connect_ms, nullptr);
    if (http == nullptr) {
        status = {static_cast<int>(IPP_STATUS_ERROR_SERVICE_UNAVAILABLE),
                  std::string("no print server at ") + (server != nullptr ? server : "?")};
        return nullptr;
    }
    httpSetTimeout(http, io_seconds, GiveUp, nullptr);
    return Http(http);
}

// The queue's name as it appears in its URI (reserved characters percent-encoded).
std::string UriName(const std::string& queue) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : queue) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

// A raw job whose document is being sent: written data streams to the scheduler.
class CupsJob : public RawPrintJob {
  public:
    CupsJob(Http http, std::string queue, int id, int connect_ms, double io_seconds)
        : http_(std::move(http)),
          queue_(std::move(queue)),
          id_(id),
          connect_ms_(connect_ms),
          io_seconds_(io_seconds) {}

    ~CupsJob() override {
        if (done_) return;
        // Dropping the connection ends the unfinished document; the job is then cancelled
        // over a new one.
        http_.reset();
        Spooler::Status status;
        if (Http http = Connect(connect_ms_, io_seconds_, status)) {
            cupsCancelJob2(http.get(), queue_.c_str(), id_, 0);
        }
    }
    CupsJob(const CupsJob&) = delete;
    CupsJob& operator=(const CupsJob&) = delete;

    std::size_t Write(std::string_view bytes) override {
        if (broken_ || done_) return 0;
        if (bytes.empty()) return 0;
        if (cupsWriteRequestData(http_.get(), bytes.data(), bytes.size()) != HTTP_STATUS_CONTINUE) {
            broken_ = true;
            return 0;
        }
        return bytes.size();
    }

    bool Finish() override {
        if (done_) return true;
        if (broken_) return false;
        done_ = true;
        return Succeeded(cupsFinishDocument(http_.get(), queue_.c_str()));
    }

  private:
    Http http_;
    std::string queue_;
    int id_;
    int connect_ms_;
    double io_seconds_;
    bool broken_ = false;
    bool done_ = false;
};

}  // namespace

CupsSpooler::CupsSpooler(int connect_ms, double io_seconds)
    : connect_ms_(connect_ms), io_seconds_(io_seconds) {}

bool CupsSpooler::HasQueue(const std::string& queue, Status& status) {
    Http http = Connect(connect_ms_, io_seconds_, status);
    if (http == nullptr) return false;
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    const std::string uri = "ipp://localhost/printers/" + UriName(queue);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-name");
    const Ipp response(cupsDoRequest(http.get(), request, "/"));  // frees request
    if (response != nullptr && Succeeded(cupsLastError())) return true;
    status = FailureStatus();
    return false;
}

std::string CupsSpooler::DefaultQueue() {
    Status status;
    Http http = Connect(connect_ms_, io_seconds_, status);
    if (http == nullptr) return {};
    const char* name = cupsGetDefault2(http.get());
    return name != nullptr ? name : "";
}

std::unique_ptr<RawPrintJob> CupsSpooler::StartRawJob(const std::string& queue,
                                                      const std::string& title, Status& status) {
    Http http = Connect(connect_ms_, io_seconds_, status);
    if (http == nullptr) return nullptr;
    const int id = cupsCreateJob(http.get(), queue.c_str(), title.c_str(), 0, nullptr);
    if (id <= 0) {
        status = FailureStatus();
        return nullptr;
    }
    if (cupsStartDocument(http.get(), queue.c_str(), id, title.c_str(), CUPS_FORMAT_RAW, 1) !=
        HTTP_STATUS_CONTINUE) {
        status = FailureStatus();
        cupsCancelJob2(http.get(), queue.c_str(), id, 0);
        return nullptr;
    }
    return std::make_unique<CupsJob>(std::move(http), queue, id, connect_ms_, io_seconds_);
}

}  // namespace quillon
