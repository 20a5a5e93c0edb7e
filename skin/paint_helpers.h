// Drawing helpers shared by the painters. Each draws through the DC and rectangle it is given.
#pragma once

#include "skin_colours.h"

#include <win32_owners.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace skin {

// An off-screen image of a whole window that painters draw into in window coordinates and
// that reaches the screen in one step.
class WindowPaintBuffer {
public:
    enum class CopyIn : bool { No, Yes };
    enum class CopyOut : bool { No, Yes };

    WindowPaintBuffer(HWND window, CopyIn copyIn);
    WindowPaintBuffer(const WindowPaintBuffer&) = delete;
    WindowPaintBuffer& operator=(const WindowPaintBuffer&) = delete;

    // False when a DC or the bitmap could not be had; then nothing is drawn.
    explicit operator bool() const { return ready_; }
    HDC dc() const { return memory_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    void End(CopyOut copyOut);

private:
    win32::WindowDC window_;
    win32::UniqueMemoryDC memory_;
    win32::UniqueBitmap bitmap_;
    std::optional<win32::SelectedObject> selected_;
    int width_ = 0;
    int height_ = 0;
    bool ready_ = false;
};

void FillGradient4(HDC dc, const RECT& rect, const Gradient& gradient);

// Caption alignment codes: one of three rows times one of three columns.
namespace align {
inline constexpr std::uint32_t TopLeft = 1;
inline constexpr std::uint32_t TopCentre = 2;
inline constexpr std::uint32_t TopRight = 4;
inline constexpr std::uint32_t MiddleLeft = 8;
inline constexpr std::uint32_t MiddleCentre = 16;
inline constexpr std::uint32_t MiddleRight = 32;
inline constexpr std::uint32_t BottomLeft = 64;
inline constexpr std::uint32_t BottomCentre = 128;
inline constexpr std::uint32_t BottomRight = 256;
} // namespace align

std::uint32_t CaptionAlignment(std::uint32_t style);

// Where a block of the given size sits within the rectangle, relative to its top-left corner.
POINT AlignedOffset(const RECT& rect, SIZE block, std::uint32_t alignment);

// One laid-out line of a caption: its bytes within the text and its place in the rectangle.
struct CaptionLine {
    std::size_t begin = 0;
    std::size_t length = 0;
    int width = 0;
    int x = 0;
    int y = 0;
};

struct CaptionLayout {
    std::vector<CaptionLine> lines;
    int lineHeight = 0;
    SIZE size{}; // the widest line, and the lines' height clipped to the rectangle's
};

// Breaks the text into lines that fit the rectangle's width and places them by the alignment,
// measuring with the DC's current font.
CaptionLayout LayOutCaption(HDC dc, std::string_view text, const RECT& rect,
                            std::uint32_t alignment);
// Lays out and draws the caption in the DC's current font and text colour.
void DrawCaption(HDC dc, std::string_view text, const RECT& rect, std::uint32_t alignment,
                 SIZE* size);

// Frames the rectangle twice and leaves it shrunk by the outer frame.
void DrawEditBorder(HDC dc, RECT& rect, std::uint32_t state, std::int32_t scheme);

// Glyph and direction bits added to a state word for DrawArrowButton.
namespace arrow {
inline constexpr std::uint32_t Chevron = 0x01000000;
inline constexpr std::uint32_t Triangle = 0x04000000;
inline constexpr std::uint32_t Left = 0x08000000;
inline constexpr std::uint32_t Up = 0x10000000;
inline constexpr std::uint32_t Right = 0x20000000;
inline constexpr std::uint32_t Down = 0x40000000;
} // namespace arrow

void DrawArrowButton(HDC dc, RECT rect, std::uint32_t flags, std::int32_t scheme);

// Small drawing steps, each creating and deleting what it needs.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
void FrameSolid(HDC dc, const RECT& rect, COLORREF colour);
void Shrink(RECT& rect, int by);

} // namespace skin
