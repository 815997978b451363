#pragma once
// The lines of an image placeholder's ALT text: broken at spaces to a width, one line at a
// time, so that a placeholder only a few lines high does not wrap the whole of a long text.
// Each line measures only its own characters (and at most as many again), which keeps the
// wrapping of any text linear in its length.

#include <optional>
#include <string_view>
#include <vector>

#include "platform/core/canvas.h"

namespace quillon {

class AltTextLines {
  public:
    // Lines of `text` no wider than `width` in the canvas's current font.
    AltTextLines(Canvas& canvas, std::u32string_view text, int width)
        : canvas_(canvas), rest_(text), width_(width) {}

    // The next line: the longest run of words that fits, ending before a space, or a whole
    // word when even the first is wider than the line (a text without a space is one
    // line). Blanks after a break are skipped. Empty once the text is used up.
    std::optional<std::u32string_view> Next();

  private:
    Canvas& canvas_;
    std::u32string_view rest_;
    int width_;
    std::vector<int> widths_;
};

}  // namespace quillon
