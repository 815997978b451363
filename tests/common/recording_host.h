#pragma once
// Test doubles for the process-wide objects a component talks to: a host that records
// every message and answers as the test says, and scoped replacements of the default host,
// the still-image decoder and environment variables that put back what was there.

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/host_services.h"
#include "platform/core/still_image_decoder.h"

namespace quillon::testing {

class RecordingHost : public HostServices {
  public:
    struct Message {
        std::string text;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
    };

    int MessageDlg(std::string_view message, TMsgDlgType type, TMsgDlgButtons buttons) override {
        messages.push_back({std::string(message), type, buttons});
        return answer;
    }
    std::vector<PrinterInfo> Printers() const override { return printers; }
    int CurrentPrinter() const override { return printers.empty() ? -1 : 0; }
    bool PrintRangeDialog(int& from, int& to) override {
        ++range_dialogs;
        if (!range) return false;
        from = range->first;
        to = range->second;
        return true;
    }
    bool ReviewMail(MailReview& message) override {
        ++reviews;
        reviewed = message;
        if (review) return review(message);
        return HostServices::ReviewMail(message);
    }
    void BeginWaitCursor() override { ++cursor_depth, ++cursor_begins; }
    void EndWaitCursor() override { --cursor_depth; }

    // The texts of the messages shown, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Message& m : messages) texts.push_back(m.text);
        return texts;
    }
    // The first message's text, or "" (for failure output).
    std::string FirstText() const { return messages.empty() ? "" : messages.front().text; }

    std::vector<Message> messages;
    int answer = mrOk;                         // every message dialog's answer
    std::vector<PrinterInfo> printers;         // none: a machine without printers
    std::optional<std::pair<int, int>> range;  // the range dialog's answer; none: Cancel
    int range_dialogs = 0;
    std::function<bool(MailReview&)> review;  // unset: the headless answer
    int reviews = 0;
    MailReview reviewed;  // the last message reviewed
    int cursor_depth = 0;
    int cursor_begins = 0;
};

// Installs host as the default host for its lifetime.
class ScopedDefaultHost {
  public:
    explicit ScopedDefaultHost(HostServices& host) : previous_(&DefaultHost()) {
        SetDefaultHost(&host);
    }
    ~ScopedDefaultHost() { SetDefaultHost(previous_); }
    ScopedDefaultHost(const ScopedDefaultHost&) = delete;
    ScopedDefaultHost& operator=(const ScopedDefaultHost&) = delete;

  private:
    HostServices* previous_;
};

// Installs decoder as the process's still-image decoder for its lifetime; afterwards
// there is none, as in a program that registered none.
class ScopedStillImageDecoder {
  public:
    explicit ScopedStillImageDecoder(std::unique_ptr<StillImageDecoder> decoder) {
        SetStillImageDecoder(std::move(decoder));
    }
    ~ScopedStillImageDecoder() { SetStillImageDecoder(nullptr); }
    ScopedStillImageDecoder(const ScopedStillImageDecoder&) = delete;
    ScopedStillImageDecoder& operator=(const ScopedStillImageDecoder&) = delete;
};

// Sets an environment variable for its lifetime, then restores or removes it.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace quillon::testing
