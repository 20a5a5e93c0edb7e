// Writing an IconSet as an ICO file, and its first image's colour bitmap as a BMP file or DIB.
#pragma once

#include "icon_export.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace iconexport {

// The ICO file's bytes: header, a directory built afresh from the images, then the images,
// each with biSizeImage written as 0 (PNG images unchanged).
std::vector<std::uint8_t> EncodeIcoFile(const IconSet& set);

// True when the file was written in full; otherwise an existing file keeps its content.
bool WriteIcoFile(const IconSet& set, const std::string& targetPath);

// The colour bitmap of a bitmap image as a packed DIB: its header with the height halved, the
// colour table and the XOR bits. None for a PNG image or one whose parts lie outside its data.
std::optional<std::vector<std::uint8_t>> ColourBitmapDib(const IconImage& image);

// The first image's colour bitmap as a BMP file. False when there is none or it cannot be written.
bool WriteBmpFile(const IconSet& set, const std::string& targetPath);

} // namespace iconexport
