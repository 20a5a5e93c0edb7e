// The control skin and the file drop, as the main window uses them. Both come from parts of
// the program of their own; until those are linked in, the skin does nothing and the drop
// target is only its hidden component window, which accepts nothing.
#pragma once

#include "window_layout.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace app {

// Switches the thread's controls to the skin's colour scheme `scheme`.
int ApplySkin(int scheme);

// 拖放对象1: raises FilesReceived with the dropped paths once its window is registered.
class DropTarget {
public:
    using FilesReceived = std::function<void(const std::string& paths)>;

    // The component window, a hidden child of `parent` at `placement`; false if it cannot be
    // created.
    bool Create(HINSTANCE instance, HWND parent, const Placement& placement,
                FilesReceived filesReceived);
    HWND window() const { return window_; }
    // Makes `window` (a window handle as a 32-bit integer) a drop target for files.
    bool RegisterDropWindow(std::uint32_t window);

private:
    HWND window_ = nullptr;
    FilesReceived filesReceived_;
};

} // namespace app
