#pragma once
// Helpers of the engine tests: a temporary directory, template files, a host that records
// messages and a viewer with form controls.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/custom_rep_viewer.h"
#include "platform/core/host_services.h"

namespace quillon::testing {

class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillon_engine_XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
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
