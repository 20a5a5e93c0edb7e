// A window of skinned controls, and then a message box, that stay up for a while so that a
// screenshot can be taken of them. Arguments: the scheme, and "box" to show the message box.
#include "control_skin.h"

#include <win32_owners.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT_PTR CloseTimer = 1;
constexpr UINT ShowFor = 6000; // milliseconds
constexpr const char* DemoClass = "SkinDemo";

LRESULT CALLBACK DemoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        ::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

void Add(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int w,
         int h, DWORD exStyle = 0) {
    HWND control = ::CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y,
                                     w, h, parent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(control, WM_SETFONT,
                   reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

void AddControls(HWND window) {
    Add(window, "Edit", "D:\\Apps\\tool.exe", ES_AUTOHSCROLL, 20, 20, 300, 24, WS_EX_CLIENTEDGE);
    Add(window, "Button", "提取图标", BS_DEFPUSHBUTTON | WS_TABSTOP, 20, 60, 100, 30);
    Add(window, "Button", "删除图标", BS_PUSHBUTTON | WS_TABSTOP, 130, 60, 100, 30);
    Add(window, "Button", "停用", BS_PUSHBUTTON | WS_DISABLED, 240, 60, 80, 30);
    Add(window, "Button", "复选框", BS_AUTOCHECKBOX, 20, 110, 100, 20);
    Add(window, "Button", "单选钮", BS_AUTORADIOBUTTON, 130, 110, 100, 20);
    Add(window, "Button", "按下式", BS_AUTOCHECKBOX | BS_PUSHLIKE, 240, 105, 80, 30);
    Add(window, "Button", "分组框", BS_GROUPBOX, 20, 145, 300, 90);
    Add(window, "ComboBox", "", CBS_DROPDOWNLIST, 35, 170, 150, 120);
    Add(window, "Edit", "5", WS_BORDER, 200, 170, 60, 22);
    Add(window, "msctls_updown32", "", UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 0, 0, 0,
        0);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&init);
    const std::int32_t scheme = static_cast<std::int32_t>(std::strtol(arguments, nullptr, 10));
    const bool showBox = std::strstr(arguments, "box") != nullptr;

    WNDCLASSA wc{};
    wc.lpfnWndProc = DemoProcedure;
    wc.hInstance = instance;
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = DemoClass;
    ::RegisterClassA(&wc);
    HWND window = ::CreateWindowExA(0, DemoClass, "皮肤", WS_OVERLAPPEDWINDOW, 100, 100, 360, 290,
                                    nullptr, nullptr, instance, nullptr);
    AddControls(window);
    skin::ApplySkin(scheme == 0 ? 1 : scheme);
    ::ShowWindow(window, SW_SHOW);
    ::UpdateWindow(window);
    ::SetTimer(window, CloseTimer, ShowFor, nullptr);
    if (showBox) {
        ::MessageBoxA(nullptr, "图标文件已经保存到程序根目录下", "提示", MB_OK | MB_TASKMODAL);
    }
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
