#include "later_parts.h"

#include <utility>

namespace app {

namespace {

constexpr const char* kDropTargetClassName = "IconExtractorDropTarget";

bool RegisterDropTargetClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kDropTargetClassName;
    return ::RegisterClassExA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

int ApplySkin(int) {
    return 0;
}

bool DropTarget::Create(HINSTANCE instance, HWND parent, const Placement& placement,
                        FilesReceived filesReceived) {
    if (!RegisterDropTargetClass(instance)) {
        return false;
    }
    window_ = ::CreateWindowExA(0, kDropTargetClassName, "", WS_CHILD | WS_CLIPSIBLINGS,
                                placement.left, placement.top, placement.width, placement.height,
                                parent, nullptr, instance, nullptr);
    filesReceived_ = std::move(filesReceived);
    return window_ != nullptr;
}

bool DropTarget::RegisterDropWindow(std::uint32_t) {
    return false;
}

} // namespace app
