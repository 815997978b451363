#pragma once
// A Qt widget as a component, so that the report's viewer parameters can refer to an
// application's menu bar, context menu or host control (tRepViewerPar::MainMenu,
// PopupMenu, ViewerParent). The widget is not owned; when it is destroyed the reference
// reads nullptr.

#include <QPointer>
#include <QWidget>
#include <string>

#include "platform/core/component.h"

namespace quillon {

class TQtWidgetRef : public TComponent {
  public:
    explicit TQtWidgetRef(QWidget* widget, std::string name = {})
        : TComponent(std::move(name)), widget_(widget) {}

    QWidget* Widget() const { return widget_.data(); }
    // The widget as a T (a QMenuBar, a QMenu, ...), or nullptr.
    template <class T>
    T* As() const {
        return qobject_cast<T*>(widget_.data());
    }

  private:
    QPointer<QWidget> widget_;
};

// The widget a component stands for, when it is a TQtWidgetRef.
inline QWidget* WidgetOf(TComponent* component) {
    auto* ref = dynamic_cast<TQtWidgetRef*>(component);
    return ref != nullptr ? ref->Widget() : nullptr;
}

}  // namespace quillon
