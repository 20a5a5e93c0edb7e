// Images stored as PNG: told by their signature, written unchanged, listed by their IHDR.
#include "ico_writer.h"
#include "icon_export.h"
#include "icon_sources.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

using namespace iconexport;
using namespace testing_support;

void AppendBigEndian32(ByteVector& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// The signature and an IHDR chunk; nothing here reads further than that.
ByteVector PngStart(std::uint32_t width, std::uint32_t height, std::uint8_t depth,
                    std::uint8_t colourType) {
    ByteVector png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    AppendBigEndian32(png, 13);
    png.insert(png.end(), {'I', 'H', 'D', 'R'});
    AppendBigEndian32(png, width);
    AppendBigEndian32(png, height);
    png.insert(png.end(), {depth, colourType, 0, 0, 0});
    AppendBigEndian32(png, 0x12345678); // CRC, not examined
    return png;
}

ByteVector Changed(ByteVector bytes, std::size_t at, std::uint8_t value) {
    bytes.at(at) = value;
    return bytes;
}

struct PngCase {
    std::uint8_t depth;
    std::uint8_t colourType;
    std::uint16_t bitCount;
};

TEST(PngImage, DirectoryEntryFromIhdr) {
    const PngCase cases[] = {
        {8, 6, 32}, {16, 6, 64}, {8, 2, 24},  {8, 3, 8},
        {4, 3, 4},  {1, 0, 1},   {16, 0, 16}, {8, 4, 16},
    };
    for (const PngCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "depth " << int{c.depth} << ", colour type " << int{c.colourType});
        IconSet set;
        set.images.emplace_back();
        set.images[0].data = PngStart(256, 48, c.depth, c.colourType);
        ASSERT_TRUE(ParseIconImage(set.images[0]));
        EXPECT_TRUE(set.images[0].isPng);
        EXPECT_EQ(set.images[0].width, 256);
        EXPECT_EQ(set.images[0].height, 48);
        const ByteVector file = EncodeIcoFile(set);
        EXPECT_EQ(file[6], 0); // 256 has no room in a byte
        EXPECT_EQ(file[7], 48);
        EXPECT_EQ(file[8], 0); // no colour count
        EXPECT_EQ(Get16(file, 10), 1u);
        EXPECT_EQ(Get16(file, 12), c.bitCount);
        EXPECT_EQ(ByteVector(file.begin() + 22, file.end()), set.images[0].data);
    }
}

TEST(PngImage, BrokenStartIsRefused) {
    const ByteVector good = PngStart(32, 32, 8, 6);
    const ByteVector cases[] = {
        ByteVector(good.begin(), good.begin() + 8),  // signature alone
        ByteVector(good.begin(), good.begin() + 25), // IHDR cut short
        Changed(good, 12, 'X'),                      // first chunk not IHDR
        Changed(good, 11, 12),                       // IHDR of the wrong length
        Changed(good, 25, 5),                        // no such colour type
    };
    for (const ByteVector& png : cases) {
        IconImage image;
        image.data = png;
        EXPECT_FALSE(ParseIconImage(image));
    }
}

// The fixture holds a real 256 x 256 PNG beside a bitmap; the export keeps its bytes whole.
TEST(PngImage, ExportKeepsThePngAndOpensInImageViewers) {
    const auto source = ReadIcoFile(FixturePath("png.ico"));
    ASSERT_TRUE(source);
    ASSERT_EQ(source->imageCount(), 2u);
    ASSERT_TRUE(source->images[0].isPng);
    TestDirectory dir;
    for (const std::string& from : {FixturePath("png.ico"), FixturePath("sample64.dll")}) {
        SCOPED_TRACE(from);
        const std::int32_t index = from.ends_with(".dll") ? 4 : 1;
        ExportOutcome outcome = ExportOutcome::notSelected;
        ASSERT_GT(ExportIcon(from, 0, dir.Path("png.ico"), index, &outcome), 0);
        ASSERT_EQ(outcome, ExportOutcome::saved);
        const ByteVector file = ReadBytes(dir.Path("png.ico"));
        const ByteVector& png = source->images[0].data;
        ASSERT_EQ(Get32(file, 6 + 12), 38u);
        ASSERT_GE(file.size(), 38 + png.size());
        EXPECT_EQ(ByteVector(file.begin() + 38, file.begin() + 38 + static_cast<long>(png.size())),
                  png);
        EXPECT_EQ(file[6], 0);
        EXPECT_EQ(file[7], 0);
        EXPECT_EQ(Get16(file, 12), 32u);
        EXPECT_EQ(Identify(dir.Path("png.ico")), "PNG 256x256\nICO 32x32\n");
    }
}

} // namespace
