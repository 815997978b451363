#pragma once
// DesignHost: what the design tools need from the program that designs a form: its
// components, the source of its unit as lines, named event handlers, a "modified"
// notification and two dialogs. The expert and the code template are pure functions over
// it, so a test drives them with a fake host.

#include <optional>
#include <string>
#include <vector>

namespace quillon::design {

// A field of a data set, as the expert offers it.
struct DesignField {
    std::string name;
    std::string display_label;
    int display_width = 0;
    bool number = false;  // its values are numbers
    int decimals = 0;     // digits after the point of a number field
};

// A component of the designed form.
struct DesignComponent {
    std::string name;
    std::string class_name;
    bool is_data_set = false;
    std::vector<DesignField> fields;  // in field order; only for data sets
};

// The parameter lists of the report's events a handler can be created for.
enum class HandlerKind {
    Next,     // (TQuillon& Sender, bool& PNext)
    Line,     // (TQuillon& Sender)
    SumLine,  // (TQuillon& Sender, TReportLevel Level)
};

class DesignHost {
  public:
    virtual ~DesignHost() = default;

    virtual std::vector<DesignComponent> Components() const = 0;
    // The unit source of the designed form; nullopt when there is none.
    virtual std::optional<std::vector<std::string>> ReadSource() = 0;
    virtual void WriteSource(const std::vector<std::string>& lines) = 0;
    // Creates (or finds) the named handler in the unit source and assigns it to the
    // component's event (e.g. "OnNext").
    virtual void CreateEventHandler(const std::string& component, const std::string& event,
                                    const std::string& handler, HandlerKind kind) = 0;
    // The component was changed by a design tool.
    virtual void Modified() = 0;
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // A Yes/No question; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
};

// The component being edited: the properties of TQuillon the design tools read and set.
struct EditedReport {
    std::string name;
    std::string class_name = "TQuillon";
    std::string format_file;
    std::string format_name;
    bool landscape = false;
    int pg_size = 64;
    int first_pg_size = 64;
};

}  // namespace quillon::design
