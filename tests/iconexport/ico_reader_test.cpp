// Reading ICO files and icon images: the fields derived from each image's own header, the
// directory's place in that, and every way a file can be too short or lie about itself.
#include "icon_sources.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

using namespace iconexport;
using namespace testing_support;

struct HeaderCase {
    const char* what;
    std::uint32_t biSize;
    std::int32_t width;
    std::int32_t biHeight;
    std::uint16_t planes;
    std::uint16_t bitCount;
    std::uint32_t clrUsed;
    std::int32_t height;
    std::uint32_t bitsPerPixel;
    std::int64_t xorBits;
    std::int64_t andBits;
};

TEST(ParseIconImage, PositionsFollowTheHeader) {
    const HeaderCase cases[] = {
        {"4 bits", 40, 32, 64, 1, 4, 0, 32, 4, 104, 104 + 16 * 32},
        {"1 bit", 40, 32, 64, 1, 1, 0, 32, 1, 48, 48 + 4 * 32},
        {"8 bits, 5 colours used", 40, 32, 64, 1, 8, 5, 32, 8, 60, 60 + 32 * 32},
        {"8 bits, 256 colours", 40, 16, 32, 1, 8, 0, 16, 8, 1064, 1064 + 16 * 16},
        {"24 bits", 40, 16, 32, 1, 24, 0, 16, 24, 40, 40 + 48 * 16},
        {"32 bits", 40, 32, 64, 1, 32, 0, 32, 32, 40, 40 + 128 * 32},
        {"planes count in the stride only", 40, 32, 64, 2, 4, 0, 32, 8, 104, 104 + 32 * 32},
        {"colour table length modulo 65536", 40, 16, 32, 1, 8, 0x4001, 16, 8, 44, 44 + 16 * 16},
        {"larger header", 124, 16, 32, 1, 32, 0, 16, 32, 124, 124 + 64 * 16},
        {"odd biHeight", 40, 32, 65, 1, 4, 0, 32, 4, 104, 104 + 16 * 32},
        {"negative biHeight", 40, 32, -64, 1, 4, 0, -32, 4, 104, 104 - 16 * 32},
        {"negative odd biHeight, halved toward zero", 40, 32, -65, 1, 4, 0, -32, 4, 104,
         104 - 16 * 32},
        {"width not a multiple of 32 bits", 40, 5, 10, 1, 4, 0, 5, 4, 104, 104 + 4 * 5},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.what);
        IconImage image;
        image.data = BitmapImage(16, 4, 1);
        Put32(image.data, 0, c.biSize);
        Put32(image.data, 4, static_cast<std::uint32_t>(c.width));
        Put32(image.data, 8, static_cast<std::uint32_t>(c.biHeight));
        Put16(image.data, 12, c.planes);
        Put16(image.data, 14, c.bitCount);
        Put32(image.data, 32, c.clrUsed);
        ASSERT_TRUE(ParseIconImage(image));
        EXPECT_FALSE(image.isPng);
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_EQ(image.bitsPerPixel, c.bitsPerPixel);
        EXPECT_EQ(image.planes, c.planes);
        EXPECT_EQ(image.bitCount, c.bitCount);
        EXPECT_EQ(image.xorBits, c.xorBits);
        EXPECT_EQ(image.andBits, c.andBits);
    }
}

TEST(ParseIconImage, RefusesDataShorterThanItsHeader) {
    for (std::size_t size : {0u, 1u, 20u, 39u}) {
        IconImage image;
        image.data = BitmapImage(16, 4, 1);
        image.data.resize(size);
        EXPECT_FALSE(ParseIconImage(image)) << size << " bytes";
    }
}

// One ICO file as bytes, with each directory entry's offset and size set by hand.
struct Entry {
    std::uint32_t size;
    std::uint32_t offset;
};

