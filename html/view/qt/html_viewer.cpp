#include "html/view/qt/html_viewer.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <iostream>

#include "html/view/document_print.h"
#include "html/view/qt/page_targets.h"
#include "html/view/qt/vw_printer.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_image_decoder.h"

namespace quillon {

detail::MeasureCanvasHolder::MeasureCanvasHolder() : measure_canvas(MakeMeasuringCanvas()) {}

// Shows the document and passes the mouse to its viewer. Qt double-buffers widgets, so the
// document is drawn straight into the paint event's region.
class TPaintPanel : public QWidget {
  public:
    explicit TPaintPanel(THTMLViewer& viewer) : QWidget(&viewer), viewer_(viewer) {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(Qt::IBeamCursor);
    }

  protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter painter(this);
        viewer_.Guarded([&] { viewer_.PaintDocument(painter, e->rect()); });
    }
    void mousePressEvent(QMouseEvent* e) override {
        viewer_.Guarded([&] { viewer_.PanelMousePress(*e); });
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        viewer_.Guarded([&] { viewer_.PanelMouseMove(*e); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        viewer_.Guarded([&] { viewer_.PanelMouseRelease(*e); });
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        viewer_.Guarded([&] { viewer_.PanelDoubleClick(*e); });
    }

  private:
    THTMLViewer& viewer_;
};

THTMLViewer::THTMLViewer(QWidget* parent)
    : QWidget(parent),
      THTMLViewerModel(*measure_canvas),
      panel_(new TPaintPanel(*this)),
      v_bar_(new QScrollBar(Qt::Vertical, this)),
      h_bar_(new QScrollBar(Qt::Horizontal, this)) {
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::IBeamCursor);
    v_bar_->hide();
    h_bar_->hide();
    v_bar_->setFocusPolicy(Qt::NoFocus);
    h_bar_->setFocusPolicy(Qt::NoFocus);
    v_bar_->setSingleStep(kVerticalSmallStep);
    h_bar_->setSingleStep(kHorizontalSmallStep);
    SetScrollBarSize(v_bar_->sizeHint().width());
    EnsureQtImageDecoder();
    SetDefBackground(kDefaultBackground);
    SetViewImages(true);

    control_host_ = std::make_unique<QtControlHost>(*panel_);
    TSectionList& doc = Document();
    doc.SetControlHost(control_host_.get());
    doc.OnClipboardText = [](TSectionList&, const std::u32string& text) {
        if (auto* clipboard = QGuiApplication::clipboard()) {
            clipboard->setText(QString::fromStdU32String(text));
        }
    };
    doc.OnTimerChange = [this](TSectionList&, bool running) {
        if (running) {
            gif_timer_.start();
        } else {
            gif_timer_.stop();
        }
    };
    doc.OnInvalidate = [this](TSectionList&, const Rect& r) {
        panel_->update(QRect(r.left, r.top, r.Width(), r.Height()));
    };
    doc.BackgroundChange = [this](TSectionList&, Color) { panel_->update(); };

    gif_timer_.setInterval(50);
    QObject::connect(&gif_timer_, &QTimer::timeout, this,
                     [this] { Guarded([this] { AnimationTick(); }); });
    auto_scroll_timer_.setInterval(100);
    QObject::connect(&auto_scroll_timer_, &QTimer::timeout, this,
                     [this] { Guarded([this] { AutoScrollTick(); }); });

    QObject::connect(v_bar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (updating_bars_) return;
        Guarded([this, value] { ScrollTo(value); });
    });
    QObject::connect(v_bar_, &QScrollBar::actionTriggered, this, [this](int) { setFocus(); });
    QObject::connect(h_bar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (updating_bars_) return;
        setFocus();
        Guarded([this, value] { SetHScrollPos(value); });
    });
    resize(150, 150);
    SetBounds(150, 150);
}

THTMLViewer::~THTMLViewer() {
    // The form widgets go with the document, before the panel that parents them.
    Document().Clear();
    Document().SetControlHost(nullptr);
}

QWidget& THTMLViewer::PaintPanel() {
    return *panel_;
}

// --- printing ---

PrintSettings THTMLViewer::MakePrintSettings() {
    PrintSettings s;
    s.PrintMarginLeft = PrintMarginLeft;
    s.PrintMarginRight = PrintMarginRight;
    s.PrintMarginTop = PrintMarginTop;
    s.PrintMarginBottom = PrintMarginBottom;
    s.MarginWidth = MarginWidth();
    s.PositionBackground = PositionBackground();
    s.Title = Title();
    if (OnPrintHeader) {
        s.OnPrintHeader = [this](Canvas& canvas, int page, int w, int h, bool& stop) {
            OnPrintHeader(*this, canvas, page, w, h, stop);
        };
    }
    if (OnPrintFooter) {
        s.OnPrintFooter = [this](Canvas& canvas, int page, int w, int h, bool& stop) {
            OnPrintFooter(*this, canvas, page, w, h, stop);
        };
    }
    return s;
}

