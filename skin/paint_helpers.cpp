#include "paint_helpers.h"

#include "control_skin.h"

#include <algorithm>
#include <array>
#include <string>

namespace skin {
namespace {

constexpr std::size_t MaxDrawnLineBytes = 1023;
constexpr unsigned char LastSingleByte = 0x80;
constexpr COLORREF DisabledGlyph = Rgb(0xCECBC6);

COLOR16 Channel16(COLORREF colour, int shift) {
    return static_cast<COLOR16>(((colour >> shift) & 0xFFu) << 8);
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF colour) {
    return {x, y, Channel16(colour, 0), Channel16(colour, 8), Channel16(colour, 16), 0};
}

bool SameColour(COLORREF a, COLORREF b) {
    return (a & 0xFFFFFFu) == (b & 0xFFFFFFu);
}

int TextWidth(HDC dc, std::string_view text) {
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int LineHeightOf(HDC dc) {
    SIZE size{};
    ::GetTextExtentPoint32A(dc, "a", 1, &size);
    return size.cy;
}

bool IsLeft(std::uint32_t alignment) {
    return alignment & (align::TopLeft | align::MiddleLeft | align::BottomLeft);
}
bool IsRight(std::uint32_t alignment) {
    return alignment & (align::TopRight | align::MiddleRight | align::BottomRight);
}
bool IsTop(std::uint32_t alignment) {
    return alignment & (align::TopLeft | align::TopCentre | align::TopRight);
}
bool IsBottom(std::uint32_t alignment) {
    return alignment & (align::BottomLeft | align::BottomCentre | align::BottomRight);
}

// Splits the text into lines no wider than `width` where a unit allows it.
std::vector<CaptionLine> BreakLines(HDC dc, std::string_view text, int width) {
    std::vector<CaptionLine> lines;
    CaptionLine line;
    bool nextAmpersandShows = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            if (line.width > 0) {
                lines.push_back(line);
            }
            i += 2;
            line = CaptionLine{i};
            continue;
        }
        const std::size_t unit = (byte > LastSingleByte && i + 1 < text.size()) ? 2 : 1;
        // Of each pair of ampersands the first is the mnemonic prefix and takes no room.
        bool measured = true;
        if (byte == '&') {
            measured = nextAmpersandShows;
            nextAmpersandShows = !nextAmpersandShows;
        }
        if (measured) {
            const int unitWidth = TextWidth(dc, text.substr(i, unit));
            if (line.width + unitWidth > width) {
                lines.push_back(line);
                line = CaptionLine{i};
            }
            line.width += unitWidth;
        }
        line.length += unit;
        i += unit;
    }
    lines.push_back(line);
    return lines;
}

void SetPixelIn(HDC dc, int x, int y, COLORREF colour) {
    ::SetPixel(dc, x, y, colour);
}

// Glyph points are written pointing down; the other directions turn them.
POINT Turn(std::uint32_t flags, int cx, int cy, int dx, int dy) {
    if (flags & arrow::Up) {
        return {cx + dx, cy - dy};
    }
    if (flags & arrow::Right) {
        return {cx + dy, cy + dx};
    }
    if (flags & arrow::Left) {
        return {cx - dy, cy + dx};
    }
    return {cx + dx, cy + dy};
}

struct Offset {
    int dx;
    int dy;
};

void DrawChevron(HDC dc, std::uint32_t flags, int cx, int cy, COLORREF colour) {
    static constexpr std::array<std::array<Offset, 3>, 3> Strokes = {{
        {{{-4, -2}, {0, 2}, {5, -3}}},
        {{{-3, -2}, {0, 1}, {4, -3}}},
        {{{-3, -3}, {0, 0}, {4, -4}}},
    }};
    win32::UniquePen pen(::CreatePen(PS_SOLID, 1, colour));
    if (!pen) {
        return;
    }
    win32::SelectedObject selected(dc, pen.get());
    for (const auto& stroke : Strokes) {
        std::array<POINT, 3> points{};
        std::transform(stroke.begin(), stroke.end(), points.begin(),
                       [&](Offset o) { return Turn(flags, cx, cy, o.dx, o.dy); });
        ::Polyline(dc, points.data(), static_cast<int>(points.size()));
    }
}

void DrawTriangle(HDC dc, std::uint32_t flags, int cx, int cy, COLORREF colour) {
    // Rows of 7, 5, 3 and 1 pixels toward the point; the widest row has no centre pixel.
    static constexpr std::array<int, 4> HalfWidths = {3, 2, 1, 0};
    for (int row = 0; row < static_cast<int>(HalfWidths.size()); ++row) {
        const int half = HalfWidths[static_cast<std::size_t>(row)];
        for (int dx = -half; dx <= half; ++dx) {
            if (row == 0 && dx == 0) {
                continue;
            }
            const POINT p = Turn(flags, cx, cy, dx, row - 1);
            SetPixelIn(dc, p.x, p.y, colour);
        }
    }
}

std::size_t ArrowStateIndex(std::uint32_t flags) {
    if (flags & state::Disabled) {
        return 0;
    }
    if (flags & state::Pressed) {
        return 1;
    }
    return (flags & state::Hot) ? 2 : 3;
}

} // namespace

