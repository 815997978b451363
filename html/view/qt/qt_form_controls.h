#pragma once
// Form controls of a document as Qt widgets on the viewer's paint panel.

#include <memory>

#include "html/layout/control_host.h"

class QWidget;

namespace quillon {

class QtControlHost : public ControlHost {
  public:
    // parent: the paint panel; the widgets are its children.
    explicit QtControlHost(QWidget& parent) : parent_(&parent) {}

    std::unique_ptr<PlatformEdit> CreateEdit(const EditOptions& desc) override;
    std::unique_ptr<PlatformButton> CreateButton(std::string_view caption) override;
    std::unique_ptr<PlatformCheck> CreateCheckBox() override;
    std::unique_ptr<PlatformCheck> CreateRadioButton() override;
    std::unique_ptr<PlatformList> CreateListBox(bool multi_select) override;
    std::unique_ptr<PlatformList> CreateComboBox() override;

  private:
    QWidget* parent_;
};

}  // namespace quillon
