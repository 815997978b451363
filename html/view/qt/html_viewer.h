#pragma once
// THTMLViewer: the HTML viewer control as a Qt widget. A paint panel shows the document and
// takes the mouse; a vertical and a horizontal scroll bar appear as the document needs
// them. Everything that needs no window system lives in THTMLViewerModel, which this
// widget is; the widget adapts it to Qt events, timers, cursors and the clipboard.
//
// Events receive the viewer as THTMLViewerModel& (the same object).
// The README's glossary of inherited names explains this and its neighbours.

#include <functional>
#include <memory>

#include <QTimer>
#include <QWidget>

#include "html/view/print_settings.h"
#include "html/view/qt/qt_form_controls.h"
#include "html/view/viewer_model.h"
#include "platform/core/canvas.h"

class QScrollBar;

namespace quillon {

class THTMLViewer;
class TPaintPanel;

// Called for every printed page: the header or footer is drawn on canvas (W x H).
using THTMLPagePrinted = std::function<void(THTMLViewer& sender, Canvas& canvas, int NumPage, int W,
                                            int H, bool& StopPrinting)>;

namespace detail {
// The measuring canvas exists before the model that measures with it.
struct MeasureCanvasHolder {
    std::unique_ptr<Canvas> measure_canvas;
    MeasureCanvasHolder();
};
}  // namespace detail

class THTMLViewer : public QWidget, private detail::MeasureCanvasHolder, public THTMLViewerModel {
  public:
    explicit THTMLViewer(QWidget* parent = nullptr);
    ~THTMLViewer() override;

    // --- printing (the print module draws a copy of Document()) ---
    THTMLPagePrinted OnPrintHeader;
    THTMLPagePrinted OnPrintFooter;
    // Prints pages from_page..to_page on the current printer (vwPrinter); returns the number
    // of the last page handled (0 when nothing was printed).
    int Print(int from_page, int to_page);
    int NumPrinterPages();

    // --- for tests and tools ---
    QWidget& PaintPanel();
    QScrollBar& VScrollBar() { return *v_bar_; }
    QScrollBar& HScrollBar() { return *h_bar_; }
    // The animation timer runs while the document has animated pictures on show.
    bool AnimationTimerActive() const { return gif_timer_.isActive(); }
    // One tick of the 50 ms animation timer.
    void AnimationTick();
    bool AutoScrollTimerActive() const { return auto_scroll_timer_.isActive(); }
    // One tick of the auto-scroll timer with the pointer at the last mouse position.
    void AutoScrollTick();

    // --- the paint panel's handlers ---
    void PaintDocument(QPainter& painter, const QRect& clip);
    void PanelMousePress(QMouseEvent& e);
    void PanelMouseMove(QMouseEvent& e);
    void PanelMouseRelease(QMouseEvent& e);
    void PanelDoubleClick(QMouseEvent& e);

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

    // Model hooks.
    void Invalidate() override;
    void ScrollBarsChanged() override;
    void ViewScrolled(int old_y, int new_y) override;
    void SetBusyCursor(bool busy) override;
    void StartAutoScroll() override;
    void StopAutoScroll() override;
    void PostFormSubmit() override;
    void BorderChanged() override { update(); }

  private:
    // The print module's settings from the viewer's margins, title and callbacks.
    PrintSettings MakePrintSettings();
    void DrawBackground(Canvas& canvas, const QRect& clip);

    TPaintPanel* panel_;
    QScrollBar* v_bar_;
    QScrollBar* h_bar_;
    std::unique_ptr<QtControlHost> control_host_;
    QTimer gif_timer_;
    QTimer auto_scroll_timer_;
    QPoint last_mouse_;
    bool updating_bars_ = false;
    bool busy_cursor_ = false;
};

}  // namespace quillon
