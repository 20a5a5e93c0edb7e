// Switching the skin on and off, attaching and detaching controls, and the subclass procedure
// that every attached control's messages pass through.
#include "control_skin.h"

#include "message_policy.h"
#include "painters.h"

#include <win32_owners.h>

#include <commctrl.h>

#include <algorithm>
#include <list>

namespace skin {
namespace {

constexpr UINT RedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASENOW;

enum class Mode : LPARAM { Detach = 0, Attach = 1 };

// Process-wide, used by the GUI thread only.
std::int32_t g_scheme = 1;
win32::UniqueHook g_hook;
std::list<SkinnedControl> g_controls; // newest first
std::uint64_t g_repaints = 0;

std::list<SkinnedControl>::iterator Locate(HWND window) {
    return std::find_if(g_controls.begin(), g_controls.end(),
                        [window](const SkinnedControl& c) { return c.window == window; });
}

SkinnedControl* Find(HWND window) {
    const auto it = Locate(window);
    return it == g_controls.end() ? nullptr : &*it;
}

std::uint32_t StyleOf(HWND window) {
    return static_cast<std::uint32_t>(::GetWindowLongA(window, GWL_STYLE));
}

void Redraw(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RedrawFlags);
}

// The callbacks are noexcept: nothing may unwind through the system's frames, and running out
// of memory while attaching ends the program.
LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept;

WNDPROC Subclass(HWND window, WNDPROC procedure) {
    return reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

std::uint32_t ButtonState(HWND window, std::uint32_t style) {
    std::uint32_t flags = 0;
    if ((style & ButtonTypeMask) == BS_DEFPUSHBUTTON) {
        flags |= state::Default;
    }
    const LRESULT check = ::SendMessageA(window, BM_GETCHECK, 0, 0);
    if (check == BST_CHECKED) {
        flags |= state::Checked;
    } else if (check == BST_INDETERMINATE) {
        flags |= state::Indeterminate;
    }
    return flags;
}

// An up-down against an attached edit marks both, so that they are drawn as one.
std::uint32_t UpDownState(HWND window, std::uint32_t style) {
    std::uint32_t flags = (style & UDS_HORZ) ? state::Horizontal : 0;
    const auto buddy = reinterpret_cast<HWND>(::SendMessageA(window, UDM_GETBUDDY, 0, 0));
    if (!buddy || ClassifyWindow(buddy) != ControlKind::Edit) {
        return flags;
    }
    SkinnedControl* edit = Find(buddy);
    if (!edit) {
        return flags;
    }
    if (style & UDS_ALIGNLEFT) {
        flags |= state::AlignedLeft;
        edit->state |= state::BuddyOfLeftUpDown;
    } else if (style & UDS_ALIGNRIGHT) {
        flags |= state::AlignedRight;
        edit->state |= state::BuddyOfRightUpDown;
    }
    return flags;
}

std::uint32_t KindState(HWND window, ControlKind kind, std::uint32_t style) {
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        return ButtonState(window, style);
    case ControlKind::Edit:
        return (style & ES_READONLY) ? state::ReadOnly : 0;
    case ControlKind::UpDown:
        return UpDownState(window, style);
    default:
        return 0;
    }
}

void Attach(HWND window) {
    if (Find(window)) {
        return;
    }
    const std::optional<ControlKind> kind = ClassifyWindow(window);
    if (!kind || !IsAttachedKind(*kind)) {
        return;
    }
    const std::uint32_t style = StyleOf(window);
    SkinnedControl& record = g_controls.emplace_front();
    record.window = window;
    record.kind = *kind;
    record.state = (style & WS_DISABLED) ? state::Disabled : 0;
    if (::GetFocus() == window) {
        record.state |= state::Focused;
    }
    record.controlProcedure = Subclass(window, SubclassProcedure);
    if (!record.controlProcedure) {
        g_controls.pop_front();
        return;
    }
    // The state queries below pass through the subclass procedure, so look the record up again.
    const std::uint32_t extra = KindState(window, *kind, style);
    if (SkinnedControl* again = Find(window)) {
        again->state |= extra;
    }
    Redraw(window);
}

void Detach(HWND window) {
    const auto it = Locate(window);
    if (it == g_controls.end()) {
        return;
    }
    const WNDPROC procedure = it->controlProcedure;
    g_controls.erase(it);
    Subclass(window, procedure);
    Redraw(window);
}

BOOL CALLBACK EnumerationStep(HWND window, LPARAM mode) noexcept {
    if (static_cast<Mode>(mode) == Mode::Attach) {
        Attach(window);
    } else {
        Detach(window);
    }
    ::EnumChildWindows(window, EnumerationStep, mode);
    return TRUE;
}

void EnumerateThread(Mode mode) {
    ::EnumThreadWindows(::GetCurrentThreadId(), EnumerationStep, static_cast<LPARAM>(mode));
}

LRESULT CALLBACK HookProcedure(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code >= 0) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == WM_CREATE) {
            Attach(call->hwnd);
        }
    }
    return ::CallNextHookEx(g_hook.get(), code, wParam, lParam);
}

