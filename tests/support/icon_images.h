// Icon images and files built in memory for tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace testing_support {

using ByteVector = std::vector<std::uint8_t>;

inline void Put16(ByteVector& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void Put32(ByteVector& out, std::size_t at, std::uint32_t value) {
    Put16(out, at, value & 0xFFFF);
    Put16(out, at + 2, value >> 16);
}

inline void Append16(ByteVector& out, std::uint32_t value) {
    out.resize(out.size() + 2);
    Put16(out, out.size() - 2, value);
}

inline void Append32(ByteVector& out, std::uint32_t value) {
    out.resize(out.size() + 4);
    Put32(out, out.size() - 4, value);
}

// A square icon bitmap of `size` pixels at `bitCount` bits: header (with a nonzero
// biSizeImage), colour table, colour bits and mask, the pixel bytes varied by `seed`.
inline ByteVector BitmapImage(std::uint32_t size, std::uint16_t bitCount, std::uint8_t seed) {
    const std::uint32_t colours = bitCount <= 8 ? (1u << bitCount) : 0;
    const std::uint32_t stride = 4 * ((bitCount * size + 31) / 32);
    const std::uint32_t maskStride = 4 * ((size + 31) / 32);
    ByteVector image(40 + 4 * colours + stride * size + maskStride * size);
    Put32(image, 0, 40);
    Put32(image, 4, size);
    Put32(image, 8, 2 * size);
    Put16(image, 12, 1);
    Put16(image, 14, bitCount);
    Put32(image, 20, stride * size + maskStride * size);
    for (std::size_t i = 40; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 31 + seed);
    }
    return image;
}

// An ICO file holding `images` in order, with a directory of their sizes.
inline ByteVector IcoFile(const std::vector<ByteVector>& images) {
    ByteVector file(6 + 16 * images.size());
    Put16(file, 2, 1);
    Put16(file, 4, static_cast<std::uint32_t>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        Put32(file, 6 + 16 * i + 8, static_cast<std::uint32_t>(images[i].size()));
        Put32(file, 6 + 16 * i + 12, static_cast<std::uint32_t>(file.size()));
        file.insert(file.end(), images[i].begin(), images[i].end());
    }
    return file;
}

// The image as the ICO writer stores it: biSizeImage cleared.
inline ByteVector AsWritten(ByteVector image) {
    Put32(image, 20, 0);
    return image;
}

// An icon group resource listing `ids` with the sizes of `images`.
inline ByteVector GroupResource(const std::vector<ByteVector>& images,
                                const std::vector<std::uint16_t>& ids) {
    ByteVector group(6 + 14 * images.size());
    Put16(group, 2, 1);
    Put16(group, 4, static_cast<std::uint32_t>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::size_t entry = 6 + 14 * i;
        group[entry] = images[i][4];
        group[entry + 1] = images[i][4];
        Put16(group, entry + 4, images[i][12]);
        Put16(group, entry + 6, images[i][14]);
        Put32(group, entry + 8, static_cast<std::uint32_t>(images[i].size()));
        Put16(group, entry + 12, ids[i]);
    }
    return group;
}

} // namespace testing_support
