#include "label.h"

#include "win32_owners.h"
#include "window_class.h"

#include <string>

namespace app {

namespace {

constexpr UINT kTextFormat = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP;

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Paint(HWND window) {
    win32::PaintSession paint(window);
    HDC dc = paint.dc();
    RECT client{};
    ::GetClientRect(window, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    win32::SelectedObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetTextColor(dc, static_cast<COLORREF>(::GetWindowLongPtrA(window, GWLP_USERDATA)));
    ::SetBkMode(dc, TRANSPARENT);
    std::string text = WindowText(window);
    ::DrawTextA(dc, text.data(), static_cast<int>(text.size()), &client, kTextFormat);
}

LRESULT CALLBACK LabelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        // The text colour travels in the creation parameter and lives in the user data.
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

bool RegisterLabelClass(HINSTANCE instance) {
    return RegisterWindowClass(instance, kLabelClassName, LabelProcedure);
}

HWND CreateLabel(HINSTANCE instance, HWND parent, const char* text, const Placement& placement,
                 COLORREF textColour) {
    return ::CreateWindowExA(0, kLabelClassName, text, WS_CHILD | WS_BORDER, placement.left,
                             placement.top, placement.width, placement.height, parent, nullptr,
                             instance,
                             reinterpret_cast<void*>(static_cast<std::uintptr_t>(textColour)));
}

} // namespace app
