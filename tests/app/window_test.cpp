// The real program, started from a directory of its own and driven from outside with real
// keyboard and mouse input: its window, its layout, focus and keys, Extract and Delete.
#include "icon_commands.h"
#include "label.h"
#include "main_window.h"
#include "window_layout.h"

#include "win32_owners.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace app;

// The program file, as a Windows path; given on the command line.
std::string g_program;

// Milliseconds.
constexpr DWORD kPatience = 20000;
constexpr DWORD kExitPatienceMs = 20000;
// How long a message box that should not come is waited for.
constexpr DWORD kQuietMs = 500;
constexpr const char* kModule = "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\user32.dll";
constexpr const char* kMessageTitle = "提示";
constexpr int kMessageTextId = 0xFFFF;
// Absolute pointer positions run from 0 to 65535 across the screen.
constexpr LONG kAbsoluteScale = 65536;

constexpr DWORD kPollMs = 20;

// <chrono> cannot be compiled with our execution character set, hence the tick count.
bool WaitFor(const std::function<bool()>& condition, DWORD patienceMs = kPatience) {
    const ULONGLONG end = ::GetTickCount64() + patienceMs;
    while (!condition()) {
        if (::GetTickCount64() > end) {
            return false;
        }
        ::Sleep(kPollMs);
    }
    return true;
}

// WM_GETTEXT: GetWindowTextA does not ask a control of another process for its text.
std::string Text(HWND window) {
    char text[1024] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    ::GetClassNameA(window, name, sizeof(name));
    return name;
}

// A visible top-level window of `process` with class `className`.
HWND FindTopLevel(DWORD process, const char* className) {
    struct Search {
        DWORD process;
        const char* className;
        HWND found;
    } search{process, className, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->process && ::IsWindowVisible(window) &&
                ::lstrcmpiA(ClassName(window).c_str(), s->className) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SendKey(WORD key, bool shift = false) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    if (shift) {
        add(VK_SHIFT, 0);
    }
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (shift) {
        add(VK_SHIFT, KEYEVENTF_KEYUP);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Moves the pointer onto the middle of `window`, waits until it is there, then clicks.
void Click(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    const POINT target{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = target.x * kAbsoluteScale / ::GetSystemMetrics(SM_CXSCREEN);
    move.mi.dy = target.y * kAbsoluteScale / ::GetSystemMetrics(SM_CYSCREEN);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &move, sizeof(INPUT));
    WaitFor([&] {
        POINT at{};
        ::GetCursorPos(&at);
        return std::abs(at.x - target.x) <= 1 && std::abs(at.y - target.y) <= 1;
    });
    INPUT press[2]{};
    press[0].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].type = INPUT_MOUSE;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, press, sizeof(INPUT));
}

std::string FileName(int n) {
    return " " + std::to_string(n) + ".ico";
}

// A copy of the program in a fresh directory (or a subdirectory of it), started with another
// current directory.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& subdirectory = "",
                            const std::string& programName = "IconExtractor.exe") {
        char temporary[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temporary);
        temporary_ = temporary;
        static int serial = 0;
        base_ = temporary_ + "app-window-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(++serial);
        ::CreateDirectoryA(base_.c_str(), nullptr);
        directory_ = subdirectory.empty() ? base_ : base_ + "\\" + subdirectory;
        ::CreateDirectoryA(directory_.c_str(), nullptr);
        copy_ = directory_ + "\\" + programName;
        if (!::CopyFileA(g_program.c_str(), copy_.c_str(), FALSE)) {
            return;
        }
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started{};
        std::string commandLine = "\"" + copy_ + "\"";
        if (!::CreateProcessA(copy_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, temporary_.c_str(), &startup, &started)) {
            return;
        }
        process_.reset(started.hProcess);
        ::CloseHandle(started.hThread);
        processId_ = started.dwProcessId;
        threadId_ = started.dwThreadId;
        WaitFor(
            [&] { return (window_ = FindTopLevel(processId_, kMainWindowClassName)) != nullptr; });
        if (window_) {
            ::SetForegroundWindow(window_);
            // Settled once the window has handed the focus on to a component.
            WaitFor([&] { return ::IsChild(window_, Focus()) != FALSE; });
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram() {
        if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.get(), 1);
            ::WaitForSingleObject(process_.get(), kExitPatienceMs);
        }
        WIN32_FIND_DATAA found{};
        HANDLE search = ::FindFirstFileA((directory_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                ::DeleteFileA((directory_ + "\\" + found.cFileName).c_str());
            } while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryA(directory_.c_str());
        ::RemoveDirectoryA(base_.c_str());
    }

    HWND window() const { return window_; }
    const std::string& directory() const { return directory_; }
    HWND Child(const char* className, const char* text) const {
        return ::FindWindowExA(window_, nullptr, className, text);
    }
    HWND PathBox() const { return Child("Edit", nullptr); }
    HWND ExtractButton() const { return Child("Button", "提取图标"); }
    HWND DeleteButton() const { return Child("Button", "删除图标"); }
    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return ::GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
    }
    bool FileExists(const std::string& name) const {
        return ::GetFileAttributesA((directory_ + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // Waits for the program's message box, reads its title and text, and closes it.
    bool TakeMessage(std::string& title, std::string& text) const {
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = FindTopLevel(processId_, "#32770")) != nullptr; })) {
            return false;
        }
        title = Text(box);
        text = Text(::GetDlgItem(box, kMessageTextId));
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return WaitFor([&] { return !::IsWindow(box) || !::IsWindowVisible(box); });
    }
    bool MessageShowsWithin(DWORD patienceMs) const {
        return WaitFor([&] { return FindTopLevel(processId_, "#32770") != nullptr; }, patienceMs);
    }

    // The exit code once the process has ended, or none.
    std::optional<DWORD> ExitCode() const {
        if (::WaitForSingleObject(process_.get(), kExitPatienceMs) != WAIT_OBJECT_0) {
            return std::nullopt;
        }
        DWORD code = 0;
        ::GetExitCodeProcess(process_.get(), &code);
        return code;
    }

