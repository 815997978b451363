#pragma once
// Events that a report passes on to its viewer: links, forms, images and printed pages.
// The sender is the component that raises them (the viewer).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/component.h"
#include "platform/core/rgba_image.h"

namespace quillon {

class Canvas;

// A link was clicked; Handled starts false.
using THotSpotClickEvent =
    std::function<void(TComponent& Sender, const std::string& SRC, bool& Handled)>;
// The mouse is over a link (SRC empty: it left the link).
using THotSpotEvent = std::function<void(TComponent& Sender, const std::string& SRC)>;
// A form of the report was submitted.
using TFormSubmitEvent =
    std::function<void(TComponent& Sender, const std::string& Action, const std::string& Method,
                       const std::vector<std::string>& Results)>;
// An image is wanted as bytes (Stream starts empty: the image is loaded as usual).
using TGetImageEvent =
    std::function<void(TComponent& Sender, const std::string& SRC, std::string& Stream)>;
// An image is wanted as a bitmap (Bitmap starts null) with its transparent colour.
using TGetBitmapEvent = std::function<void(TComponent& Sender, const std::string& SRC,
                                           std::shared_ptr<RgbaImage>& Bitmap, Color& Color)>;
// Drawing on a printed page before or after its body; StopPrinting starts false.
using TPagePrinted = std::function<void(TComponent& Sender, Canvas& Canvas, int NumPage, int W,
                                        int H, bool& StopPrinting)>;

}  // namespace quillon
