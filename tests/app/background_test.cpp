// The background picture: the program's own JPEG decodes, damaged ones do not, and without a
// picture the window shows the button face colour.
#include "background.h"
#include "resource_ids.h"

#include "win32_owners.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using namespace app;

constexpr int kPictureWidth = 1024;
constexpr int kPictureHeight = 576;

std::vector<std::uint8_t> ProgramPicture() {
    const auto bytes = ProgramResource(::GetModuleHandleA(nullptr), IDR_BACKGROUND);
    return {bytes.begin(), bytes.end()};
}

// A 32-bit top-down DIB section selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height) : width_(width) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        selected_.emplace(dc_.get(), bitmap_.get());
    }
    HDC dc() const { return dc_.get(); }
    COLORREF Pixel(int x, int y) const {
        ::GdiFlush();
        const std::uint32_t bgra = static_cast<const std::uint32_t*>(bits_)[y * width_ + x];
        return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }

private:
    int width_;
    void* bits_ = nullptr;
    win32::UniqueMemoryDC dc_{::CreateCompatibleDC(nullptr)};
    win32::UniqueBitmap bitmap_;
    std::optional<win32::SelectedObject> selected_;
};

int ColourDistance(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

TEST(DecodeJpeg, DecodesTheProgramsOwnPicture) {
    const auto picture = DecodeJpeg(ProgramPicture());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, kPictureWidth);
    EXPECT_EQ(picture->height, kPictureHeight);
    EXPECT_EQ(picture->stride, kPictureWidth * 3);
    EXPECT_EQ(picture->bgr.size(), std::size_t{kPictureWidth} * 3 * kPictureHeight);
}

std::vector<std::uint8_t> Garbage(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::uint32_t state = 12345;
    for (auto& byte : bytes) {
        state = state * 1103515245U + 12345U;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

TEST(DecodeJpeg, RefusesWhatCannotBeDecodedCleanly) {
    const auto whole = ProgramPicture();
    auto cut = [&](std::size_t size) {
        return std::vector<std::uint8_t>(whole.begin(),
                                         whole.begin() + static_cast<std::ptrdiff_t>(size));
    };
    auto afterMarker = Garbage(4096);
    afterMarker[0] = 0xFF;
    afterMarker[1] = 0xD8; // a JPEG's start marker, then noise
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"garbage", Garbage(4096)},
        {"start marker and garbage", afterMarker},
        {"the first two bytes", cut(2)},
        {"headers only", cut(600)},
        {"cut in half", cut(whole.size() / 2)},
        {"last byte missing", cut(whole.size() - 2)},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(DecodeJpeg(c.bytes)) << c.what;
    }
}

TEST(Background, PaintsThePictureStretchedOrTheButtonFace) {
    const auto whole = ProgramPicture();
    const std::vector<std::uint8_t> truncated(
        whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
    const auto garbage = Garbage(2048);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    for (const auto* bytes : {&truncated, &garbage}) {
        Background background(*bytes);
        Canvas canvas(64, 48);
        background.Paint(canvas.dc(), 64, 48);
        background.Paint(canvas.dc(), 64, 48); // the second paint does not try again
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{63, 47}, std::pair{31, 20}}) {
            EXPECT_EQ(canvas.Pixel(x, y), face) << x << "," << y;
        }
    }

    // At its own size the picture arrives unchanged, or nearly so after halftoning.
    const auto picture = DecodeJpeg(whole);
    ASSERT_TRUE(picture);
    Background background(whole);
    Canvas canvas(kPictureWidth, kPictureHeight);
    background.Paint(canvas.dc(), kPictureWidth, kPictureHeight);
    for (const auto& [x, y] : {std::pair{10, 10}, std::pair{900, 60}, std::pair{120, 480}}) {
        const std::uint8_t* bgr = picture->bgr.data() + y * picture->stride + x * 3;
        EXPECT_LE(ColourDistance(canvas.Pixel(x, y), RGB(bgr[2], bgr[1], bgr[0])), 24)
            << x << "," << y;
    }
}

} // namespace
