#pragma once
// The platform side of form controls. The document creates its controls' widgets through
// a ControlHost (the viewer's paint panel; a Qt implementation lives outside the core
// layers, tests use fakes). A document without a host keeps every control's state in the
// model alone, so parsing, submission and dumps work headless.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/canvas.h"

namespace quillon {

// Keys a text control reports to its form control object.
enum class ControlKey { Enter, PageUp, PageDown, Home, End };

// A widget shown in the viewer. Sizes are outer sizes in pixels; client sizes exclude the
// widget's frame.
class PlatformControl {
  public:
    virtual ~PlatformControl() = default;
    virtual void SetPosition(int x, int y) = 0;
    virtual Point Position() const = 0;
    // Negative values keep the current width or height.
    virtual void SetSize(int width, int height) = 0;
    virtual void SetClientSize(int width, int height) = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    virtual void SetFont(const FontSpec& font) = 0;
    // The colour behind the widget (radio buttons sit in a panel of the cell's colour).
    virtual void SetBackground(Color /*color*/) {}
};

// Single-line edit or multi-line text area. Text lines are separated by '\n'.
class PlatformEdit : public PlatformControl {
  public:
    virtual std::string Text() const = 0;
    virtual void SetText(std::string_view text) = 0;
    // Called for Enter, Page Up, Page Down, Home and End; true when handled.
    std::function<bool(ControlKey)> on_key;
};

class PlatformButton : public PlatformControl {
  public:
    std::function<void()> on_click;
};

// Check box or radio button.
class PlatformCheck : public PlatformControl {
  public:
    virtual bool Checked() const = 0;
    virtual void SetChecked(bool checked) = 0;
    // Called after the user changed the state.
    std::function<void()> on_click;
};

// List box (one or several selected items) or drop-down list (one selected item).
class PlatformList : public PlatformControl {
  public:
    virtual void AddItem(std::string_view text) = 0;
    virtual void ClearItems() = 0;
    virtual int ItemCount() const = 0;
    virtual bool Selected(int index) const = 0;
    // In a drop-down list selecting an item deselects the others.
    virtual void SetSelected(int index, bool selected) = 0;
};

struct EditOptions {
    bool password = false;
    int max_length = 0;       // 0: unlimited
    bool multi_line = false;  // text area with both scroll bars
};

class ControlHost {
  public:
    virtual ~ControlHost() = default;
    // Each new widget is hidden and placed off-screen by the caller.
    virtual std::unique_ptr<PlatformEdit> CreateEdit(const EditOptions& desc) = 0;
    virtual std::unique_ptr<PlatformButton> CreateButton(std::string_view caption) = 0;
    virtual std::unique_ptr<PlatformCheck> CreateCheckBox() = 0;
    virtual std::unique_ptr<PlatformCheck> CreateRadioButton() = 0;
    virtual std::unique_ptr<PlatformList> CreateListBox(bool multi_select) = 0;
    virtual std::unique_ptr<PlatformList> CreateComboBox() = 0;
};

}  // namespace quillon
