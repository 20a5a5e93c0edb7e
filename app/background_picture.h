// The background picture: a JPEG decoded with libjpeg into rows of blue, green and red bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace app {

struct Picture {
    int width = 0;
    int height = 0;
    // Bytes per row: three per pixel, padded to a multiple of four as a DIB wants them.
    int stride = 0;
    // Top row first.
    std::vector<std::uint8_t> bgr;
};

// None for anything libjpeg cannot decode cleanly: garbage, a cut-off file, corrupt data
// (which libjpeg only warns about; a damaged picture is not shown half grey).
std::optional<Picture> DecodeJpeg(std::span<const std::uint8_t> bytes);

} // namespace app
