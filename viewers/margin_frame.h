#pragma once
// The body of the viewer window: four page-margin panels along its edges, each with a
// splitter on its inner side that the user drags to change the margin, and the client
// panel in the middle that holds the document control. Panels are stacked from the edge
// inwards in the order top, bottom, left, right; hidden ones take no room.
//
// A panel's size is kept here, so that it is known at once, before the window is laid
// out or shown. Changing it (by dragging a splitter or by SetPanelSize) runs on_resize
// with the panel.

#include <QLabel>
#include <QWidget>
#include <array>
#include <functional>

namespace quillon {

enum class MarginSide { kTop, kBottom, kLeft, kRight };

// What a panel's size stands for (its tag): a margin, or nothing while the panels are
// being rearranged.
enum MarginTag : int { kTagTop = 0, kTagRight = 1, kTagBottom = 2, kTagLeft = 3, kTagNone = 5 };

class MarginPanel : public QLabel {
  public:
    MarginPanel(MarginSide side, QWidget* parent);
    MarginSide Side() const { return side_; }
    int tag = kTagNone;

  private:
    MarginSide side_;
};

class MarginFrame : public QWidget {
  public:
    static constexpr int kSplitterSize = 3;
    static constexpr int kMinPanelSize = 5;

    explicit MarginFrame(QWidget* parent);

    MarginPanel& Panel(MarginSide side) { return *panels_[Index(side)]; }
    QWidget& Splitter(MarginSide side) { return *splitters_[Index(side)]; }
    QWidget& ClientPanel() { return *client_; }

    // The height (top, bottom) or width (left, right) of a panel in pixels.
    int PanelSize(MarginSide side) const { return sizes_[Index(side)]; }
    void SetPanelSize(MarginSide side, int pixels);
    // Moves the splitter of a panel by delta pixels towards the middle (away from it
    // when negative), as dragging it does; a panel keeps at least kMinPanelSize pixels.
    void DragSplitter(MarginSide side, int delta);
    // Places the visible panels, splitters and the client panel.
    void Relayout();

    std::function<void(MarginPanel&)> on_resize;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    static std::size_t Index(MarginSide side) { return static_cast<std::size_t>(side); }

    std::array<MarginPanel*, 4> panels_{};
    std::array<QWidget*, 4> splitters_{};
    std::array<int, 4> sizes_{5, 5, 5, 5};
    QWidget* client_ = nullptr;
};

}  // namespace quillon