WindowPaintBuffer::WindowPaintBuffer(HWND window, CopyIn copyIn) {
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) {
        return;
    }
    width_ = rect.right - rect.left;
    height_ = rect.bottom - rect.top;
    window_ = win32::GetWholeWindowDC(window);
    if (!window_ || width_ <= 0 || height_ <= 0) {
        return;
    }
    memory_.reset(::CreateCompatibleDC(window_.get()));
    if (!memory_) {
        return;
    }
    ::SetBkMode(memory_.get(), TRANSPARENT);
    bitmap_.reset(::CreateCompatibleBitmap(window_.get(), width_, height_));
    if (!bitmap_) {
        return;
    }
    selected_.emplace(memory_.get(), bitmap_.get());
    if (!selected_->selected()) {
        return;
    }
    if (copyIn == CopyIn::Yes) {
        ::BitBlt(memory_.get(), 0, 0, width_, height_, window_.get(), 0, 0, SRCCOPY);
    }
    ready_ = true;
}

void WindowPaintBuffer::End(CopyOut copyOut) {
    if (ready_ && copyOut == CopyOut::Yes) {
        ::BitBlt(window_.get(), 0, 0, width_, height_, memory_.get(), 0, 0, SRCCOPY);
    }
    ready_ = false;
    selected_.reset();
    bitmap_.reset();
    memory_.reset();
    window_.reset();
}

void FillGradient4(HDC dc, const RECT& rect, const Gradient& gradient) {
    if (SameColour(gradient.topLeft, gradient.topRight) &&
        SameColour(gradient.bottomLeft, gradient.bottomRight)) {
        std::array<TRIVERTEX, 2> vertices = {Vertex(rect.left, rect.top, gradient.topLeft),
                                             Vertex(rect.right, rect.bottom, gradient.bottomLeft)};
        GRADIENT_RECT span = {0, 1};
        ::GradientFill(dc, vertices.data(), 2, &span, 1, GRADIENT_FILL_RECT_V);
        return;
    }
    std::array<TRIVERTEX, 4> vertices = {Vertex(rect.left, rect.top, gradient.topLeft),
                                         Vertex(rect.right, rect.top, gradient.topRight),
                                         Vertex(rect.left, rect.bottom, gradient.bottomLeft),
                                         Vertex(rect.right, rect.bottom, gradient.bottomRight)};
    std::array<GRADIENT_TRIANGLE, 2> triangles = {{{0, 1, 2}, {3, 1, 2}}};
    ::GradientFill(dc, vertices.data(), 4, triangles.data(), 2, GRADIENT_FILL_TRIANGLE);
}

std::uint32_t CaptionAlignment(std::uint32_t style) {
    // Only a horizontal and a vertical bit together move the caption out of the middle.
    switch (style & 0xF00u) {
    case 0x500:
        return align::TopLeft;
    case 0x600:
        return align::TopRight;
    case 0x700:
        return align::TopCentre;
    case 0x900:
        return align::BottomLeft;
    case 0xA00:
        return align::BottomRight;
    case 0xB00:
        return align::BottomCentre;
    case 0xD00:
        return align::MiddleLeft;
    case 0xE00:
        return align::MiddleRight;
    default:
        return align::MiddleCentre;
    }
}

