#include "clipboard.h"

#include "ico_writer.h"
#include "win32_owners.h"

#include <cstring>

namespace iconexport {

bool PlaceImageOnClipboard(const IconImage& image) {
    const auto dib = ColourBitmapDib(image);
    if (!dib) {
        return false;
    }
    win32::UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, dib->size()));
    if (!block) {
        return false;
    }
    {
        const win32::GlobalLock lock(block.get());
        if (!lock.data()) {
            return false;
        }
        std::memcpy(lock.data(), dib->data(), dib->size());
    }
    const win32::ClipboardSession clipboard;
    if (!clipboard.open() || !::EmptyClipboard() || !::SetClipboardData(CF_DIB, block.get())) {
        return false;
    }
    // The clipboard owns the block from here on.
    block.release();
    return true;
}

} // namespace iconexport
