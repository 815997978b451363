#pragma once
// Events for the viewer widget on the offscreen platform, sent straight to the paint panel.

#include <QApplication>
#include <QMouseEvent>

#include "html/view/qt/html_viewer.h"

namespace quillon::testing {

// Shows the viewer at a size, active and focused (hidden widgets get no resize events).
inline void ShowViewer(THTMLViewer& v, int width, int height) {
    v.resize(width, height);
    v.show();
    v.activateWindow();
    v.setFocus();
    QCoreApplication::processEvents();
}

inline void SendMouse(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(w.mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

inline void Press(THTMLViewer& v, QPoint at) {
    SendMouse(v.PaintPanel(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}
inline void Drag(THTMLViewer& v, QPoint to) {
    SendMouse(v.PaintPanel(), QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
}
inline void Hover(THTMLViewer& v, QPoint to) {
    SendMouse(v.PaintPanel(), QEvent::MouseMove, to, Qt::NoButton, Qt::NoButton);
}
inline void Release(THTMLViewer& v, QPoint at) {
    SendMouse(v.PaintPanel(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}
inline void Click(THTMLViewer& v, QPoint at) {
    Press(v, at);
    Release(v, at);
}

// The panel point a few pixels into the first character of text (scrolled into view).
inline QPoint PointOf(THTMLViewer& v, std::string_view text) {
    v.SetCaretPos(0);
    const auto p = v.FindPos(text, true);
    if (!p) return QPoint(-1, -1);
    v.ScrollTo(p->y - 20);
    return QPoint(p->x + v.MarginWidth() - v.HScrollPos() + 2, p->y - v.ScrollPos() + 5);
}

}  // namespace quillon::testing
