#pragma once
// Helpers for document model tests: attribute lists written as text, and a control host
// whose widgets are plain objects that remember what was done to them.

#include <charconv>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "html/layout/control_host.h"
#include "html/parse/html_attribute.h"
#include "html/parse/symb.h"
#include "platform/core/text_encoding.h"

namespace quillon::testing {

// An attribute as the tokenizer delivers it: the text, and its number (a trailing '%'
// ignored, 0 when not a number).
inline TAttribute Attr(Symb sym, std::string_view value = "") {
    TAttribute a;
    a.Sym = sym;
    a.Text = text::DecodeText(value);
    std::string_view digits = value;
    if (!digits.empty() && digits.back() == '%') digits.remove_suffix(1);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    int n = 0;
    const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    a.Number = res.ec == std::errc() && res.ptr == digits.data() + digits.size() ? n : 0;
    if (sym == Symb::BorderSy && value.empty()) a.Number = 1;
    return a;
}

inline TAttributeList Attrs(std::initializer_list<TAttribute> list) {
    TAttributeList attrs;
    for (const auto& a : list) attrs.Add(a);
    return attrs;
}

// Fake widgets: a 2-pixel frame around the client area, everything recorded.
template <class Base>
class FakeWidget : public Base {
  public:
    void SetPosition(int x, int y) override { pos = {x, y}; }
    Point Position() const override { return pos; }
    void SetSize(int w, int h) override {
        if (w >= 0) width = w;
        if (h >= 0) height = h;
    }
    void SetClientSize(int w, int h) override {
        if (w >= 0) width = w + 4;
        if (h >= 0) height = h + 4;
    }
    int Width() const override { return width; }
    int Height() const override { return height; }
    void SetVisible(bool v) override { visible = v; }
    bool Visible() const override { return visible; }
    void SetFont(const FontSpec& f) override { font = f; }
    void SetBackground(Color c) override { background = c; }

    Point pos{};
    int width = 50;
    int height = 21;  // natural height
    bool visible = true;
    FontSpec font;
    Color background = 0;
};

class FakeEdit : public FakeWidget<PlatformEdit> {
  public:
    explicit FakeEdit(EditOptions s) : desc(s) {}
    std::string Text() const override { return text; }
    void SetText(std::string_view t) override { text = t; }
    EditOptions desc;
    std::string text;
};

class FakeButton : public FakeWidget<PlatformButton> {
  public:
    explicit FakeButton(std::string_view c) : caption(c) {}
    std::string caption;
};

class FakeCheck : public FakeWidget<PlatformCheck> {
  public:
    bool Checked() const override { return checked; }
    void SetChecked(bool c) override { checked = c; }
    // The user clicks it: a check box toggles, a radio button becomes checked.
    void UserClick(bool radio) {
        checked = radio ? true : !checked;
        if (on_click) on_click();
    }
    bool checked = false;
};

class FakeList : public FakeWidget<PlatformList> {
  public:
    explicit FakeList(bool m) : multi(m) {}
    void AddItem(std::string_view t) override {
        items.emplace_back(t);
        selected.push_back(false);
    }
    void ClearItems() override {
        items.clear();
        selected.clear();
    }
    int ItemCount() const override { return static_cast<int>(items.size()); }
    bool Selected(int i) const override { return selected.at(static_cast<std::size_t>(i)); }
    void SetSelected(int i, bool s) override {
        if (s && !multi) selected.assign(selected.size(), false);
        selected.at(static_cast<std::size_t>(i)) = s;
    }
    bool multi;
    std::vector<std::string> items;
    std::vector<bool> selected;
};

class FakeControlHost : public ControlHost {
  public:
    std::unique_ptr<PlatformEdit> CreateEdit(const EditOptions& desc) override {
        auto w = std::make_unique<FakeEdit>(desc);
        edits.push_back(w.get());
        return w;
    }
    std::unique_ptr<PlatformButton> CreateButton(std::string_view caption) override {
        auto w = std::make_unique<FakeButton>(caption);
        buttons.push_back(w.get());
        return w;
    }
    std::unique_ptr<PlatformCheck> CreateCheckBox() override {
        auto w = std::make_unique<FakeCheck>();
        checks.push_back(w.get());
        return w;
    }
    std::unique_ptr<PlatformCheck> CreateRadioButton() override {
        auto w = std::make_unique<FakeCheck>();
        radios.push_back(w.get());
        return w;
    }
    std::unique_ptr<PlatformList> CreateListBox(bool multi) override {
        auto w = std::make_unique<FakeList>(multi);
        lists.push_back(w.get());
        return w;
    }
    std::unique_ptr<PlatformList> CreateComboBox() override {
        auto w = std::make_unique<FakeList>(false);
        combos.push_back(w.get());
        return w;
    }

    // Widgets as created (owned by the document's controls).
    std::vector<FakeEdit*> edits;
    std::vector<FakeButton*> buttons;
    std::vector<FakeCheck*> checks;
    std::vector<FakeCheck*> radios;
    std::vector<FakeList*> lists;
    std::vector<FakeList*> combos;
};

}  // namespace quillon::testing
