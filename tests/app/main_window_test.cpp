// MainWindow built inside the test process, where its icon, fonts, caret and colour answers
// can be asked for directly (Wine does not pass these requests between processes).
#include "label.h"
#include "main_window.h"

#include "win32_owners.h"

#include <gtest/gtest.h>

namespace {

using namespace app;

constexpr int kIconSide = 128;

HWND FindChild(HWND parent, const char* className, const char* text) {
    return ::FindWindowExA(parent, nullptr, className, text);
}

TEST(MainWindow, CarriesItsIconFontsCaretAndColours) {
    MainWindow mainWindow(::GetModuleHandleA(nullptr), "C:\\Tools");
    ASSERT_TRUE(mainWindow.Create());
    HWND window = ::FindWindowA(kMainWindowClassName, kMainWindowTitle);
    ASSERT_TRUE(window);
    HWND pathBox = FindChild(window, "Edit", nullptr);
    HWND extract = FindChild(window, "Button", "提取图标");
    HWND remove = FindChild(window, "Button", "删除图标");
    ASSERT_TRUE(pathBox && extract && remove);

    // One 128 x 128 icon, big and small.
    const auto icon = reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    ASSERT_TRUE(icon);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_SMALL, 0)), icon);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    win32::UniqueBitmap colour(info.hbmColor);
    win32::UniqueBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    ASSERT_TRUE(::GetObjectA(colour.get(), sizeof(bitmap), &bitmap));
    EXPECT_EQ(bitmap.bmWidth, kIconSide);
    EXPECT_EQ(bitmap.bmHeight, kIconSide);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);

    const auto guiFont = reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT));
    for (HWND component : {pathBox, extract, remove}) {
        EXPECT_EQ(::SendMessageA(component, WM_GETFONT, 0, 0), guiFont);
    }

    EXPECT_EQ(::GetFocus(), pathBox);
    DWORD start = 1;
    DWORD end = 1;
    ::SendMessageA(pathBox, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0U);
    EXPECT_EQ(end, 0U);
    EXPECT_GT(::SendMessageA(pathBox, EM_GETLIMITTEXT, 0, 0), 0xFFFF) << "no limit of our own";
    EXPECT_EQ(::GetWindowLongA(pathBox, GWL_STYLE) & (ES_READONLY | ES_PASSWORD | ES_NOHIDESEL |
                                                      ES_UPPERCASE | ES_LOWERCASE | ES_NUMBER),
              0);
    EXPECT_EQ(::GetWindowLongA(extract, GWL_STYLE) & BS_DEFPUSHBUTTON, 0);

    // The path box asks for its colours: black on white with a white brush.
    win32::UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    const LRESULT brush =
        ::SendMessageA(window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
                       reinterpret_cast<LPARAM>(pathBox));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(::GetTextColor(dc.get()), RGB(0, 0, 0));
    EXPECT_EQ(::GetBkColor(dc.get()), RGB(255, 255, 255));

    // Labels never take the focus and are no tab stops.
    for (HWND label = FindChild(window, kLabelClassName, nullptr); label;
         label = ::FindWindowExA(window, label, kLabelClassName, nullptr)) {
        EXPECT_EQ(::GetWindowLongA(label, GWL_STYLE) & WS_TABSTOP, 0);
    }
    ::DestroyWindow(window);
    // The window's end posts the quit message; take it so that it reaches no later test.
    MSG message{};
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// Reads the first message box of this process that shows, then closes it.
struct BoxReader {
    std::string title;
    std::string text;

    static DWORD WINAPI Run(void* parameter) {
        auto* reader = static_cast<BoxReader*>(parameter);
        for (DWORD waited = 0; waited < kBoxPatienceMs; waited += kPollMs) {
            HWND box = ::FindWindowA("#32770", nullptr);
            DWORD process = 0;
            ::GetWindowThreadProcessId(box, &process);
            if (box && process == ::GetCurrentProcessId() && ::IsWindowVisible(box)) {
                char text[256] = {};
                ::GetWindowTextA(box, text, sizeof(text));
                reader->title = text;
                ::GetDlgItemTextA(box, kMessageTextId, text, sizeof(text));
                reader->text = text;
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                return 0;
            }
            ::Sleep(kPollMs);
        }
        return 1;
    }
    static constexpr DWORD kBoxPatienceMs = 20000;
    static constexpr DWORD kPollMs = 20;
    static constexpr int kMessageTextId = 0xFFFF;
};

LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return FALSE;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

TEST(Program, EndsWithMinusOneAfterAnErrorBoxWhenTheWindowCannotBeMade) {
    // A class of the main window's name that refuses every window takes the real one's place.
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    ::UnregisterClassA(kMainWindowClassName, instance);
    WNDCLASSEXA refusing{};
    refusing.cbSize = sizeof(refusing);
    refusing.lpfnWndProc = RefuseCreation;
    refusing.hInstance = instance;
    refusing.lpszClassName = kMainWindowClassName;
    ASSERT_TRUE(::RegisterClassExA(&refusing));

    BoxReader reader;
    win32::UniqueHandle thread(::CreateThread(nullptr, 0, BoxReader::Run, &reader, 0, nullptr));
    ASSERT_TRUE(thread);
    EXPECT_EQ(RunProgram(instance), -1);
    ::WaitForSingleObject(thread.get(), INFINITE);
    EXPECT_EQ(reader.title, "错误");
    EXPECT_FALSE(reader.text.empty());
    ::UnregisterClassA(kMainWindowClassName, instance);
}

} // namespace
