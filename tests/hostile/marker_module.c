/* A module whose code, if it ever ran, would leave a marker file in the current directory. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        HANDLE marker = CreateFileA("dllmain_ran.marker", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, NULL);
        if (marker != INVALID_HANDLE_VALUE) {
            CloseHandle(marker);
        }
    }
    return TRUE;
}
