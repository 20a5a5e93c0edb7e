#include "painters.h"

#include "paint_helpers.h"

#include <array>
#include <string>

namespace skin {
namespace {

constexpr int CaptionBufferSize = 256;
constexpr COLORREF DisabledFace = Rgb(0xF5F4EA);
constexpr COLORREF GreyCaption = Rgb(0xA5A294);
constexpr COLORREF Black = Rgb(0x000000);
constexpr COLORREF White = Rgb(0xFFFFFF);
constexpr std::uint32_t BorderShade = 0x202020;
constexpr std::uint32_t InnerCornerShade = 0x151515;
constexpr std::uint32_t EdgeCornerShade = 0x111111;
constexpr std::uint32_t RadioFaceShade = 0x101010;

constexpr int CheckBoxSize = 13;
constexpr COLORREF CheckBoxBorder = Rgb(0x185184);
constexpr COLORREF TickColour = Rgb(0x21A221);
constexpr COLORREF DisabledMark = Rgb(0xCECBBD);
constexpr int RadioSize = 16;
constexpr int RadioDotInset = 5;
constexpr COLORREF RadioFace = Rgb(0xB5C3CE);
constexpr COLORREF RadioOutline = Rgb(0x215584);
constexpr COLORREF RadioHotRing = Rgb(0xF7EFDE);
constexpr COLORREF RadioDotOutline = Rgb(0x9CCB94);
constexpr COLORREF RadioDotOutlineDisabled = Rgb(0xD6D3CE);
constexpr int CaptionGap = 18;

constexpr int GroupCaptionLeft = 9;
constexpr int GroupCaptionRight = 10;
constexpr const char* GroupSampleText = "a";

std::uint32_t StyleOf(HWND window) {
    return static_cast<std::uint32_t>(::GetWindowLongA(window, GWL_STYLE));
}

std::uint32_t ExStyleOf(HWND window) {
    return static_cast<std::uint32_t>(::GetWindowLongA(window, GWL_EXSTYLE));
}

bool Has(std::uint32_t flags, std::uint32_t bits) {
    return (flags & bits) != 0;
}

std::string CaptionOf(HWND window) {
    std::array<char, CaptionBufferSize> text{};
    const int length = ::GetWindowTextA(window, text.data(), CaptionBufferSize);
    return std::string(text.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
}

bool HasEditFrame(HWND window) {
    return Has(StyleOf(window), WS_BORDER) ||
           Has(ExStyleOf(window), WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
}

HBRUSH BackgroundBrushOf(const SkinnedControl& control) {
    // Until the first WM_ERASEBKGND the parent has not named a brush.
    return control.backgroundBrush ? control.backgroundBrush : ::GetSysColorBrush(COLOR_BTNFACE);
}

// The caption in the control's own font, with the text colour chosen by the painter.
SIZE DrawControlCaption(HDC dc, HWND window, const std::string& text, const RECT& rect,
                        COLORREF colour) {
    SIZE size{};
    const COLORREF oldColour = ::SetTextColor(dc, colour);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    {
        const HFONT font = FontOf(window);
        std::optional<win32::SelectedObject> selected;
        if (font) {
            selected.emplace(dc, font);
        }
        DrawCaption(dc, text, rect, CaptionAlignment(StyleOf(window)), &size);
    }
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColour);
    return size;
}

std::size_t RingRecord(std::uint32_t flags) {
    if (Has(flags, state::Pressed)) {
        return push::RingPressed;
    }
    if (Has(flags, state::Hot)) {
        return push::RingHot;
    }
    if (Has(flags, state::Checked | state::Indeterminate)) {
        return push::RingChecked;
    }
    if (Has(flags, state::Focused | state::Default)) {
        return push::RingFocused;
    }
    return push::RingNormal;
}

void RoundPushButtonCorners(HDC dc, const RECT& client, bool disabled, COLORREF border) {
    const int l = client.left;
    const int t = client.top;
    const int r = client.right;
    const int b = client.bottom;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    for (const POINT p :
         {POINT{l + 1, t + 1}, POINT{l + 1, b - 2}, POINT{r - 2, b - 2}, POINT{r - 2, t + 1}}) {
        ::SetPixel(dc, p.x, p.y, face);
    }
    const COLORREF inner = disabled ? FaceLess(InnerCornerShade) : border;
    for (const POINT p :
         {POINT{l + 2, t + 2}, POINT{l + 2, b - 3}, POINT{r - 3, b - 3}, POINT{r - 3, t + 2}}) {
        ::SetPixel(dc, p.x, p.y, inner);
    }
    const COLORREF edge = disabled ? FaceLess(EdgeCornerShade) : border;
    for (const POINT p :
         {POINT{l + 1, t + 2}, POINT{l + 2, t + 1}, POINT{r - 3, t + 1}, POINT{r - 2, t + 2},
          POINT{r - 3, b - 2}, POINT{r - 2, b - 3}, POINT{l + 2, b - 2}, POINT{l + 1, b - 3}}) {
        ::SetPixel(dc, p.x, p.y, edge);
    }
}

// Where a check box's or radio button's box sits, and where its caption goes.
struct ToggleLayout {
    RECT box;
    RECT caption;
};

ToggleLayout LayOutToggle(const RECT& client, std::uint32_t style, int boxSize) {
    constexpr std::uint32_t VerticalMask = BS_VCENTER;
    ToggleLayout layout{client, client};
    const bool boxOnRight = Has(style, BS_LEFTTEXT);
    layout.box.left = boxOnRight ? client.right - boxSize : client.left;
    layout.box.right = layout.box.left + boxSize;
    const std::uint32_t vertical = style & VerticalMask;
    const int height = client.bottom - client.top;
    layout.box.top = vertical == BS_BOTTOM    ? client.bottom - boxSize
                     : vertical == BS_VCENTER ? client.top + (height - boxSize) / 2
                                              : client.top;
    layout.box.bottom = layout.box.top + boxSize;
    if (boxOnRight) {
        layout.caption.right -= CaptionGap;
    } else {
        layout.caption.left += CaptionGap;
    }
    return layout;
}

std::size_t ToggleRecord(std::uint32_t flags) {
    return Has(flags, state::Pressed) ? 0 : Has(flags, state::Hot) ? 1 : 2;
}

void DrawToggleCaption(HDC dc, const SkinnedControl& control, const RECT& rect) {
    const std::string text = CaptionOf(control.window);
    if (text.empty()) {
        return;
    }
    const bool disabled = Has(control.state, state::Disabled);
    const COLORREF colour = disabled ? ::GetSysColor(COLOR_GRAYTEXT) : control.textColour;
    const SIZE size = DrawControlCaption(dc, control.window, text, rect, colour);
    if (Has(control.state, state::Focused)) {
        // The focus rectangle surrounds the caption as it was laid out.
        const POINT at = AlignedOffset(rect, size, CaptionAlignment(StyleOf(control.window)));
        RECT focus = {rect.left + at.x - 1, rect.top + at.y - 1, rect.left + at.x + size.cx + 1,
                      rect.top + at.y + size.cy + 1};
        ::DrawFocusRect(dc, &focus);
    }
}

void DrawTick(HDC dc, const RECT& inner, COLORREF colour) {
    static constexpr std::array<int, 7> Drops = {2, 3, 4, 3, 2, 1, 0};
    for (std::size_t column = 0; column < Drops.size(); ++column) {
        for (int run = 0; run < 3; ++run) {
            ::SetPixel(dc, inner.left + static_cast<int>(column), inner.top + Drops[column] + run,
                       colour);
        }
    }
}

COLORREF IndeterminateFill(std::uint32_t flags) {
    if (Has(flags, state::Disabled)) {
        return DisabledMark;
    }
    if (Has(flags, state::Pressed)) {
        return Rgb(0x188A18);
    }
    return Has(flags, state::Hot) ? Rgb(0x21A221) : Rgb(0x73C373);
}

// Fills an ellipse with a gradient: the gradient is drawn clipped to the ellipse.
void FillEllipseGradient(HDC dc, const RECT& rect, const Gradient& gradient) {
    win32::UniqueGdi<HRGN> region(
        ::CreateEllipticRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1));
    if (!region) {
        return;
    }
    ::SelectClipRgn(dc, region.get());
    FillGradient4(dc, rect, gradient);
    ::SelectClipRgn(dc, nullptr);
}

void DrawEllipse(HDC dc, const RECT& rect, COLORREF outline, COLORREF fill, int penWidth) {
    win32::UniquePen pen(::CreatePen(PS_SOLID, penWidth, outline));
    win32::UniqueBrush brush(fill == CLR_INVALID ? nullptr : ::CreateSolidBrush(fill));
    if (!pen) {
        return;
    }
    win32::SelectedObject selectedPen(dc, pen.get());
    win32::SelectedObject selectedBrush(dc, brush ? static_cast<HGDIOBJ>(brush.get())
                                                  : ::GetStockObject(NULL_BRUSH));
    ::Ellipse(dc, rect.left, rect.top, rect.right, rect.bottom);
}

RECT HalfOf(const RECT& window, bool horizontal, bool first, int inset) {
    RECT half = window;
    if (horizontal) {
        const int middle = window.left + (window.right - window.left) / 2;
        half.left = first ? window.left + inset : middle;
        half.right = first ? middle : window.right;
    } else {
        const int middle = window.top + (window.bottom - window.top) / 2;
        half.top = first ? window.top + inset : middle;
        half.bottom = first ? middle : window.bottom;
    }
    return half;
}

RECT WholeWindow(const WindowPaintBuffer& buffer) {
    return {0, 0, buffer.width(), buffer.height()};
}

RECT ClientOf(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return client;
}

} // namespace

void PaintPushButton(HDC dc, const RECT& client, SkinnedControl& control, std::int32_t scheme) {
    const SchemeColours& colours = ColoursOf(scheme);
    const std::uint32_t flags = control.state;
    const bool disabled = Has(flags, state::Disabled);
    RECT rect = client;
    ::FillRect(dc, &rect, BackgroundBrushOf(control));
    ::FrameRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    Shrink(rect, 1);
    const COLORREF border = disabled ? FaceLess(BorderShade) : colours.pushButtonBorder;
    FrameSolid(dc, rect, border);
    Shrink(rect, 1);
    if (disabled) {
        FillSolid(dc, rect, DisabledFace);
    } else {
        FillGradient4(dc, rect, colours.pushButton[RingRecord(flags)]);
    }
    Shrink(rect, 2);
    if (Has(flags, state::Pressed | state::Checked | state::Indeterminate)) {
        FillGradient4(dc, rect, colours.pushButton[push::FacePressed]);
    } else if (!disabled) {
        FillGradient4(dc, rect, colours.pushButton[push::FaceNormal]);
    }
    RoundPushButtonCorners(dc, client, disabled, border);
    if (Has(flags, state::Focused)) {
        RECT focus = rect;
        ::InflateRect(&focus, 1, 1);
        ::DrawFocusRect(dc, &focus);
    }
    const std::string text = CaptionOf(control.window);
    if (text.empty()) {
        return;
    }
    if (Has(flags, state::Pressed)) {
        ::OffsetRect(&rect, 1, 1);
    }
    const bool grey = Has(flags, state::Indeterminate | state::Disabled);
    DrawControlCaption(dc, control.window, text, rect, grey ? GreyCaption : Black);
}

void PaintCheckBox(HDC dc, const RECT& client, SkinnedControl& control, std::int32_t) {
    const std::uint32_t flags = control.state;
    const bool disabled = Has(flags, state::Disabled);
    ::FillRect(dc, &client, BackgroundBrushOf(control));
    const ToggleLayout layout = LayOutToggle(client, StyleOf(control.window), CheckBoxSize);
    RECT box = layout.box;
    FrameSolid(dc, box, disabled ? FaceLess(BorderShade) : CheckBoxBorder);
    Shrink(box, 1);
    if (disabled) {
        FillSolid(dc, box, White);
    } else {
        FillGradient4(dc, box, CheckBoxGradients[ToggleRecord(flags)]);
    }
    Shrink(box, 2);
    if (Has(flags, state::Indeterminate)) {
        FillSolid(dc, box, IndeterminateFill(flags));
    } else if (Has(flags, state::Hot) && !Has(flags, state::Pressed)) {
        FillSolid(dc, box, Has(flags, state::Checked) ? Rgb(0xF7F7F7) : Rgb(0xE7E7E7));
    }
    if (Has(flags, state::Checked)) {
        DrawTick(dc, box, disabled ? DisabledMark : TickColour);
    }
    DrawToggleCaption(dc, control, layout.caption);
}

void PaintRadioButton(HDC dc, const RECT& client, SkinnedControl& control, std::int32_t) {
    constexpr DWORD Windows9xBit = 0x80000000;
    const std::uint32_t flags = control.state;
    const bool disabled = Has(flags, state::Disabled);
    ::FillRect(dc, &client, BackgroundBrushOf(control));
    const ToggleLayout layout = LayOutToggle(client, StyleOf(control.window), RadioSize);
    const COLORREF face = disabled                            ? FaceLess(RadioFaceShade)
                          : Has(::GetVersion(), Windows9xBit) ? RadioOutline
                                                              : RadioFace;
    DrawEllipse(dc, layout.box, disabled ? FaceLess(BorderShade) : RadioOutline, face, 1);
    RECT inside = layout.box;
    Shrink(inside, 1);
    if (disabled) {
        FillEllipseGradient(dc, inside, {White, White, White, White});
    } else {
        FillEllipseGradient(dc, inside, RadioGradients[ToggleRecord(flags)]);
    }
    if (Has(flags, state::Hot) && !Has(flags, state::Pressed)) {
        RECT ring = inside;
        Shrink(ring, 1);
        DrawEllipse(dc, ring, RadioHotRing, CLR_INVALID, 2);
    }
    if (Has(flags, state::Checked)) {
        RECT dot = layout.box;
        Shrink(dot, RadioDotInset);
        DrawEllipse(dc, dot, disabled ? RadioDotOutlineDisabled : RadioDotOutline, CLR_INVALID, 1);
        Shrink(dot, 1);
        FillEllipseGradient(dc, dot, disabled ? RadioDotDisabled : RadioDot);
    }
    DrawToggleCaption(dc, control, layout.caption);
}

void PaintEdit(HDC dc, const RECT& window, SkinnedControl& control, std::int32_t scheme) {
    if (!HasEditFrame(control.window)) {
        return;
    }
    RECT rect = window;
    DrawEditBorder(dc, rect, control.state, scheme);
    const bool left = Has(control.state, state::BuddyOfLeftUpDown);
    if (!left && !Has(control.state, state::BuddyOfRightUpDown)) {
        return;
    }
    // The edit opens toward its up-down.
    const int x = left ? window.left : window.right - 1;
    win32::SelectedObject pen(dc, ::GetStockObject(WHITE_PEN));
    ::MoveToEx(dc, x, window.top + 1, nullptr);
    ::LineTo(dc, x, window.bottom - 1);
}

void PaintComboBox(HDC dc, const RECT& window, SkinnedControl& control, std::int32_t scheme) {
    const bool disabled = Has(control.state, state::Disabled);
    RECT rect = window;
    FrameSolid(dc, rect, disabled ? FaceLess(BorderShade) : ColoursOf(scheme).editBorder);
    Shrink(rect, 1);
    const HBRUSH inner = ::GetSysColorBrush(disabled ? COLOR_BTNFACE : COLOR_WINDOW);
    ::FrameRect(dc, &rect, inner);
    Shrink(rect, 1);
    RECT button = rect;
    button.left = rect.right - ::GetSystemMetrics(SM_CYVTHUMB);
    ::FrameRect(dc, &button, inner);
    button.left += 1;
    DrawArrowButton(dc, button, control.state | arrow::Chevron | arrow::Down, scheme);
}

void PaintUpDown(HDC dc, const RECT& window, SkinnedControl& control, const SkinnedControl* buddy,
                 std::int32_t scheme) {
    const bool attached = buddy && Has(control.state, state::AlignedLeft | state::AlignedRight);
    if (attached) {
        control.state = (control.state & ~state::Disabled) | (buddy->state & state::Disabled);
    }
    FillSolid(dc, window, ColoursOf(scheme).upDownFill);
    const bool horizontal = Has(control.state, state::Horizontal);
    const bool firstHot = Has(control.state, state::FirstHalfHot);
    constexpr std::uint32_t PointerStates = state::Hot | state::Pressed;
    const std::uint32_t calm = control.state & ~PointerStates;
    const std::uint32_t second = (firstHot ? calm : control.state) | arrow::Triangle |
                                 (horizontal ? arrow::Right : arrow::Down);
    const std::uint32_t first = (firstHot ? control.state : calm) | arrow::Triangle |
                                (horizontal ? arrow::Left : arrow::Up);
    DrawArrowButton(dc, HalfOf(window, horizontal, false, 0), second, scheme);
    DrawArrowButton(dc, HalfOf(window, horizontal, true, attached ? 2 : 1), first, scheme);
}

void PaintGroupBox(HDC dc, const RECT& window, SkinnedControl& control, std::int32_t scheme) {
    const COLORREF frameColour = ColoursOf(scheme).groupBoxFrame;
    control.backgroundColour = ::GetPixel(dc, window.left, window.top);
    const std::string text = CaptionOf(control.window);
    SIZE caption{};
    {
        const HFONT font = FontOf(control.window);
        std::optional<win32::SelectedObject> selected;
        if (font && !text.empty()) {
            selected.emplace(dc, font);
        }
        const std::string_view measured = text.empty() ? GroupSampleText : text;
        ::GetTextExtentPoint32A(dc, measured.data(), static_cast<int>(measured.size()), &caption);
    }
    RECT frame = window;
    frame.top += caption.cy / 2;
    RECT margin = {window.left, window.top, window.right, frame.top};
    ::FillRect(dc, &margin, BackgroundBrushOf(control));
    FrameSolid(dc, frame, frameColour);
    const COLORREF background = control.backgroundColour;
    const int l = frame.left;
    const int t = frame.top;
    const int r = frame.right - 1;
    const int b = frame.bottom - 1;
    // Each corner: the corner pixel and two along each side cleared, the diagonal drawn.
    for (const auto& [cx, cy, sx, sy] : {std::array{l, t, 1, 1}, std::array{r, t, -1, 1},
                                         std::array{l, b, 1, -1}, std::array{r, b, -1, -1}}) {
        for (int step = 0; step < 3; ++step) {
            ::SetPixel(dc, cx + sx * step, cy, background);
            ::SetPixel(dc, cx, cy + sy * step, background);
        }
        ::SetPixel(dc, cx + sx, cy + sy * 2, frameColour);
        ::SetPixel(dc, cx + sx * 2, cy + sy, frameColour);
    }
    if (text.empty()) {
        return;
    }
    const std::uint32_t horizontal = StyleOf(control.window) & BS_CENTER;
    const int width = window.right - window.left;
    const int x = horizontal == BS_CENTER  ? (width - caption.cx) / 2
                  : horizontal == BS_RIGHT ? width - GroupCaptionRight - caption.cx
                                           : GroupCaptionLeft;
    RECT place = {window.left + x, window.top, window.left + x + caption.cx,
                  window.top + caption.cy};
    ::FillRect(dc, &place, BackgroundBrushOf(control));
    const COLORREF oldColour = ::SetTextColor(dc, control.textColour);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    {
        const HFONT font = FontOf(control.window);
        std::optional<win32::SelectedObject> selected;
        if (font) {
            selected.emplace(dc, font);
        }
        DrawCaption(dc, text, place, align::TopLeft, nullptr);
    }
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColour);
}

