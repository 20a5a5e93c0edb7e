// The program's own window classes: an arrow pointer and no background brush, since each
// paints all of itself.
#pragma once

#include <windows.h>

namespace app {

// True when the class exists now, also when an earlier call registered it.
inline bool RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    return ::RegisterClassExA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace app