void SwitchOn() {
    EnumerateThread(Mode::Attach);
    g_hook.reset(
        ::SetWindowsHookExA(WH_CALLWNDPROC, HookProcedure, nullptr, ::GetCurrentThreadId()));
}

std::int32_t SwitchOff() {
    if (!g_hook) {
        return 0;
    }
    EnumerateThread(Mode::Detach);
    // Controls that the enumeration cannot reach, such as those under a message-only window,
    // are given back their procedures too, so that no record outlives the skin.
    while (!g_controls.empty()) {
        Detach(g_controls.front().window);
    }
    return ::UnhookWindowsHookEx(g_hook.release());
}

// The parent's button colours, asked for as the parent would give them for drawing.
void TakeParentColours(HWND window) {
    const win32::WindowDC dc = win32::GetClientDC(window);
    if (!dc) {
        return;
    }
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(::GetParent(window), WM_CTLCOLORBTN,
                                                               reinterpret_cast<WPARAM>(dc.get()),
                                                               reinterpret_cast<LPARAM>(window)));
    LOGBRUSH description{};
    const bool described = brush && ::GetObjectA(brush, sizeof description, &description) != 0;
    const COLORREF text = ::GetTextColor(dc.get());
    if (SkinnedControl* record = Find(window)) {
        record->backgroundBrush = brush;
        record->backgroundColour = described ? description.lbColor : 0;
        record->textColour = text;
    }
}

void RequestLeave(HWND window) {
    TRACKMOUSEEVENT request = {sizeof request, TME_LEAVE, window, 0};
    ::_TrackMouseEvent(&request);
}

// The control may have gone, or been detached, while its procedure ran.
void Repaint(HWND window) noexcept {
    SkinnedControl* record = Find(window);
    if (!record) {
        return;
    }
    ++g_repaints;
    const SkinnedControl* buddy = nullptr;
    if (record->kind == ControlKind::UpDown) {
        buddy = Find(reinterpret_cast<HWND>(::SendMessageA(window, UDM_GETBUDDY, 0, 0)));
        record = Find(window);
    }
    // A painter that fails leaves the control as its own procedure drew it.
    try {
        if (record) {
            RepaintControl(*record, buddy, g_scheme);
        }
    } catch (...) {
    }
}

LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept {
    SkinnedControl* record = Find(window);
    if (!record) {
        return 0;
    }
    const WNDPROC procedure = record->controlProcedure;
    const ControlKind kind = record->kind;
    if (BypassesSkin(kind, message)) {
        return ::CallWindowProcA(procedure, window, message, wParam, lParam);
    }
    if (message == WM_DESTROY) {
        const LRESULT result = ::CallWindowProcA(procedure, window, message, wParam, lParam);
        Detach(window);
        return result;
    }
    if (message == WM_ERASEBKGND) {
        TakeParentColours(window);
        record = Find(window);
        if (!record) {
            return 0;
        }
    }
    Actions actions = PolicyFor(kind, record->state, message, wParam, lParam, window);
    if (actions.tracker) {
        actions |= TrackState(record->state, message, wParam);
    }
    if (actions.requestLeave) {
        RequestLeave(window);
    }
    LRESULT result = 0;
    if (actions.controlProcedure) {
        result = ::CallWindowProcA(procedure, window, message, wParam, lParam);
    }
    if (actions.defWindowProc) {
        result = ::DefWindowProcA(window, message, wParam, lParam);
    }
    if (actions.repaint) {
        Repaint(window);
    }
    return actions.fixedResult.value_or(result);
}

} // namespace

std::int32_t ApplySkin(std::int32_t scheme) {
    g_scheme = scheme;
    if (scheme >= 1 && scheme <= 3) {
        SwitchOff();
        SwitchOn();
        return 1;
    }
    return SwitchOff();
}

std::optional<SkinnedControl> FindSkinnedControl(HWND window) {
    const SkinnedControl* record = Find(window);
    return record ? std::optional<SkinnedControl>(*record) : std::nullopt;
}

std::size_t SkinnedControlCount() {
    return g_controls.size();
}

std::uint64_t SkinRepaintCount() {
    return g_repaints;
}

} // namespace skin
