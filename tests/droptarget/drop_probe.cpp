// A window with a drop target for files, for drops from outside the process: it writes the
// text of the first FilesReceived to the file named by its argument and closes.
#include "drop_target.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr char kWindowClass[] = "DropProbeWindow";
constexpr char kTitle[] = "DropProbe";
constexpr UINT kGiveUpMilliseconds = 60000;
constexpr UINT_PTR kGiveUpTimer = 1;
constexpr int kExitNoDrop = 2;

LRESULT CALLBACK ProbeProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_TIMER && wparam == kGiveUpTimer) {
        ::PostQuitMessage(kExitNoDrop);
        return 0;
    }
    return ::DefWindowProcA(window, message, wparam, lparam);
}

class Probe final : public droptarget::DropTargetOwner {
public:
    explicit Probe(const char* output) : output_(output) {}
    void FilesReceived(const char* text) override {
        if (std::FILE* file = std::fopen(output_, "wb")) {
            std::fwrite(text, 1, std::strlen(text), file);
            std::fclose(file);
        }
        ::PostQuitMessage(0);
    }

private:
    const char* output_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 1;
    }
    const win32::OleSession ole;
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = ProbeProcedure;
    window_class.hInstance = ::GetModuleHandleA(nullptr);
    window_class.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = kWindowClass;
    if (!ole.initialised() || !::RegisterClassA(&window_class)) {
        return 1;
    }
    const win32::UniqueWindow window(
        ::CreateWindowExA(0, kWindowClass, kTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100,
                          480, 273, nullptr, nullptr, window_class.hInstance, nullptr));
    Probe probe(argv[1]);
    const auto target = droptarget::DropTarget::Create({.AcceptFiles = true}, window.get(),
                                                       {24, 120, 48, 40}, probe);
    if (!window || !target || !target->RegisterDropWindow(window.get())) {
        return 1;
    }
    ::ShowWindow(window.get(), SW_SHOW);
    ::SetTimer(window.get(), kGiveUpTimer, kGiveUpMilliseconds, nullptr);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
