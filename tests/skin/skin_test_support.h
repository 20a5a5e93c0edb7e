// Windows, canvases and measurements shared by the skin's tests.
#pragma once

#include <win32_owners.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace skintest {

// A 32-bit off-screen image whose pixels the painters draw into and the tests read back.
class Canvas {
public:
    Canvas(int width, int height);
    HDC dc() const { return dc_.get(); }
    RECT rect() const { return {0, 0, width_, height_}; }
    COLORREF Pixel(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }
    void Fill(COLORREF colour);

private:
    int width_;
    int height_;
    win32::UniqueMemoryDC dc_;
    win32::UniqueBitmap bitmap_;
    std::optional<win32::SelectedObject> selected_;
};

// A shown top-level window with the default procedure, for controls to live in.
win32::UniqueWindow MakeParent(int width = 400, int height = 300);
win32::UniqueWindow MakeChild(HWND parent, const char* className, const char* text,
                              std::uint32_t style, int x = 10, int y = 10, int width = 120,
                              int height = 40, std::uint32_t exStyle = 0);

void PumpMessages();

// Live GDI objects of this process.
std::int64_t GdiObjectCount();

bool Near(COLORREF actual, COLORREF expected, int tolerance);
std::string Hex(COLORREF colour);

} // namespace skintest
