#include "ico_writer.h"

#include "file_access.h"

namespace iconexport {
namespace {

constexpr std::size_t kIcoHeaderSize = 6;
constexpr std::size_t kIcoEntrySize = 16;
constexpr std::size_t kHeightOffset = 8; // biHeight
constexpr std::size_t kBitmapFileHeaderSize = 14;

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void SetU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// 2^p for fewer than 8 bits per pixel, else 0 ("256 or more colours").
std::uint8_t ColourCount(const IconImage& image) {
    const std::uint32_t bits = static_cast<std::uint32_t>(image.planes) * image.bitCount;
    return (image.isPng || bits >= 8) ? std::uint8_t{0} : static_cast<std::uint8_t>(1u << bits);
}

} // namespace

std::vector<std::uint8_t> EncodeIcoFile(const IconSet& set) {
    std::size_t total = kIcoHeaderSize + kIcoEntrySize * set.images.size();
    for (const IconImage& image : set.images) {
        total += image.data.size();
    }
    std::vector<std::uint8_t> out;
    out.reserve(total);
    PutU16(out, 0); // idReserved
    PutU16(out, 1); // idType: icon
    PutU16(out, set.imageCount() & 0xFFFF);
    // The readers cap a set far below 4 GB, so every offset fits its 32-bit field.
    auto offset = static_cast<std::uint32_t>(kIcoHeaderSize + kIcoEntrySize * set.images.size());
    for (const IconImage& image : set.images) {
        out.push_back(static_cast<std::uint8_t>(image.width));
        out.push_back(static_cast<std::uint8_t>(image.height));
        out.push_back(ColourCount(image));
        out.push_back(0); // bReserved
        PutU16(out, image.planes);
        PutU16(out, image.bitCount);
        PutU32(out, image.dataSize());
        PutU32(out, offset);
        offset += image.dataSize();
    }
    for (const IconImage& image : set.images) {
        const std::size_t start = out.size();
        out.insert(out.end(), image.data.begin(), image.data.end());
        // biSizeImage is dropped; a PNG's bytes there belong to its IHDR chunk and stay, and an
        // image too short to hold the field has none to drop.
        if (!image.isPng && image.data.size() >= kSizeImageOffset + sizeof(std::uint32_t)) {
            SetU32(out, start + kSizeImageOffset, 0);
        }
    }
    return out;
}

bool WriteIcoFile(const IconSet& set, const std::string& targetPath) {
    return ReplaceFileContent(targetPath, EncodeIcoFile(set));
}

std::optional<std::vector<std::uint8_t>> ColourBitmapDib(const IconImage& image) {
    if (image.isPng || !image.xorBits || !image.andBits ||
        *image.xorBits < static_cast<std::int64_t>(kBitmapInfoHeaderSize) ||
        *image.andBits < *image.xorBits ||
        static_cast<std::uint64_t>(*image.andBits) > image.data.size()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> dib(image.data.begin(),
                                  image.data.begin() + static_cast<std::ptrdiff_t>(*image.andBits));
    SetU32(dib, kHeightOffset, static_cast<std::uint32_t>(image.height));
    SetU32(dib, kSizeImageOffset, 0);
    return dib;
}

bool WriteBmpFile(const IconSet& set, const std::string& targetPath) {
    if (set.images.empty()) {
        return false;
    }
    const IconImage& image = set.images.front();
    const auto dib = ColourBitmapDib(image);
    if (!dib) {
        return false;
    }
    std::vector<std::uint8_t> file;
    file.reserve(kBitmapFileHeaderSize + dib->size());
    file.push_back('B');
    file.push_back('M');
    PutU32(file, static_cast<std::uint32_t>(kBitmapFileHeaderSize + dib->size()));
    PutU32(file, 0); // bfReserved1, bfReserved2
    PutU32(file, static_cast<std::uint32_t>(kBitmapFileHeaderSize +
                                            static_cast<std::uint64_t>(*image.xorBits)));
    file.insert(file.end(), dib->begin(), dib->end());
    return ReplaceFileContent(targetPath, file);
}

} // namespace iconexport