private:
    std::string temporary_;
    std::string base_;
    std::string directory_;
    std::string copy_;
    win32::UniqueHandle process_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

Placement PlacementInParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The icon groups of a module in the order the export numbers them, as counts of images.
std::vector<int> GroupImageCounts(const char* path) {
    win32::UniqueModule module(::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    std::vector<int> counts;
    if (!module) {
        return counts;
    }
    struct Walk {
        HMODULE module;
        std::vector<int>* counts;
    } walk{module.get(), &counts};
    ::EnumResourceNamesA(
        module.get(), RT_GROUP_ICON,
        [](HMODULE m, LPCSTR type, LPSTR name, LONG_PTR parameter) -> BOOL {
            auto* w = reinterpret_cast<Walk*>(parameter);
            HRSRC found = ::FindResourceA(m, name, type);
            const auto* bytes =
                found ? static_cast<const std::uint8_t*>(::LockResource(::LoadResource(m, found)))
                      : nullptr;
            w->counts->push_back(bytes ? bytes[4] | bytes[5] << 8 : -1);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&walk));
    return counts;
}

// The image count in an ICO file's header, or -1.
int IcoImageCount(const std::string& path) {
    win32::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    std::uint8_t header[6] = {};
    DWORD read = 0;
    if (!file || !::ReadFile(file.get(), header, sizeof(header), &read, nullptr) ||
        read != sizeof(header) || header[0] != 0 || header[1] != 0 || header[2] != 1 ||
        header[3] != 0) {
        return -1;
    }
    return header[4] | header[5] << 8;
}

TEST(ProgramWindow, OpensCentredWithItsComponentsInPlace) {
    RunningProgram program;
    HWND window = program.window();
    ASSERT_TRUE(window);
    EXPECT_EQ(Text(window), kMainWindowTitle);

    const Point origin =
        WindowOrigin(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    RECT outer{};
    ::GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, origin.x);
    EXPECT_EQ(outer.top, origin.y);
    EXPECT_EQ(outer.right - outer.left, kWindowWidth);
    EXPECT_EQ(outer.bottom - outer.top, kWindowHeight);

    const auto style = static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE));
    const DWORD wanted = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_POPUP), 0U);
    const auto extended = static_cast<DWORD>(::GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_EQ(extended & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), 0U);
    EXPECT_EQ(::GetWindow(window, GW_OWNER), nullptr);

    // From the top of the z-order down.
    struct Expected {
        const char* className; // none: the drop target's window, whatever its class
        std::string text;
        Placement placement;
        bool visible;
        DWORD style;
    };
    const DWORD controlStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP;
    const DWORD buttonStyle = controlStyle | BS_CENTER | BS_VCENTER | BS_MULTILINE;
    const Expected expected[] = {
        {kLabelClassName, "注意：拖动文件的扩展名必须为为EXE、DLL、ICL、ICO！", kNoticeLabel, true,
         WS_CHILD | WS_BORDER},
        {kLabelClassName, "文件路径", kPathLabel, true, WS_CHILD | WS_BORDER},
        {nullptr, "", kDropTarget, false, WS_CHILD | WS_CLIPSIBLINGS},
        {"Button", "删除图标", kDeleteButton, true, buttonStyle},
        {"Button", "提取图标", kExtractButton, true, buttonStyle},
        {"Edit", std::string(PathHint), kPathBox, true, controlStyle | ES_AUTOHSCROLL},
    };
    HWND child = ::GetWindow(window, GW_CHILD);
    for (const Expected& e : expected) {
        ASSERT_TRUE(child) << e.text;
        if (e.className) {
            EXPECT_EQ(::lstrcmpiA(ClassName(child).c_str(), e.className), 0) << ClassName(child);
        }
        EXPECT_EQ(Text(child), e.text);
        const Placement placement = PlacementInParent(child);
        EXPECT_EQ(placement.left, e.placement.left) << e.text;
        EXPECT_EQ(placement.top, e.placement.top) << e.text;
        EXPECT_EQ(placement.width, e.placement.width) << e.text;
        EXPECT_EQ(placement.height, e.placement.height) << e.text;
        EXPECT_EQ(::IsWindowVisible(child) != FALSE, e.visible) << e.text;
        const auto childStyle = static_cast<DWORD>(::GetWindowLongA(child, GWL_STYLE));
        EXPECT_EQ(childStyle & e.style, e.style) << e.text;
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more components than six";

    HWND pathBox = program.PathBox();
    EXPECT_TRUE(::GetWindowLongA(pathBox, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(program.Focus(), pathBox);
}

TEST(ProgramWindow, ExtractsAModulesGroupsIntoItsOwnDirectoryDeletesThemAndClosesOnEscape) {
    const std::vector<int> groups = GroupImageCounts(kModule);
    ASSERT_FALSE(groups.empty()) << kModule;
    ASSERT_LT(groups.size(), 100U);

    // "籠" is one GBK character whose second byte is 0x5C, a backslash's: in the program's
    // name it is the last one a byte-wise search would find.
    RunningProgram program("籠", "籠.exe");
    ASSERT_TRUE(program.window());
    ::SendMessageA(program.PathBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kModule));

    Click(program.ExtractButton());
    std::string title, text;
    ASSERT_TRUE(program.TakeMessage(title, text));
    EXPECT_EQ(title, kMessageTitle);
    EXPECT_EQ(text, messages::kSaved);
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        EXPECT_EQ(IcoImageCount(program.directory() + "\\" + FileName(n)), groups[i]) << n;
    }
    EXPECT_FALSE(program.FileExists(FileName(static_cast<int>(groups.size()) + 1)));

    Click(program.DeleteButton());
    ASSERT_TRUE(program.TakeMessage(title, text));
    EXPECT_EQ(title, kMessageTitle);
    EXPECT_EQ(text, messages::kDeleted);
    for (std::size_t i = 0; i < groups.size(); ++i) {
        EXPECT_FALSE(program.FileExists(FileName(static_cast<int>(i) + 1)));
    }
    EXPECT_TRUE(program.FileExists("籠.exe"));

    // A source that yields nothing is not reported as saved.
    ::SendMessageA(program.PathBox(), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>("Z:\\no\\such\\tool.exe"));
    Click(program.ExtractButton());
    ASSERT_TRUE(program.TakeMessage(title, text));
    EXPECT_EQ(text, messages::kNoIcons);
    EXPECT_FALSE(program.FileExists(FileName(1)));

    ASSERT_TRUE(WaitFor([&] { return ::IsChild(program.window(), program.Focus()) != FALSE; }));
    SendKey(VK_ESCAPE);
    EXPECT_EQ(program.ExitCode(), std::optional<DWORD>(0));
}