void PaintComboList(HDC dc, const RECT& window, SkinnedControl& control, std::int32_t scheme) {
    if (!HasEditFrame(control.window) || ::SendMessageA(control.window, LB_GETCOUNT, 0, 0) <= 0) {
        return;
    }
    RECT rect = window;
    DrawEditBorder(dc, rect, control.state, scheme);
}

bool RepaintControl(SkinnedControl& control, const SkinnedControl* buddy, std::int32_t scheme) {
    using CopyIn = WindowPaintBuffer::CopyIn;
    const bool copyIn =
        control.kind == ControlKind::Edit || control.kind == ControlKind::ComboBox ||
        control.kind == ControlKind::GroupBox || control.kind == ControlKind::ComboList;
    WindowPaintBuffer buffer(control.window, copyIn ? CopyIn::Yes : CopyIn::No);
    if (!buffer) {
        return false;
    }
    const HDC dc = buffer.dc();
    const RECT whole = WholeWindow(buffer);
    switch (control.kind) {
    case ControlKind::PushButton:
        PaintPushButton(dc, ClientOf(control.window), control, scheme);
        break;
    case ControlKind::CheckBox:
        PaintCheckBox(dc, ClientOf(control.window), control, scheme);
        break;
    case ControlKind::RadioButton:
        PaintRadioButton(dc, ClientOf(control.window), control, scheme);
        break;
    case ControlKind::Edit:
        PaintEdit(dc, whole, control, scheme);
        break;
    case ControlKind::ComboBox:
        PaintComboBox(dc, whole, control, scheme);
        break;
    case ControlKind::UpDown:
        PaintUpDown(dc, whole, control, buddy, scheme);
        break;
    case ControlKind::GroupBox:
        PaintGroupBox(dc, whole, control, scheme);
        break;
    case ControlKind::ComboList:
        PaintComboList(dc, whole, control, scheme);
        break;
    default:
        break;
    }
    buffer.End(WindowPaintBuffer::CopyOut::Yes);
    return true;
}

} // namespace skin
