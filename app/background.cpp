#include "background.h"

namespace app {

namespace {

constexpr WORD kBitsPerPixel = 24;

void StretchPicture(HDC dc, const Picture& picture, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = kBitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchDIBits(dc, 0, 0, width, height, 0, 0, picture.width, picture.height,
                    picture.bgr.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

} // namespace

void Background::Paint(HDC dc, int width, int height) {
    if (!decodeTried_) {
        decodeTried_ = true;
        picture_ = DecodeJpeg(jpeg_);
    }
    if (picture_) {
        StretchPicture(dc, *picture_, width, height);
        return;
    }
    const RECT area{0, 0, width, height};
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
}

std::span<const std::uint8_t> ProgramResource(HINSTANCE instance, int id) {
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (!found) {
        return {};
    }
    // Resources of the program's own module stay mapped while it runs; nothing to release.
    HGLOBAL loaded = ::LoadResource(instance, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) {
        return {};
    }
    return {static_cast<const std::uint8_t*>(data), ::SizeofResource(instance, found)};
}

} // namespace app