TEST(ProgramWindow, TabCyclesThePathBoxAndButtonsAndEnterDoesNothing) {
    RunningProgram program;
    ASSERT_TRUE(program.window());
    HWND pathBox = program.PathBox();
    HWND extract = program.ExtractButton();
    HWND remove = program.DeleteButton();
    ASSERT_EQ(program.Focus(), pathBox);

    struct Step {
        WORD key;
        bool shift;
        HWND focus;
    };
    const Step steps[] = {
        {VK_TAB, false, extract},    {VK_TAB, false, remove}, {VK_TAB, false, pathBox},
        {VK_TAB, true, remove},      {VK_TAB, true, extract}, {VK_TAB, true, pathBox},
        {VK_RETURN, false, pathBox}, {VK_F1, false, pathBox}, {VK_TAB, false, extract},
        {VK_RETURN, false, extract},
    };
    for (const Step& step : steps) {
        SendKey(step.key, step.shift);
        EXPECT_TRUE(WaitFor([&] { return program.Focus() == step.focus; }))
            << "key " << step.key << (step.shift ? " with Shift" : "");
    }
    EXPECT_FALSE(program.MessageShowsWithin(kQuietMs)) << "Enter clicked a button";
    EXPECT_EQ(Text(pathBox), PathHint);

    // The space bar clicks the focused button: Extract refuses the hint.
    SendKey(VK_SPACE);
    std::string title, text;
    ASSERT_TRUE(program.TakeMessage(title, text));
    EXPECT_EQ(text, messages::kNoPath);
    // The window takes the focus back to the button that had it.
    EXPECT_TRUE(WaitFor([&] { return program.Focus() == extract; }));

    SendKey(VK_ESCAPE);
    EXPECT_EQ(program.ExitCode(), std::optional<DWORD>(0));
}

} // namespace

// The program's path comes as a Unix path from the build; Wine shows that file system as Z:.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: app_window_test PROGRAM\n");
        return 2;
    }
    g_program = argv[1];
    if (!g_program.empty() && g_program[0] == '/') {
        g_program = "Z:" + g_program;
    }
    for (char& c : g_program) {
        if (c == '/') {
            c = '\\';
        }
    }
    return RUN_ALL_TESTS();
}
