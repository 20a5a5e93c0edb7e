// The icon set and the export operation: one icon group in memory, and ExportIcon, which
// selects a group of an ICO file or a module and saves it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace iconexport {

// BITMAPINFOHEADER: its length, and where its biSizeImage field lies.
inline constexpr std::size_t kBitmapInfoHeaderSize = 40;
inline constexpr std::size_t kSizeImageOffset = 20;

// One image of a group, its bytes exactly as the source stores them.
struct IconImage {
    // biWidth, and biHeight halved (it covers the colour bitmap and the mask); for a PNG image
    // the width and height of its IHDR chunk.
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    // What the directory entry states: biPlanes and biBitCount; 1 and the pixel depth for PNG.
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    // Stored as a PNG stream rather than a BITMAPINFOHEADER bitmap.
    bool isPng = false;
    // The header, colour table, colour (XOR) bitmap and AND mask; the header starts at byte 0.
    std::vector<std::uint8_t> data;
    // Positions in data of the colour bitmap and of the mask, as the header describes them.
    // None for PNG, or where the header's numbers give no position at all (they may also lie
    // outside data: nothing here is trusted until it is checked against data).
    std::optional<std::int64_t> xorBits;
    std::optional<std::int64_t> andBits;

    std::uint32_t dataSize() const { return static_cast<std::uint32_t>(data.size()); }
};

// One icon group. It owns its images; releasing the set is letting it go.
struct IconSet {
    std::string title;      // the ICO file's path for a set read from an ICO file
    std::string modulePath; // the module's path for a set loaded from a module
    std::vector<IconImage> images;

    std::uint32_t imageCount() const { return static_cast<std::uint32_t>(images.size()); }
};

// The last three bytes of a path (all of it when shorter), ASCII letters in lower case.
std::string PathKind(std::string_view path);

// What became of the selected group, beyond the count that ExportIcon returns.
enum class ExportOutcome {
    notSelected,   // no group at that index: the source is of no known kind, or has fewer groups
    saved,         // the target file was written (mode 1: the image is on the clipboard)
    unreadable,    // the group was selected but could not be read
    ignoredTarget, // the target's kind is neither "ico" nor "bmp", or the image cannot go there
    writeFailed,   // the target could not be written; an existing file keeps its content
};

// Saves group `index` (1-based) of `source` to `target`. Mode 0 writes the target, mode 1
// copies the first image to the clipboard; an absent or other mode is 1, an absent target is
// empty, an absent index or one below 1 is 1. Returns the number of icon groups of the source
// when the index lies within it, else 0.
std::int32_t ExportIcon(std::string_view source, std::optional<std::int32_t> mode,
                        std::optional<std::string_view> target, std::optional<std::int32_t> index,
                        ExportOutcome* outcome = nullptr);

} // namespace iconexport