ByteVector WithDirectory(ByteVector body, const std::vector<Entry>& entries) {
    ByteVector file(6 + 16 * entries.size());
    Put16(file, 2, 1);
    Put16(file, 4, static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Put32(file, 6 + 16 * i + 8, entries[i].size);
        Put32(file, 6 + 16 * i + 12, entries[i].offset);
    }
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

TEST(ReadIcoFile, ImagesAnywhereInAnyOrderKeptInDirectoryOrder) {
    const ByteVector a = BitmapImage(32, 4, 1);
    const ByteVector b = BitmapImage(16, 8, 2);
    // Body: 7 bytes no entry covers, then b, then a; the directory lists a, b, then a shorter
    // image overlapping the start of a.
    ByteVector body(7, 0xEE);
    body.insert(body.end(), b.begin(), b.end());
    body.insert(body.end(), a.begin(), a.end());
    const std::uint32_t start = 6 + 3 * 16;
    const auto bOffset = start + 7;
    const auto aOffset = static_cast<std::uint32_t>(bOffset + b.size());
    TestDirectory dir;
    const std::string path =
        dir.Write("mixed.ico", WithDirectory(body, {{static_cast<std::uint32_t>(a.size()), aOffset},
                                                    {static_cast<std::uint32_t>(b.size()), bOffset},
                                                    {300, aOffset}}));
    const auto set = ReadIcoFile(path);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->title, path);
    EXPECT_EQ(set->modulePath, "");
    ASSERT_EQ(set->imageCount(), 3u);
    EXPECT_EQ(set->images[0].data, a);
    EXPECT_EQ(set->images[1].data, b);
    EXPECT_EQ(set->images[2].data, ByteVector(a.begin(), a.begin() + 300));
    EXPECT_EQ(set->images[2].bitsPerPixel, 4u);
}

TEST(ReadIcoFile, DirectoryValuesGiveWayToTheImageHeaders) {
    ByteVector file = IcoFile({BitmapImage(32, 8, 3)});
    file[6] = 16;       // bWidth
    file[7] = 16;       // bHeight
    file[8] = 2;        // bColorCount
    Put16(file, 10, 1); // wPlanes
    Put16(file, 12, 1); // wBitCount
    TestDirectory dir;
    const auto set = ReadIcoFile(dir.Write("lies.ico", file));
    ASSERT_TRUE(set);
    ASSERT_EQ(set->imageCount(), 1u);
    EXPECT_EQ(set->images[0].width, 32);
    EXPECT_EQ(set->images[0].height, 32);
    EXPECT_EQ(set->images[0].bitsPerPixel, 8u);
}

TEST(ReadIcoFile, EveryBitCountOfTheFixture) {
    const auto set = ReadIcoFile(FixturePath("bitmaps.ico"));
    ASSERT_TRUE(set);
    std::vector<std::uint32_t> bits;
    for (const IconImage& image : set->images) {
        bits.push_back(image.bitsPerPixel);
    }
    EXPECT_EQ(bits, (std::vector<std::uint32_t>{1, 4, 8, 24, 32}));
}

TEST(ReadIcoFile, NoImagesIsAnEmptySet) {
    TestDirectory dir;
    const auto set = ReadIcoFile(dir.Write("empty.ico", {0, 0, 1, 0, 0, 0}));
    ASSERT_TRUE(set);
    EXPECT_EQ(set->imageCount(), 0u);
}

ByteVector WithHeader(ByteVector file, std::uint8_t reserved, std::uint8_t type) {
    file.at(0) = reserved;
    file.at(2) = type;
    return file;
}

TEST(ReadIcoFile, MalformedFilesGiveNone) {
    const ByteVector image = BitmapImage(16, 4, 4);
    const ByteVector good = IcoFile({image});
    const auto size = static_cast<std::uint32_t>(image.size());
    struct Case {
        const char* what;
        ByteVector file;
    };
    const Case cases[] = {
        {"empty file", {}},
        {"five bytes", {0, 0, 1, 0, 0}},
        {"idReserved 1", WithHeader(good, 1, 1)},
        {"a cursor file", WithHeader(good, 0, 2)},
        {"directory shorter than idCount entries", ByteVector(good.begin(), good.begin() + 6 + 15)},
        {"two entries claimed, one present",
         [&] {
             ByteVector file = good;
             Put16(file, 4, 2);
             file.resize(6 + 16 + 10);
             return file;
         }()},
        {"image runs past the end", ByteVector(good.begin(), good.end() - 1)},
        {"offset past the end", WithDirectory(image, {{size, 1000000}})},
        {"size past the end", WithDirectory(image, {{size + 1, 22}})},
        {"offset plus size wraps 2^32", WithDirectory(image, {{0xFFFFFFFF, 5}})},
        {"size wraps from the last byte", WithDirectory(image, {{2, 0xFFFFFFFF}})},
        {"image shorter than its header", WithDirectory(image, {{39, 22}})},
        {"second of two images bad", WithDirectory(image, {{size, 38}, {size, 39}})},
    };
    TestDirectory dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(ReadIcoFile(dir.Write("bad.ico", c.file)));
        EXPECT_FALSE(ParseIcoFile(c.file, "bad.ico"));
    }
    EXPECT_FALSE(ReadIcoFile(dir.Path("missing.ico")));
    EXPECT_FALSE(ReadIcoFile(dir.Path("")));
}

} // namespace
