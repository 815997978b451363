#pragma once
// The images of the viewer window's tool buttons: Qt resources named "QUIL_" and the
// button's image name (":/quillon/QUIL_PRINT", ...). The paging images hold the normal
// and the disabled glyph side by side; the icon takes both.

#include <QIcon>
#include <string_view>

#include "engine/rep_viewer_par.h"

namespace quillon {

// The image name of a button ("Print", "PrintSetup", ...; empty for vbPageNumber).
std::string_view ViewerButtonImageName(TViewerBtn button);
// The icon of a button; a null icon for vbPageNumber.
QIcon ViewerButtonIcon(TViewerBtn button);

}  // namespace quillon
