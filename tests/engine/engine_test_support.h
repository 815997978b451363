#pragma once
// Helpers of the engine tests (beside the shared temporary directory): template files, a host that
// records messages and a viewer with form controls.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/custom_rep_viewer.h"
#include "platform/core/host_services.h"
#include "tests/common/temp_dir.h"

namespace quillon::testing {

inline void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// Records every message and answers with a fixed result.
class RecordingHost : public HostServices {
  public:
    int MessageDlg(std::string_view message, TMsgDlgType type, TMsgDlgButtons buttons) override {
        messages.push_back({std::string(message), type, buttons});
        return answer;
    }
    std::vector<PrinterInfo> Printers() const override { return printers; }
    int CurrentPrinter() const override { return printers.empty() ? -1 : 0; }

    struct Message {
        std::string text;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
    };
    std::vector<Message> messages;
    std::vector<PrinterInfo> printers;
    int answer = mrOk;
};

class FakeViewer : public TCustomRepViewer {
  public:
    using TCustomRepViewer::TCustomRepViewer;
    bool GetVisible() const override { return visible; }
    void SetVisible(bool value) override { visible = value; }
    int GetImageCacheCount() const override { return 5; }
    void SetImageCacheCount(int) override {}
    std::vector<TFormControlInfo> GetFormControlList() const override { return controls; }

    bool visible = false;
    std::vector<TFormControlInfo> controls;
};

}  // namespace quillon::testing
