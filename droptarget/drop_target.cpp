#include "drop_target.h"

namespace droptarget {

namespace {

constexpr char kWindowClass[] = "DropTargetComponent";
constexpr DWORD kClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
constexpr DWORD kWindowStyle = WS_CHILD | WS_CLIPSIBLINGS;

HINSTANCE ThisModule() {
    return ::GetModuleHandleA(nullptr);
}

bool RegisterWindowClass(WNDPROC procedure) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExA(ThisModule(), kWindowClass, &existing)) {
        return true;
    }
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = kClassStyle;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = ThisModule();
    window_class.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = kWindowClass;
    return ::RegisterClassExA(&window_class) != 0;
}

} // namespace

void DropTargetOwner::TextReceived(const char*) {}
void DropTargetOwner::HtmlReceived(const char*) {}
void DropTargetOwner::UrlReceived(const char*) {}
void DropTargetOwner::FilesReceived(const char*) {}

std::unique_ptr<DropTarget> DropTarget::Create(const AcceptFlags& accept, HWND parent,
                                               const ComponentRect& rect, DropTargetOwner& owner) {
    auto target = std::make_unique<DropTarget>(Key{}, accept, owner);
    if (!target->CreateComponentWindow(parent, rect)) {
        return nullptr;
    }
    return target;
}

DropTarget::DropTarget(Key, const AcceptFlags& accept, DropTargetOwner& owner)
    : sink_(owner, accept, DropSink::CreateDragImageHelper()) {}

DropTarget::~DropTarget() {
    window_.reset();
    Revoke();
}

bool DropTarget::RegisterDropWindow(HWND window) {
    if (registered_window_) {
        return false;
    }
    registered_window_ = window;
    sink_.set_window(window);
    registered_ = ::RegisterDragDrop(window, &sink_) == S_OK;
    return registered_;
}

bool DropTarget::CreateComponentWindow(HWND parent, const ComponentRect& rect) {
    if (!RegisterWindowClass(WindowProcedure)) {
        return false;
    }
    // The window takes `this` at WM_NCCREATE, so window_ is set before CreateWindowExA returns.
    const HWND window =
        ::CreateWindowExA(0, kWindowClass, "", kWindowStyle, rect.x, rect.y, rect.width,
                          rect.height, parent, nullptr, ThisModule(), this);
    return window != nullptr && window == window_.get();
}

void DropTarget::Revoke() {
    // OLE holds a pointer to the sink until this returns, so it comes before the sink goes.
    if (std::exchange(registered_, false)) {
        ::RevokeDragDrop(registered_window_);
    }
}

LRESULT CALLBACK DropTarget::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* target =
            static_cast<DropTarget*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(target));
        target->window_.reset(window);
    } else if (message == WM_NCDESTROY) {
        if (auto* target =
                reinterpret_cast<DropTarget*>(::GetWindowLongPtrA(window, GWLP_USERDATA))) {
            // The parent's windows are going: this is the component's last message.
            ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            target->window_.release();
            target->Revoke();
        }
    }
    return ::DefWindowProcA(window, message, wparam, lparam);
}

} // namespace droptarget
