#pragma once
// Font faces for FontSpec names. Documents name the faces of the system they were written on
// ("Times New Roman", "Courier New", "Arial"); where those are not installed they map to
// installed faces of the same kind, so that layout and drawing agree on one face.

#include <string>
#include <string_view>

#include <QFont>

#include "platform/core/canvas.h"

namespace quillon {

// The installed family used for a FontSpec name: the name itself when installed, else the
// stand-in of a known name or generic family, else a fixed-pitch or serif face. A name may
// be a comma-separated list (as style sheets give families, quoted or not): its first name
// that is installed or has a stand-in is used.
std::string InstalledFontFamily(std::string_view name, bool fixed_pitch);

// The QFont for a FontSpec whose size is counted at 96 logical pixels per inch, for drawing
// on a device of device_dpi that is scaled by device_dpi / 96. Hinting is off, so that its
// advances do not depend on the device's resolution.
QFont MakeQFont(const FontSpec& wanted, int device_dpi);

}  // namespace quillon
