// The ICO writer: the file's layout byte for byte, the directory built from the images' own
// headers, and a target that is either replaced whole or left as it was.
#include "ico_writer.h"
#include "icon_sources.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace iconexport;
using namespace testing_support;

IconImage Parsed(ByteVector data) {
    IconImage image;
    image.data = std::move(data);
    EXPECT_TRUE(ParseIconImage(image));
    return image;
}

IconSet SetOf(std::vector<ByteVector> images) {
    IconSet set;
    for (auto& data : images) {
        set.images.push_back(Parsed(std::move(data)));
    }
    return set;
}

ByteVector WithoutSizeImage(ByteVector image) {
    for (std::size_t at = 20; at < 24; ++at) {
        image.at(at) = 0;
    }
    return image;
}

TEST(IcoWriter, TwoImagesGiveTheFileOfTheFormatsExample) {
    ByteVector large = BitmapImage(32, 4, 1);
    ByteVector small = BitmapImage(16, 4, 2);
    Put32(large, 20, 512);
    ASSERT_EQ(large.size(), 744u);
    ASSERT_EQ(small.size(), 296u);
    const IconSet set = SetOf({large, small});
    TestDirectory dir;
    ASSERT_TRUE(WriteIcoFile(set, dir.Path("two.ico")));

    const ByteVector file = ReadBytes(dir.Path("two.ico"));
    ASSERT_EQ(file.size(), 1078u);
    const ByteVector header = {0x00, 0x00, 0x01, 0x00, 0x02, 0x00, 0x20, 0x20, 0x10, 0x00,
                               0x01, 0x00, 0x04, 0x00, 0xE8, 0x02, 0x00, 0x00, 0x26, 0x00,
                               0x00, 0x00, 0x10, 0x10, 0x10, 0x00, 0x01, 0x00, 0x04, 0x00,
                               0x28, 0x01, 0x00, 0x00, 0x0E, 0x03, 0x00, 0x00};
    EXPECT_EQ(ByteVector(file.begin(), file.begin() + 38), header);
    // Each image whole, biSizeImage alone written as 0.
    EXPECT_EQ(ByteVector(file.begin() + 38, file.begin() + 782), WithoutSizeImage(large));
    EXPECT_EQ(ByteVector(file.begin() + 782, file.end()), WithoutSizeImage(small));
    EXPECT_EQ(Get32(large, 20), 512u) << "the set itself keeps its bytes";
}

TEST(IcoWriter, EmptySetIsAHeaderAlone) {
    EXPECT_EQ(EncodeIcoFile(IconSet{}), (ByteVector{0x00, 0x00, 0x01, 0x00, 0x00, 0x00}));
}

struct EntryCase {
    std::uint16_t planes;
    std::uint16_t bitCount;
    std::int32_t width;
    std::int32_t biHeight;
    std::uint8_t colourCount;
    std::uint8_t entryWidth;
    std::uint8_t entryHeight;
};

TEST(IcoWriter, DirectoryEntryComesFromTheImageHeader) {
    const EntryCase cases[] = {
        {1, 0, 16, 32, 1, 16, 16},    {1, 1, 16, 32, 2, 16, 16},   {1, 2, 16, 32, 4, 16, 16},
        {1, 3, 16, 32, 8, 16, 16},    {1, 4, 16, 32, 16, 16, 16},  {1, 5, 16, 32, 32, 16, 16},
        {1, 6, 16, 32, 64, 16, 16},   {1, 7, 16, 32, 128, 16, 16}, {1, 8, 16, 32, 0, 16, 16},
        {1, 24, 16, 32, 0, 16, 16},   {1, 32, 16, 32, 0, 16, 16},  {0, 4, 16, 32, 1, 16, 16},
        {2, 4, 16, 32, 0, 16, 16},    {1, 32, 256, 512, 0, 0, 0},  {1, 8, 48, 97, 0, 48, 48},
        {1, 4, 300, 600, 16, 44, 44},
    };
    for (const EntryCase& c : cases) {
        ByteVector data = BitmapImage(16, 4, 3);
        Put32(data, 4, static_cast<std::uint32_t>(c.width));
        Put32(data, 8, static_cast<std::uint32_t>(c.biHeight));
        Put16(data, 12, c.planes);
        Put16(data, 14, c.bitCount);
        const ByteVector file = EncodeIcoFile(SetOf({data}));
        SCOPED_TRACE(testing::Message() << "planes " << c.planes << ", bits " << c.bitCount << ", "
                                        << c.width << " x " << c.biHeight);
        EXPECT_EQ(file[6], c.entryWidth);
        EXPECT_EQ(file[7], c.entryHeight);
        EXPECT_EQ(file[8], c.colourCount);
        EXPECT_EQ(file[9], 0);
        EXPECT_EQ(Get16(file, 10), c.planes);
        EXPECT_EQ(Get16(file, 12), c.bitCount);
        EXPECT_EQ(Get32(file, 14), data.size());
        EXPECT_EQ(Get32(file, 18), 22u);
    }
}

TEST(IcoWriter, ReplacesALongerFileWholeAndWritesTheSameBytesTwice) {
    const IconSet set = SetOf({BitmapImage(32, 8, 4), BitmapImage(16, 1, 5)});
    TestDirectory dir;
    const std::string target = dir.Write("old.ico", ByteVector(20000, 0xAA));
    ASSERT_TRUE(WriteIcoFile(set, target));
    const ByteVector first = ReadBytes(target);
    EXPECT_EQ(first, EncodeIcoFile(set));
    ASSERT_TRUE(WriteIcoFile(set, target));
    EXPECT_EQ(ReadBytes(target), first);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"old.ico"});
}

// A target that cannot be written keeps what it had, and no temporary file is left behind.
TEST(IcoWriter, FailureLeavesTheOldFileAndNoTemporaryFile) {
    const IconSet set = SetOf({BitmapImage(16, 4, 6)});
    const ByteVector old(100, 0x55);
    struct FailureCase {
        const char* what;
        std::string target;
        std::vector<std::string> namesAfter;
    };
    TestDirectory dir;
    dir.Write("readonly.ico", old);
    ASSERT_EQ(::chmod(dir.Path("readonly.ico").c_str(), 0444), 0);
    fs::create_directory(dir.Path("folder.ico"));
    const FailureCase cases[] = {
        {"missing directory", dir.Path("missing/ 1.ico"), {"folder.ico", "readonly.ico"}},
        {"read-only file", dir.Path("readonly.ico"), {"folder.ico", "readonly.ico"}},
        {"a directory of that name", dir.Path("folder.ico"), {"folder.ico", "readonly.ico"}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(WriteIcoFile(set, c.target));
        EXPECT_EQ(dir.Names(), c.namesAfter);
    }
    EXPECT_EQ(ReadBytes(dir.Path("readonly.ico")), old);
    EXPECT_TRUE(fs::is_directory(dir.Path("folder.ico")));
    EXPECT_FALSE(fs::exists(dir.Path("missing")));
}

// A hand-made image too short to hold biSizeImage is written as it is, and nothing beyond it.
TEST(IcoWriter, ImageShorterThanItsHeaderIsCopiedAsItIs) {
    for (std::size_t size : {0u, 10u, 23u}) {
        IconSet set;
        set.images.emplace_back();
        set.images[0].data = ByteVector(size, 0x77);
        const ByteVector file = EncodeIcoFile(set);
        ASSERT_EQ(file.size(), 22 + size);
        EXPECT_EQ(ByteVector(file.begin() + 22, file.end()), set.images[0].data);
    }
}

} // namespace
