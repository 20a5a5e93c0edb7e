#include "clipboard.h"

namespace iconexport {

// Away from Windows there is no clipboard to place the image on.
bool PlaceImageOnClipboard(const IconImage&) {
    return false;
}

} // namespace iconexport
