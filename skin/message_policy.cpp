#include "message_policy.h"

namespace skin {
namespace {

constexpr std::uint32_t LowWord = 0xFFFF;

Actions ControlOnly() {
    return {.controlProcedure = true};
}
Actions ControlAndRepaint() {
    return {.controlProcedure = true, .repaint = true};
}
Actions DefAndRepaint() {
    return {.defWindowProc = true, .repaint = true};
}
Actions Default() {
    return {.tracker = true, .controlProcedure = true};
}

void Set(std::uint32_t& flags, std::uint32_t bits, bool on) {
    flags = on ? (flags | bits) : (flags & ~bits);
}

bool IsButtonKind(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::CheckBox ||
           kind == ControlKind::RadioButton;
}

Actions ButtonPolicy(std::uint32_t& flags, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_SETTEXT:
    case WM_PAINT:
        return DefAndRepaint();
    case WM_ERASEBKGND:
        return ControlOnly();
    case BM_SETCHECK:
        Set(flags, state::Checked, wParam == BST_CHECKED);
        Set(flags, state::Indeterminate, wParam == BST_INDETERMINATE);
        return ControlAndRepaint();
    case BM_SETSTATE:
        Set(flags, state::Pressed, wParam != 0);
        return ControlAndRepaint();
    case BM_SETSTYLE:
        Set(flags, state::Default, (wParam & 1) != 0);
        return ControlAndRepaint();
    default:
        return Default();
    }
}

Actions EditPolicy(std::uint32_t& flags, UINT message) {
    switch (message) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return ControlAndRepaint();
    case WM_NCMOUSEMOVE:
        if (!(flags & state::Hot)) {
            flags |= state::Hot;
            return DefAndRepaint();
        }
        return Default();
    case WM_MOUSELEAVE:
        if (flags & state::Hot) {
            flags &= ~state::Hot;
            return DefAndRepaint();
        }
        return Default();
    default:
        return Default();
    }
}

Actions ComboBoxPolicy(std::uint32_t& flags, UINT message) {
    switch (message) {
    case WM_PAINT:
    case WM_NCPAINT:
        return ControlAndRepaint();
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        Set(flags, state::Pressed, message == WM_LBUTTONDOWN);
        return ControlAndRepaint();
    default:
        return Default();
    }
}

// Whether the pointer is over the first half (left or top) of the up-down.
bool InFirstHalf(std::uint32_t flags, LPARAM lParam, HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    const auto position = static_cast<std::uint32_t>(lParam);
    const auto x = static_cast<LONG>(position & LowWord);
    const auto y = static_cast<LONG>((position >> 16) & LowWord);
    return (flags & state::Horizontal) ? x <= client.right / 2 : y <= client.bottom / 2;
}

Actions UpDownPolicy(std::uint32_t& flags, UINT message, LPARAM lParam, HWND window) {
    switch (message) {
    case WM_PAINT:
    case WM_NCPAINT:
        return DefAndRepaint();
    case WM_ERASEBKGND:
        return {.fixedResult = 1};
    case WM_LBUTTONUP:
        flags &= ~state::Pressed;
        return ControlAndRepaint();
    case WM_MOUSEMOVE: {
        const bool wasFirst = (flags & state::FirstHalfHot) != 0;
        const bool first = InFirstHalf(flags, lParam, window);
        Set(flags, state::FirstHalfHot, first);
        if (first != wasFirst) {
            return {.tracker = true, .controlProcedure = true, .repaint = true};
        }
        return {.tracker = true};
    }
    default:
        return Default();
    }
}

Actions GroupBoxPolicy(UINT message) {
    if (message == WM_PAINT || message == WM_NCPAINT) {
        return DefAndRepaint();
    }
    return Default();
}

} // namespace

Actions& Actions::operator|=(const Actions& other) {
    tracker = tracker || other.tracker;
    controlProcedure = controlProcedure || other.controlProcedure;
    defWindowProc = defWindowProc || other.defWindowProc;
    repaint = repaint || other.repaint;
    requestLeave = requestLeave || other.requestLeave;
    if (!fixedResult) {
        fixedResult = other.fixedResult;
    }
    return *this;
}

Actions PolicyFor(ControlKind kind, std::uint32_t& flags, UINT message, WPARAM wParam,
                  LPARAM lParam, HWND window) {
    if (IsButtonKind(kind)) {
        return ButtonPolicy(flags, message, wParam);
    }
    switch (kind) {
    case ControlKind::Edit:
        return EditPolicy(flags, message);
    case ControlKind::ComboBox:
        return ComboBoxPolicy(flags, message);
    case ControlKind::UpDown:
        return UpDownPolicy(flags, message, lParam, window);
    case ControlKind::GroupBox:
        return GroupBoxPolicy(message);
    default:
        return Default();
    }
}

Actions TrackState(std::uint32_t& flags, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Set(flags, state::Focused, message == WM_SETFOCUS);
        return ControlAndRepaint();
    case WM_ENABLE:
        Set(flags, state::Disabled, wParam == 0);
        return ControlAndRepaint();
    case WM_MOUSEMOVE:
        // A press made elsewhere and dragged in does not make the control hot.
        if (!(flags & state::Hot) && !(wParam & MK_LBUTTON)) {
            flags |= state::Hot;
            return {.controlProcedure = true, .repaint = true, .requestLeave = true};
        }
        return ControlOnly();
    case WM_MOUSELEAVE:
        if (flags & state::Hot) {
            flags &= ~state::Hot;
            return ControlAndRepaint();
        }
        return ControlOnly();
    default:
        return ControlOnly();
    }
}

bool BypassesSkin(ControlKind kind, UINT message) {
    // EM_SETREADONLY is kept from the skin so that ReadOnly keeps its value from attach.
    return (kind == ControlKind::UpDown && message == WM_LBUTTONDOWN) ||
           (kind == ControlKind::Edit && message == EM_SETREADONLY);
}

} // namespace skin
