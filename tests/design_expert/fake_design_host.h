#pragma once
// A design host in memory: components, a unit source of lines, and a record of the
// handlers created, messages shown and modified notifications.

#include <optional>
#include <string>
#include <vector>

#include "design/expert/code_template.h"
#include "design/expert/design_host.h"

namespace quillon::design {

class FakeDesignHost : public DesignHost {
  public:
    std::vector<DesignComponent> components;
    std::optional<std::vector<std::string>> source = std::vector<std::string>{};
    std::vector<std::string> events;  // "Component.OnX=Handler"
    std::vector<std::string> messages;
    bool confirm_answer = true;
    int modified = 0;
    int writes = 0;

    std::vector<DesignComponent> Components() const override { return components; }
    std::optional<std::vector<std::string>> ReadSource() override { return source; }
    void WriteSource(const std::vector<std::string>& lines) override {
        source = lines;
        ++writes;
    }
    // A new handler is appended as an empty definition, once.
    void CreateEventHandler(const std::string& component, const std::string& event,
                            const std::string& handler, HandlerKind kind) override {
        events.push_back(component + "." + event + "=" + handler);
        if (!source) return;
        const std::string head = HandlerSkeleton("Form1", handler, kind).front();
        for (const std::string& line : *source) {
            if (line == head) return;
        }
        source->emplace_back();
        for (const std::string& line : HandlerSkeleton("Form1", handler, kind)) {
            source->push_back(line);
        }
    }
    void Modified() override { ++modified; }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages.push_back(caption + ": " + text);
    }
    bool Confirm(const std::string& text) override {
        messages.push_back("? " + text);
        return confirm_answer;
    }
};

}  // namespace quillon::design
