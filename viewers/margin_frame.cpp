#include "viewers/margin_frame.h"

#include <QMouseEvent>
#include <QPalette>
#include <algorithm>
#include <exception>
#include <limits>

namespace quillon {

namespace {

bool IsVertical(MarginSide side) {
    return side == MarginSide::kTop || side == MarginSide::kBottom;
}

// The bar between a margin panel and the client panel; dragging it resizes the panel.
class MarginSplitter : public QWidget {
  public:
    MarginSplitter(MarginFrame& frame, MarginSide side)
        : QWidget(&frame), frame_(frame), side_(side) {
        setAutoFillBackground(true);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
        setPalette(palette);
        setCursor(IsVertical(side) ? Qt::SplitVCursor : Qt::SplitHCursor);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        dragging_ = true;
        last_ = event->globalPosition().toPoint();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
        const QPoint now = event->globalPosition().toPoint();
        const QPoint moved = now - last_;
        last_ = now;
        int delta = IsVertical(side_) ? moved.y() : moved.x();
        if (side_ == MarginSide::kBottom || side_ == MarginSide::kRight) delta = -delta;
        // A Qt event handler lets no exception through.
        try {
            frame_.DragSplitter(side_, delta);
        } catch (const std::exception&) {
        }
    }
    void mouseReleaseEvent(QMouseEvent*) override { dragging_ = false; }

  private:
    MarginFrame& frame_;
    MarginSide side_;
    bool dragging_ = false;
    QPoint last_;
};

}  // namespace

MarginPanel::MarginPanel(MarginSide side, QWidget* parent) : QLabel(parent), side_(side) {
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(7);
    setFont(font);
    setFrameShape(QFrame::NoFrame);
    // A side strip is narrow: its number and unit stand one above the other.
    setWordWrap(side == MarginSide::kLeft || side == MarginSide::kRight);
}

MarginFrame::MarginFrame(QWidget* parent) : QWidget(parent) {
    constexpr std::array<MarginSide, 4> order = {MarginSide::kTop, MarginSide::kBottom,
                                                 MarginSide::kLeft, MarginSide::kRight};
    for (MarginSide side : order) {
        panels_[Index(side)] = new MarginPanel(side, this);
        splitters_[Index(side)] = new MarginSplitter(*this, side);
        panels_[Index(side)]->hide();
        splitters_[Index(side)]->hide();
    }
    client_ = new QWidget(this);
}

void MarginFrame::SetPanelSize(MarginSide side, int pixels) {
    pixels = std::max(0, pixels);
    int& size = sizes_[Index(side)];
    if (size == pixels) return;
    size = pixels;
    Relayout();
    if (on_resize) on_resize(Panel(side));
}

void MarginFrame::DragSplitter(MarginSide side, int delta) {
    const int across = IsVertical(side) ? height() : width();
    const int others = IsVertical(side)
                           ? PanelSize(MarginSide::kTop) + PanelSize(MarginSide::kBottom)
                           : PanelSize(MarginSide::kLeft) + PanelSize(MarginSide::kRight);
    // On the screen the client panel keeps at least one pixel.
    const int room = isVisible() ? across - (others - PanelSize(side)) - 2 * kSplitterSize - 1
                                 : std::numeric_limits<int>::max();
    const int wanted =
        std::clamp(PanelSize(side) + delta, kMinPanelSize, std::max(kMinPanelSize, room));
    SetPanelSize(side, wanted);
}

void MarginFrame::Relayout() {
    QRect rest = rect();
    auto place = [&](MarginSide side) {
        const std::size_t i = Index(side);
        QWidget* panel = panels_[i];
        QWidget* splitter = splitters_[i];
        const int size = panel->isHidden() ? 0 : sizes_[i];
        const int bar = splitter->isHidden() ? 0 : kSplitterSize;
        switch (side) {
            case MarginSide::kTop:
                panel->setGeometry(rest.left(), rest.top(), rest.width(), size);
                splitter->setGeometry(rest.left(), rest.top() + size, rest.width(), bar);
                rest.setTop(rest.top() + size + bar);
                break;
            case MarginSide::kBottom:
                panel->setGeometry(rest.left(), rest.bottom() + 1 - size, rest.width(), size);
                splitter->setGeometry(rest.left(), rest.bottom() + 1 - size - bar, rest.width(),
                                      bar);
                rest.setBottom(rest.bottom() - size - bar);
                break;
            case MarginSide::kLeft:
                panel->setGeometry(rest.left(), rest.top(), size, rest.height());
                splitter->setGeometry(rest.left() + size, rest.top(), bar, rest.height());
                rest.setLeft(rest.left() + size + bar);
                break;
            case MarginSide::kRight:
                panel->setGeometry(rest.right() + 1 - size, rest.top(), size, rest.height());
                splitter->setGeometry(rest.right() + 1 - size - bar, rest.top(), bar,
                                      rest.height());
                rest.setRight(rest.right() - size - bar);
                break;
        }
    };
    place(MarginSide::kTop);
    place(MarginSide::kBottom);
    place(MarginSide::kLeft);
    place(MarginSide::kRight);
    client_->setGeometry(rest.normalized().isValid() ? rest : QRect(rest.topLeft(), QSize(0, 0)));
}

void MarginFrame::resizeEvent(QResizeEvent*) {
    Relayout();
}

}  // namespace quillon
