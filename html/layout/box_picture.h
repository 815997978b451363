#pragma once
// The background picture of a block box: which file, how it repeats and where its first
// tile lies, loaded through the document's image loader the first time it is drawn, and
// drawn tiled over the box's padding area (under the content, over the background colour).

#include <memory>
#include <string>

#include "platform/core/rgba_image.h"

namespace quillon {

class Canvas;
class TSectionList;
struct Rect;

struct BoxPicture {
    std::string Name;  // as the document's image loader takes it
    bool RepeatX = true;
    bool RepeatY = true;
    // Where the first tile lies: pixels from the area's top left, or a percentage that
    // puts that point of the picture at that point of the area (50%: centred).
    int X = 0, Y = 0;
    double XPercent = 0, YPercent = 0;  // used when the matching flag is set
    bool XIsPercent = true, YIsPercent = true;

    // The picture, loaded once (nothing when images are not shown or it cannot be read).
    const RgbaImage* Load(TSectionList& doc);

  private:
    std::shared_ptr<const RgbaImage> bitmap_;
    bool tried_ = false;
};

// Draws `picture`'s tiles for a box whose padding area is `area`, only inside `clip` (the
// part of the box one section paints).
void PaintPicture(Canvas& canvas, const Rect& area, const Rect& clip, const RgbaImage& image,
                  const BoxPicture& picture);

}  // namespace quillon
