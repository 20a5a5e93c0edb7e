#include "main_window.h"

#include "control_skin.h"
#include "file_access.h"
#include "label.h"
#include "program_directory.h"
#include "window_class.h"

#include <array>
#include <exception>
#include <new>
#include <utility>

namespace app {

namespace {

constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kComponentStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP;
constexpr DWORD kButtonStyle = BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
constexpr DWORD kPathBoxStyle = ES_LEFT | ES_AUTOHSCROLL;
constexpr COLORREF kPathLabelColour = RGB(255, 0, 0);
constexpr COLORREF kNoticeLabelColour = RGB(144, 0, 255);
constexpr const char* kPathLabelText = "文件路径";
constexpr const char* kNoticeText = "注意：拖动文件的扩展名必须为为EXE、DLL、ICL、ICO！";
constexpr const char* kExtractText = "提取图标";
constexpr const char* kDeleteText = "删除图标";
constexpr const char* kMessageTitle = "提示";
constexpr const char* kErrorTitle = "错误";
constexpr const char* kWindowFailedText = "无法创建程序主窗口，程序将退出。";
constexpr const char* kOutOfMemoryText = "内存不足，程序将退出。";
constexpr const char* kInternalErrorText = "程序内部出错，将退出。";
constexpr int kFatalExitCode = -1;

[[noreturn]] void EndWithFatalError(const char* text) {
    ::MessageBoxA(nullptr, text, kErrorTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ::ExitProcess(static_cast<UINT>(kFatalExitCode));
}

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HWND CreateControl(HINSTANCE instance, HWND parent, DWORD extendedStyle, const char* className,
                   const char* text, DWORD style, const Placement& placement) {
    return ::CreateWindowExA(extendedStyle, className, text, style, placement.left, placement.top,
                             placement.width, placement.height, parent, nullptr, instance, nullptr);
}

bool IsTabStop(HWND window) {
    return ::IsWindowVisible(window) && ::IsWindowEnabled(window) &&
           (::GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP) != 0;
}

bool IsKeyDown(int key) {
    return ::GetKeyState(key) < 0;
}

// SetCurrentDirectoryA("D:") would pick drive D's own current directory, not its root.
std::string DirectoryToEnter(const std::string& directory) {
    if (directory.size() == 2 && directory[1] == ':') {
        return directory + "\\";
    }
    return directory;
}

} // namespace

std::string WindowCommands::ReadPathBox() {
    return WindowText(pathBox_);
}

void WindowCommands::WritePathBox(const std::string& text) {
    ::SetWindowTextA(pathBox_, text.c_str());
}

std::int32_t WindowCommands::ExportIcon(const std::string& source, std::int32_t mode,
                                        const std::string& target, std::int32_t index,
                                        iconexport::ExportOutcome* outcome) {
    return iconexport::ExportIcon(source, mode, target, index, outcome);
}

bool WindowCommands::RemoveFile(const std::string& path) {
    return iconexport::RemoveFile(path);
}

void WindowCommands::ShowMessage(const std::string& text) {
    ::MessageBoxA(nullptr, text.c_str(), kMessageTitle, MB_OK | MB_TASKMODAL);
    // The box has no owner, so nothing hands the activation back to us when it closes (Wine
    // leaves no window active at all); the user goes on in the main window.
    if (::GetActiveWindow() != mainWindow_) {
        ::SetForegroundWindow(mainWindow_);
    }
}

MainWindow::MainWindow(HINSTANCE instance, std::string programDirectory)
    : instance_(instance), commands_(std::move(programDirectory)),
      background_(ProgramResource(instance, IDR_BACKGROUND)) {}

bool MainWindow::Create() {
    if (!RegisterWindowClass(instance_, kMainWindowClassName, Procedure) ||
        !RegisterLabelClass(instance_)) {
        return false;
    }
    const Point origin =
        WindowOrigin(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    ::CreateWindowExA(0, kMainWindowClassName, kMainWindowTitle, kWindowStyle, origin.x, origin.y,
                      kWindowWidth, kWindowHeight, nullptr, nullptr, instance_, this);
    if (!window_) {
        return false;
    }
    icon_.reset(static_cast<HICON>(
        ::LoadImageA(instance_, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR)));
    ::SendMessageA(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    ::SendMessageA(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    ::SendMessageA(window_.get(), WM_SETFONT,
                   reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (!CreateComponents()) {
        return false;
    }
    ArrangeComponents();
    OnMainWindowCreated();
    ::ShowWindow(window_.get(), SW_SHOW);
    return true;
}

// Created hidden, in the reverse of their order on the window.
bool MainWindow::CreateComponents() {
    HWND parent = window_.get();
    const std::string hint(PathHint);
    编辑框1 = CreateControl(instance_, parent, WS_EX_CLIENTEDGE, "EDIT", hint.c_str(),
                            kComponentStyle | kPathBoxStyle, kPathBox);
    按钮1 = CreateControl(instance_, parent, 0, "BUTTON", kExtractText,
                          kComponentStyle | kButtonStyle, kExtractButton);
    按钮2 = CreateControl(instance_, parent, 0, "BUTTON", kDeleteText,
                          kComponentStyle | kButtonStyle, kDeleteButton);
    拖放对象1 = droptarget::DropTarget::Create(
        {.AcceptFiles = true}, parent,
        {kDropTarget.left, kDropTarget.top, kDropTarget.width, kDropTarget.height}, *this);
    标签1 = CreateLabel(instance_, parent, kPathLabelText, kPathLabel, kPathLabelColour);
    标签2 = CreateLabel(instance_, parent, kNoticeText, kNoticeLabel, kNoticeLabelColour);
    if (!编辑框1 || !按钮1 || !按钮2 || !拖放对象1 || !标签1 || !标签2) {
        return false;
    }
    commands_.SetWindows(parent, 编辑框1);
    ::SendMessageA(编辑框1, EM_LIMITTEXT, 0, 0);
    ::SendMessageA(编辑框1, EM_SETSEL, 0, 0);
    ::SendMessageA(编辑框1, EM_SCROLLCARET, 0, 0);
    return true;
}

void MainWindow::ArrangeComponents() {
    // Top of the z-order first.
    const std::array<HWND, 6> order{标签2, 标签1, 拖放对象1->window(), 按钮2, 按钮1, 编辑框1};
    HWND above = HWND_TOP;
    for (HWND component : order) {
        ::SendMessageA(component, WM_SETFONT,
                       reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        ::SetWindowPos(component, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = component;
        if (component != 拖放对象1->window()) {
            ::ShowWindow(component, SW_SHOWNA);
        }
    }
}

// The skin first, then the drop registration; both before the window is first seen.
void MainWindow::OnMainWindowCreated() {
    skin::ApplySkin(1);
    拖放对象1->RegisterDropWindow(window_.get());
}

// The text is the event's own and goes when this returns; the path box keeps a copy.
void MainWindow::FilesReceived(const char* text) {
    OnFileDropped(commands_, text);
}

bool MainWindow::PreTranslate(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) {
        return false;
    }
    if (message.hwnd != window_.get() && !::IsChild(window_.get(), message.hwnd)) {
        return false;
    }
    const bool control = IsKeyDown(VK_CONTROL);
    const bool shift = IsKeyDown(VK_SHIFT);
    const bool alt = IsKeyDown(VK_MENU);
    if (message.wParam == VK_TAB && !control && !alt) {
        MoveFocus(!shift);
        return true;
    }
    if (message.wParam == VK_ESCAPE && !control && !shift && !alt) {
        ::SendMessageA(window_.get(), WM_CLOSE, 0, 0);
        return true;
    }
    return false;
}

void MainWindow::MoveFocus(bool forward) {
    const std::array<HWND, 3> stops{编辑框1, 按钮1, 按钮2};
    const int count = static_cast<int>(stops.size());
    HWND focus = ::GetFocus();
    int current = forward ? -1 : count;
    for (int i = 0; i < count; ++i) {
        if (stops[static_cast<std::size_t>(i)] == focus) {
            current = i;
        }
    }
    const int step = forward ? 1 : -1;
    for (int moved = 1; moved <= count; ++moved) {
        const int next = ((current + moved * step) % count + count) % count;
        HWND candidate = stops[static_cast<std::size_t>(next)];
        if (IsTabStop(candidate)) {
            ::SetFocus(candidate);
            return;
        }
    }
}

void MainWindow::FocusLastComponent() {
    if (lastFocus_ && ::IsChild(window_.get(), lastFocus_)) {
        ::SetFocus(lastFocus_);
    } else {
        ::SetFocus(编辑框1);
    }
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(
            reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_.reset(window);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) {
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_.release();
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    // Exceptions must not unwind through the system's frames; running out of memory is fatal.
    try {
        return self->Handle(message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        EndWithFatalError(kOutOfMemoryText);
    } catch (const std::exception&) {
        EndWithFatalError(kInternalErrorText);
    }
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_.get();
    switch (message) {
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lParam) == 编辑框1) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, RGB(0, 0, 0));
            ::SetBkColor(dc, RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
        }
        break;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers the whole client area
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(window, focus)) {
                lastFocus_ = focus;
            }
        }
        break;
    case WM_SETFOCUS:
        FocusLastComponent();
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED) {
        return;
    }
    HWND source = reinterpret_cast<HWND>(lParam);
    if (source == 按钮1) {
        OnExtractClicked(commands_);
    } else if (source == 按钮2) {
        OnDeleteClicked(commands_);
    }
}

void MainWindow::OnPaint() {
    win32::PaintSession paint(window_.get());
    RECT client{};
    ::GetClientRect(window_.get(), &client);
    background_.Paint(paint.dc(), client.right, client.bottom);
}

int RunProgram(HINSTANCE instance) {
    try {
        win32::OleSession ole;
        const std::string directory = ProgramDirectory();
        ::SetCurrentDirectoryA(DirectoryToEnter(directory).c_str());
        MainWindow window(instance, directory);
        if (!window.Create()) {
            ::MessageBoxA(nullptr, kWindowFailedText, kErrorTitle,
                          MB_OK | MB_ICONERROR | MB_TASKMODAL);
            return kFatalExitCode;
        }
        MSG message{};
        while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (!window.PreTranslate(message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageA(&message);
            }
        }
        return static_cast<int>(message.wParam);
    } catch (const std::bad_alloc&) {
        EndWithFatalError(kOutOfMemoryText);
    }
}

} // namespace app
