// The main window's background: the JPEG resource stretched over the client area.
#pragma once

#include "background_picture.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

namespace app {

class Background {
public:
    // `jpeg` must outlive this; the program's own resource does.
    explicit Background(std::span<const std::uint8_t> jpeg) : jpeg_(jpeg) {}

    // Decodes on the first call and keeps the result. Without a picture the area is filled
    // with the button face colour.
    void Paint(HDC dc, int width, int height);

private:
    std::span<const std::uint8_t> jpeg_;
    bool decodeTried_ = false;
    std::optional<Picture> picture_;
};

// The bytes of an RCDATA resource of this program; empty when it is missing.
std::span<const std::uint8_t> ProgramResource(HINSTANCE instance, int id);

} // namespace app