POINT AlignedOffset(const RECT& rect, SIZE block, std::uint32_t alignment) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int x = IsLeft(alignment)    ? 0
                  : IsRight(alignment) ? width - block.cx
                                       : (width - block.cx) / 2;
    const int y = IsTop(alignment)      ? 0
                  : IsBottom(alignment) ? height - block.cy
                                        : (height - block.cy) / 2;
    return {x, y};
}

CaptionLayout LayOutCaption(HDC dc, std::string_view text, const RECT& rect,
                            std::uint32_t alignment) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    CaptionLayout layout;
    layout.lineHeight = LineHeightOf(dc);
    layout.lines = BreakLines(dc, text, width);
    const int total = std::min(static_cast<int>(layout.lines.size()) * layout.lineHeight, height);
    int widest = 0;
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        CaptionLine& line = layout.lines[i];
        const POINT offset = AlignedOffset(rect, {line.width, total}, alignment);
        line.x = offset.x;
        line.y = offset.y + static_cast<int>(i) * layout.lineHeight;
        widest = std::max(widest, line.width);
    }
    layout.size = {widest, total};
    return layout;
}

void DrawCaption(HDC dc, std::string_view text, const RECT& rect, std::uint32_t alignment,
                 SIZE* size) {
    const CaptionLayout layout = LayOutCaption(dc, text, rect, alignment);
    for (const CaptionLine& line : layout.lines) {
        std::string bytes(text.substr(line.begin, std::min(line.length, MaxDrawnLineBytes)));
        RECT place = {rect.left + line.x, rect.top + line.y, rect.left + line.x + line.width,
                      rect.top + line.y + layout.lineHeight};
        ::DrawTextA(dc, bytes.c_str(), -1, &place, 0);
    }
    if (size) {
        *size = layout.size;
    }
}

void DrawEditBorder(HDC dc, RECT& rect, std::uint32_t flags, std::int32_t scheme) {
    const bool disabled = flags & state::Disabled;
    FrameSolid(dc, rect, disabled ? FaceLess(0x202020) : ColoursOf(scheme).editBorder);
    Shrink(rect, 1);
    const int inner = (disabled || (flags & state::ReadOnly)) ? COLOR_BTNFACE : COLOR_WINDOW;
    ::FrameRect(dc, &rect, ::GetSysColorBrush(inner));
}

void DrawArrowButton(HDC dc, RECT rect, std::uint32_t flags, std::int32_t scheme) {
    const SchemeColours& colours = ColoursOf(scheme);
    const std::size_t s = ArrowStateIndex(flags);
    FillGradient4(dc, rect, colours.arrow[s]);
    const Gradient& corners = colours.arrow[4 + s];
    SetPixelIn(dc, rect.left, rect.top, corners.topLeft);
    SetPixelIn(dc, rect.right - 1, rect.top, corners.topRight);
    SetPixelIn(dc, rect.left, rect.bottom - 1, corners.bottomLeft);
    SetPixelIn(dc, rect.right - 1, rect.bottom - 1, corners.bottomRight);
    Shrink(rect, 1);
    FillGradient4(dc, rect, colours.arrow[8 + s]);

    const int cx = rect.left + (rect.right - rect.left) / 2;
    const int cy = rect.top + (rect.bottom - rect.top) / 2;
    const COLORREF glyph = (flags & state::Disabled) ? DisabledGlyph : colours.arrowGlyph;
    if (flags & arrow::Chevron) {
        DrawChevron(dc, flags, cx, cy, glyph);
    } else if (flags & arrow::Triangle) {
        DrawTriangle(dc, flags, cx, cy, glyph);
    }
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    win32::UniqueBrush brush(::CreateSolidBrush(colour));
    if (brush) {
        ::FillRect(dc, &rect, brush.get());
    }
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF colour) {
    win32::UniqueBrush brush(::CreateSolidBrush(colour));
    if (brush) {
        ::FrameRect(dc, &rect, brush.get());
    }
}

void Shrink(RECT& rect, int by) {
    ::InflateRect(&rect, -by, -by);
}

} // namespace skin
