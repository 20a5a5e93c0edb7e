// The clipboard copy of an icon image: its colour bitmap as a device-independent bitmap.
#pragma once

#include "icon_export.h"

namespace iconexport {

// True when the image's colour bitmap is now on the clipboard; false where there is no
// clipboard, the image is a PNG, or its bitmap cannot be had.
bool PlaceImageOnClipboard(const IconImage& image);

} // namespace iconexport
