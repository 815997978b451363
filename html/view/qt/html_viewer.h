#pragma once
// THTMLViewer: the HTML viewer control as a Qt widget. A paint panel shows the document and
// takes the mouse; a vertical and a horizontal scroll bar appear as the document needs
// them. Everything that needs no window system lives in THTMLViewerModel, which this
// widget is; the widget adapts it to Qt events, timers, cursors and the clipboard.
//
// Events receive the viewer as THTMLViewerModel& (the same object). Each event is also a
// Qt signal, sent after its callback. Whatever a callback or a connected slot throws while
// the viewer handles a Qt event (mouse, keys, wheel, scroll bars, timers, painting) is
// caught there and shown through the viewer's host (DefaultHost() unless SetHost gave one;
// the headless host writes it to standard error): it never reaches Qt's event loop.
// The README's glossary of inherited names explains this and its neighbours.
//
// A viewer made without settings shows a white page and its pictures, and registers the Qt
// image decoder when no still-image decoder is registered yet.

#include <exception>
#include <functional>
#include <memory>
#include <string_view>

#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "html/view/print_settings.h"
#include "html/view/qt/qt_form_controls.h"
#include "html/view/viewer_model.h"
#include "platform/core/canvas.h"
#include "platform/core/host_services.h"

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
    Q_OBJECT

  public:
    // The default document background: white, as a document viewer shows its pages.
    static constexpr Color kDefaultBackground = 0xFFFFFF;

    explicit THTMLViewer(QWidget* parent = nullptr);
    ~THTMLViewer() override;

    // Where a failing event handler is reported (not owned; nullptr: DefaultHost()).
    void SetHost(HostServices* host) { host_ = host; }
    HostServices& Host() const { return host_ != nullptr ? *host_ : DefaultHost(); }
    // Runs f as a Qt event handler of the viewer: what it throws is reported through Host().
    template <class F>
    void Guarded(F&& f) noexcept {
        try {
            f();
        } catch (...) {
            ReportEventError(std::current_exception());
        }
    }

    // --- printing (the print module draws DocumentForPrint(): a copy of Document(), or the
    // document parsed again with its style sheets' print rules) ---
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

  Q_SIGNALS:
    // A link was clicked; handled: OnHotSpotClick took it and the viewer does not follow it.
    void hotSpotClicked(const QString& url, bool handled);
    // The pointer moved onto a link (its URL) or off every link (an empty URL).
    void hotSpotCovered(const QString& url);
    // A form was submitted (results: "name=value" pairs in form order).
    void formSubmitted(const QString& action, const QString& method, const QStringList& results);
    // The history list or its index changed.
    void historyChanged();
    // The view moved vertically; pos is ScrollPos().
    void scrolled(int pos);

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
    void HistoryChanged() override;
    void HotSpotCovered(const std::string& url) override;
    void HotSpotClicked(const std::string& url, bool handled) override;
    void FormSubmitted(const std::string& action, const std::string& method,
                       const std::vector<std::string>& results) override;
    void Scrolled() override;

  private:
    // The print module's settings from the viewer's margins, title and callbacks.
    PrintSettings MakePrintSettings();
    void DrawBackground(Canvas& canvas, const QRect& clip);
    void ReportEventError(std::exception_ptr error) noexcept;

    TPaintPanel* panel_;
    QScrollBar* v_bar_;
    QScrollBar* h_bar_;
    std::unique_ptr<QtControlHost> control_host_;
    QTimer gif_timer_;
    QTimer auto_scroll_timer_;
    QPoint last_mouse_;
    bool updating_bars_ = false;
    bool busy_cursor_ = false;
    HostServices* host_ = nullptr;
};

}  // namespace quillon
