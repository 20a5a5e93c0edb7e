#include "icon_sources.h"

#include "file_access.h"

#include <algorithm>
#include <array>
#include <functional>

namespace iconexport {
namespace {

constexpr std::uint64_t kIcoHeaderSize = 6;
constexpr std::uint64_t kIcoEntrySize = 16;
constexpr std::uint64_t kGroupHeaderSize = 6;
constexpr std::uint64_t kGroupEntrySize = 14;
constexpr std::uint16_t kIcoType = 1;

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t kPngIhdrLength = 13;
constexpr std::uint32_t kPngIhdrType = 0x49484452; // "IHDR"

bool IsPng(Bytes data) {
    return data.size() >= kPngSignature.size() &&
           std::equal(kPngSignature.begin(), kPngSignature.end(), data.begin());
}

// Samples per pixel of a PNG colour type; none for a type PNG does not define.
std::optional<std::uint16_t> PngChannels(std::uint8_t colourType) {
    switch (colourType) {
    case 0:
        return 1; // grey
    case 2:
        return 3; // RGB
    case 3:
        return 1; // palette index
    case 4:
        return 2; // grey and alpha
    case 6:
        return 4; // RGBA
    default:
        return std::nullopt;
    }
}

bool ParsePngImage(IconImage& image) {
    const ByteReader png(image.data);
    // The signature, then the first chunk, which must be IHDR.
    const auto length = png.U32BigEndian(8);
    const auto type = png.U32BigEndian(12);
    const auto width = png.U32BigEndian(16);
    const auto height = png.U32BigEndian(20);
    const auto bitDepth = png.U8(24);
    const auto colourType = png.U8(25);
    if (!length || *length != kPngIhdrLength || !type || *type != kPngIhdrType || !width ||
        !height || !bitDepth || !colourType) {
        return false;
    }
    const auto channels = PngChannels(*colourType);
    if (!channels) {
        return false;
    }
    image.isPng = true;
    image.width = static_cast<std::int32_t>(*width);
    image.height = static_cast<std::int32_t>(*height);
    image.planes = 1;
    image.bitCount = static_cast<std::uint16_t>(*bitDepth * *channels);
    image.bitsPerPixel = image.bitCount;
    image.xorBits.reset();
    image.andBits.reset();
    return true;
}

// Entries of the colour table: biClrUsed when set, else by biBitCount alone.
std::uint64_t ColourTableEntries(std::uint32_t clrUsed, std::uint16_t bitCount) {
    if (clrUsed != 0) {
        return clrUsed;
    }
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

} // namespace

bool ParseIconImage(IconImage& image) {
    if (IsPng(image.data)) {
        return ParsePngImage(image);
    }
    const ByteReader header(image.data);
    if (!header.Has(0, kBitmapInfoHeaderSize)) {
        return false;
    }
    const std::uint32_t biSize = *header.U32(0);
    const std::int32_t biWidth = *header.I32(4);
    const std::int32_t biHeight = *header.I32(8);
    const std::uint16_t biPlanes = *header.U16(12);
    const std::uint16_t biBitCount = *header.U16(14);
    const std::uint32_t biClrUsed = *header.U32(32);

    image.isPng = false;
    image.width = biWidth;
    image.height = biHeight / 2;
    image.planes = biPlanes;
    image.bitCount = biBitCount;
    image.bitsPerPixel = static_cast<std::uint32_t>(biPlanes) * biBitCount;

    // The colour table's length is taken modulo 65536, as the format's readers always have.
    const std::int64_t colourTableBytes =
        static_cast<std::int64_t>((ColourTableEntries(biClrUsed, biBitCount) * 4) & 0xFFFF);
    // At most about 2^63 in magnitude (two 16-bit factors and a 32-bit one), so it fits.
    const std::int64_t rowBits = static_cast<std::int64_t>(image.bitsPerPixel) * biWidth + 31;
    const std::int64_t stride = 4 * (rowBits >= 0 ? rowBits / 32 : -((-rowBits + 31) / 32));
    std::int64_t xorBits = static_cast<std::int64_t>(biSize) + colourTableBytes;
    std::int64_t maskOffset = 0;
    std::int64_t andBits = 0;
    image.xorBits = xorBits;
    if (__builtin_mul_overflow(stride, static_cast<std::int64_t>(image.height), &maskOffset) ||
        __builtin_add_overflow(xorBits, maskOffset, &andBits)) {
        image.andBits.reset();
    } else {
        image.andBits = andBits;
    }
    return true;
}

namespace {

using IcoByteSource = std::function<bool(std::uint64_t offset, std::span<std::uint8_t> into)>;

// Reads an ICO file of `fileSize` bytes through `readAt`: the header, the directory, then
// each image at its own offset, so bytes that no entry covers are never read. Everything the
// file claims is compared with its real size before anything is allocated.
std::optional<IconSet> ReadIco(std::uint64_t fileSize, const IcoByteSource& readAt,
                               const std::string& title) {
    std::array<std::uint8_t, kIcoHeaderSize> header{};
    if (!readAt(0, header)) {
        return std::nullopt;
    }
    const ByteReader head(header);
    if (*head.U16(0) != 0 || *head.U16(2) != kIcoType) {
        return std::nullopt;
    }
    const std::uint16_t count = *head.U16(4);
    const std::uint64_t directorySize = count * kIcoEntrySize;
    if (fileSize < kIcoHeaderSize || directorySize > fileSize - kIcoHeaderSize) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> directory(static_cast<std::size_t>(directorySize));
    if (!readAt(kIcoHeaderSize, directory)) {
        return std::nullopt;
    }
    const ByteReader entries(directory);
    IconSet set;
    set.title = title;
    set.images.resize(count);
    std::uint64_t total = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint32_t bytesInRes = *entries.U32(i * kIcoEntrySize + 8);
        const std::uint32_t imageOffset = *entries.U32(i * kIcoEntrySize + 12);
        total += bytesInRes;
        if (imageOffset > fileSize || bytesInRes > fileSize - imageOffset ||
            total > kMaxIconSetBytes) {
            return std::nullopt;
        }
        IconImage& image = set.images[static_cast<std::size_t>(i)];
        image.data.resize(bytesInRes);
        if (!readAt(imageOffset, image.data) || !ParseIconImage(image)) {
            return std::nullopt;
        }
    }
    return set;
}

} // namespace

std::optional<IconSet> ParseIcoFile(Bytes file, const std::string& title) {
    const ByteReader ico(file);
    const auto readAt = [&ico](std::uint64_t offset, std::span<std::uint8_t> into) {
        const auto bytes = ico.Sub(offset, into.size());
        if (bytes) {
            std::copy(bytes->begin(), bytes->end(), into.begin());
        }
        return bytes.has_value();
    };
    return ReadIco(ico.size(), readAt, title);
}

std::optional<IconSet> ReadIcoFile(const std::string& path) {
    const auto file = ExclusiveFile::Open(path);
    const auto fileSize = file ? file->Size() : std::nullopt;
    if (!fileSize) {
        return std::nullopt;
    }
    const auto readAt = [&file](std::uint64_t offset, std::span<std::uint8_t> into) {
        return file->ReadAt(offset, into);
    };
    return ReadIco(*fileSize, readAt, path);
}

std::optional<IconSet> LoadIconGroupFrom(const ResourceModule& module,
                                         const std::string& modulePath,
                                         const ResourceName& groupName) {
    const auto group = module.Find(kResourceTypeGroupIcon, groupName, std::nullopt);
    if (!group) {
        return std::nullopt;
    }
    const ByteReader directory(group->bytes);
    const auto count = directory.U16(4);
    if (!count || !directory.Has(kGroupHeaderSize, *count * kGroupEntrySize)) {
        return std::nullopt;
    }
    IconSet set;
    set.modulePath = modulePath;
    set.images.resize(*count);
    std::uint64_t total = 0;
    for (std::uint64_t i = 0; i < *count; ++i) {
        const std::uint64_t entry = kGroupHeaderSize + i * kGroupEntrySize;
        const std::uint32_t bytesInRes = *directory.U32(entry + 8);
        const std::uint16_t id = *directory.U16(entry + 12);
        const auto icon = module.Find(kResourceTypeIcon, id, group->language);
        if (!icon) {
            return std::nullopt;
        }
        // A length in alignment units overstates the image; the group knows its true size.
        const Bytes bytes =
            icon->padded ? icon->bytes.first(std::min<std::size_t>(bytesInRes, icon->bytes.size()))
                         : icon->bytes;
        total += bytes.size();
        if (total > kMaxIconSetBytes) {
            return std::nullopt;
        }
        IconImage& image = set.images[static_cast<std::size_t>(i)];
        image.data.assign(bytes.begin(), bytes.end());
        if (!ParseIconImage(image)) {
            return std::nullopt;
        }
    }
    return set;
}

std::optional<IconSet> LoadIconGroup(const std::string& modulePath,
                                     const std::optional<ResourceName>& groupName) {
    const auto module = OpenResourceModule(modulePath);
    if (!module || !groupName) {
        return std::nullopt;
    }
    return LoadIconGroupFrom(*module, modulePath, *groupName);
}

} // namespace iconexport