// Prints on the current printer (vwPrinter, which an application may point at a PDF file).
// The animation stands still while the pages are drawn. A document whose style sheets have
// rules for print is printed with them (see DocumentForPrint).
int THTMLViewer::Print(int from_page, int to_page) {
    if (Processing() || Document().Count() == 0) return 0;
    const bool animating = gif_timer_.isActive();
    gif_timer_.stop();
    struct Restart {
        QTimer& timer;
        bool on;
        ~Restart() {
            if (on) timer.start();
        }
    } restart{gif_timer_, animating};
    const PrintSettings settings = MakePrintSettings();
    PrinterPageTarget target(vwPrinter());
    TDocumentPrint print(DocumentForPrint(), settings, target);
    return print.Print(from_page, to_page).LastPage;
}

// Counts against the current printer's page without opening a job.
int THTMLViewer::NumPrinterPages() {
    if (Processing() || Document().Count() == 0) return 0;
    const PrintSettings settings = MakePrintSettings();
    PrinterPageTarget target(vwPrinter());
    TDocumentPrint print(DocumentForPrint(), settings, target);
    return print.CountPages().LastPage;
}

// --- model hooks ---

void THTMLViewer::Invalidate() {
    panel_->update();
}

void THTMLViewer::ScrollBarsChanged() {
    const ScrollBarLayout& b = Bars();
    const int s = ScrollBarSize();
    updating_bars_ = true;
    panel_->setGeometry(b.Border, b.Border, b.PanelWidth, b.PanelHeight);
    v_bar_->setGeometry(width() - b.Border - s, b.Border, s, b.PanelHeight);
    v_bar_->setRange(0, GetScrollBarRange());
    v_bar_->setPageStep(std::max(1, b.VLargeStep));
    v_bar_->setValue(ScrollPos());
    v_bar_->setVisible(b.VBar);
    h_bar_->setGeometry(b.Border, height() - b.Border - s, b.ClientWidth - 2 * b.Border, s);
    h_bar_->setRange(0, MaxHScrollPos());
    h_bar_->setPageStep(std::max(1, b.HLargeStep));
    h_bar_->setValue(HScrollPos());
    h_bar_->setVisible(b.HBar);
    updating_bars_ = false;
}

void THTMLViewer::ViewScrolled(int old_y, int new_y) {
    if (old_y == new_y) return;
    // One small step moves the pixels and paints only the uncovered strip.
    if (std::abs(new_y - old_y) == kVerticalSmallStep) {
        panel_->scroll(0, old_y - new_y);
    } else {
        panel_->update();
    }
}

void THTMLViewer::SetBusyCursor(bool busy) {
    if (busy == busy_cursor_) return;
    busy_cursor_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void THTMLViewer::StartAutoScroll() {
    auto_scroll_timer_.start();
}
void THTMLViewer::StopAutoScroll() {
    auto_scroll_timer_.stop();
}

void THTMLViewer::PostFormSubmit() {
    QTimer::singleShot(0, this, [this] { Guarded([this] { DeliverFormSubmit(); }); });
}

void THTMLViewer::HistoryChanged() {
    Q_EMIT historyChanged();
}

void THTMLViewer::HotSpotCovered(const std::string& url) {
    Q_EMIT hotSpotCovered(QString::fromStdString(url));
}

void THTMLViewer::HotSpotClicked(const std::string& url, bool handled) {
    Q_EMIT hotSpotClicked(QString::fromStdString(url), handled);
}

void THTMLViewer::FormSubmitted(const std::string& action, const std::string& method,
                                const std::vector<std::string>& results) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(results.size()));
    for (const std::string& r : results) list.append(QString::fromStdString(r));
    Q_EMIT formSubmitted(QString::fromStdString(action), QString::fromStdString(method), list);
}

void THTMLViewer::Scrolled() {
    Q_EMIT scrolled(ScrollPos());
}

void THTMLViewer::ReportEventError(std::exception_ptr error) noexcept {
    std::string text = "An event handler of the viewer failed";
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text += " with an unknown exception.";
    }
    try {
        Host().MessageDlg(text, TMsgDlgType::mtError, mbOK);
    } catch (...) {
        std::cerr << "quillon: " << text << '\n';
    }
}

void THTMLViewer::AnimationTick() {
    Document().CheckGIFList();
}

void THTMLViewer::AutoScrollTick() {
    if (!AutoScrollStep(last_mouse_.x(), last_mouse_.y())) auto_scroll_timer_.stop();
}

// --- Qt events ---

void THTMLViewer::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Guarded([this] {
        SetBounds(width(), height());
        ScrollBarsChanged();
    });
}

void THTMLViewer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool shown = (hasFocus() && BorderStyle() == THTMLBorderStyle::htFocused) ||
                       BorderStyle() == THTMLBorderStyle::htSingle;
    const QColor panel_color = QColor::fromRgb(Document().Background());
    p.fillRect(rect(), panel_color);
    if (BorderStyle() != THTMLBorderStyle::htNone) {
        p.setPen(shown ? palette().color(QPalette::ButtonText) : panel_color);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void THTMLViewer::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    update();
}

void THTMLViewer::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    update();
}

