// The readers that turn an ICO file or a module's icon group into an IconSet.
#pragma once

#include "icon_export.h"
#include "resource_module.h"

#include <optional>
#include <string>

namespace iconexport {

// No set may hold more image bytes than this: a small file listing one large image many
// times must not make us allocate without bound.
inline constexpr std::uint64_t kMaxIconSetBytes = 64u << 20;

// Derives width, height, bit counts and the bitmap positions from the image's own header.
// False when data holds neither a whole BITMAPINFOHEADER nor a PNG signature with its IHDR.
bool ParseIconImage(IconImage& image);

std::optional<IconSet> ReadIcoFile(const std::string& path);

// Parses an ICO file held in memory; `title` is recorded in the set.
std::optional<IconSet> ParseIcoFile(Bytes file, const std::string& title);

// `groupName` none gives none.
std::optional<IconSet> LoadIconGroup(const std::string& modulePath,
                                     const std::optional<ResourceName>& groupName);

// Loads a group from a module that is already open.
std::optional<IconSet> LoadIconGroupFrom(const ResourceModule& module,
                                         const std::string& modulePath,
                                         const ResourceName& groupName);

} // namespace iconexport