// The wheel and the touchpad scroll the document: a notch moves it by the desktop's wheel
// lines (three by default) of the arrow keys' step, a touchpad by the pixels it reports.
// Shift turns a vertical wheel sideways. Ctrl+wheel is left to the window (the viewer has no
// zoom).
void THTMLViewer::wheelEvent(QWheelEvent* e) {
    if (e->modifiers() & Qt::ControlModifier) {
        e->ignore();
        return;
    }
    QPoint delta = -e->pixelDelta();
    if (delta.isNull()) {
        const int lines = QApplication::wheelScrollLines();
        const QPoint angle = e->angleDelta();  // eighths of a degree, 120 a notch
        delta = QPoint(-angle.x() * lines * kHorizontalSmallStep / 120,
                       -angle.y() * lines * kVerticalSmallStep / 120);
    }
    if ((e->modifiers() & Qt::ShiftModifier) && delta.x() == 0) delta = QPoint(delta.y(), 0);
    if (delta.isNull()) {
        e->ignore();
        return;
    }
    Guarded([this, delta] {
        if (delta.y() != 0) ScrollTo(ScrollPos() + delta.y());
        if (delta.x() != 0) SetHScrollPos(HScrollPos() + delta.x());
    });
    e->accept();
}

void THTMLViewer::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Copy)) {
        Guarded([this] { CopyToClipboard(); });
        return;
    }
    if (e->matches(QKeySequence::SelectAll)) {
        Guarded([this] { SelectAll(); });
        return;
    }
    std::optional<TViewerKey> key;
    switch (e->key()) {
        case Qt::Key_PageUp:
            key = TViewerKey::PageUp;
            break;
        case Qt::Key_PageDown:
            key = TViewerKey::PageDown;
            break;
        case Qt::Key_Home:
            key = TViewerKey::Home;
            break;
        case Qt::Key_End:
            key = TViewerKey::End;
            break;
        case Qt::Key_Up:
            key = TViewerKey::Up;
            break;
        case Qt::Key_Down:
            key = TViewerKey::Down;
            break;
        case Qt::Key_Left:
            key = TViewerKey::Left;
            break;
        case Qt::Key_Right:
            key = TViewerKey::Right;
            break;
        default:
            break;
    }
    if (key) {
        Guarded([this, k = *key] { KeyDown(k); });
    } else {
        QWidget::keyPressEvent(e);
    }
}

// --- the paint panel ---

void THTMLViewer::DrawBackground(Canvas& canvas, const QRect& clip) {
    TSectionList& doc = Document();
    const Rect area{clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1};
    const auto& back = doc.BackImage;
    if (ViewImages() && !PositionBackground() && back && !back->Empty()) {
        // Tiles aligned to the document, so the background scrolls with the text.
        const int w = back->Width();
        const int t = back->Height();
        const int h = HScrollPos();
        const int v = ScrollPos();
        for (int y = (v / t) * t - v; y < area.bottom; y += t) {
            if (y + t <= area.top) continue;
            for (int x = (h / w) * w - h; x < area.right; x += w) {
                if (x + w <= area.left) continue;
                canvas.DrawImage(Rect{x, y, x + w, y + t}, *back);
            }
        }
        return;
    }
    canvas.FillRect(area, doc.Background());
    if (ViewImages() && PositionBackground() && !doc.BackgroundImageName().empty() && back &&
        !back->Empty()) {
        // A picture placed between the document's first "{" and "}".
        if (const auto r = PositionedBackgroundRect()) canvas.DrawImage(*r, *back);
    }
}

void THTMLViewer::PaintDocument(QPainter& painter, const QRect& clip) {
    QtCanvas canvas(painter);
    DrawBackground(canvas, clip);
    if (Processing() && Document().Empty()) return;
    const Rect area{clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1};
    Document().Draw(canvas, area, kMaxPaintWidth, MarginWidth() - HScrollPos(),
                    MarginHeight() - ScrollPos());
}

void THTMLViewer::PanelMousePress(QMouseEvent& e) {
    const bool had_focus = hasFocus();
    setFocus(Qt::MouseFocusReason);
    last_mouse_ = e.position().toPoint();
    MouseDown(last_mouse_.x(), last_mouse_.y(), e.button() == Qt::LeftButton, had_focus);
}

void THTMLViewer::PanelMouseMove(QMouseEvent& e) {
    last_mouse_ = e.position().toPoint();
    const bool over_link =
        MouseMove(last_mouse_.x(), last_mouse_.y(), (e.buttons() & Qt::LeftButton) != 0);
    panel_->setCursor(over_link ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void THTMLViewer::PanelMouseRelease(QMouseEvent& e) {
    last_mouse_ = e.position().toPoint();
    MouseUp(last_mouse_.x(), last_mouse_.y(), e.button() == Qt::LeftButton);
}

void THTMLViewer::PanelDoubleClick(QMouseEvent& e) {
    if (e.button() != Qt::LeftButton) return;
    DoubleClick(e.position().toPoint().x(), e.position().toPoint().y());
}

}  // namespace quillon
