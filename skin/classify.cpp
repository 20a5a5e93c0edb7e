// Which kind of control a window is, from its class name and style.
#include "control_skin.h"

#include <array>
#include <string>

namespace skin {
namespace {

constexpr int ClassNameSize = 260;

// The order matters: the index of the first match decides.
constexpr std::array<const char*, 15> ClassTable = {
    "Button",        "Edit",          "msctls_hotkey32", "SysIPAddress32",    "ListBox",
    "SysListView32", "SysTreeView32", "ComboBox",        "SysDateTimePick32", "msctls_updown32",
    "ScrollBar",     "SysMonthCal32", "SysTabControl32", "msctls_progress32", "msctls_trackbar32",
};

enum ClassIndex : std::size_t {
    ButtonClass = 0,
    EditClass = 1,
    ComboBoxClass = 7,
    UpDownClass = 9,
    ScrollBarClass = 10,
    MonthCalendarClass = 11,
    TabControlClass = 12,
    ProgressBarClass = 13,
    TrackBarClass = 14,
};

constexpr std::uint32_t ComboTypeMask = 0x3;
// A push button with no text and exactly this style is a placeholder, not a control to skin.
constexpr std::uint32_t BarePushButtonStyle = WS_CHILD | WS_TABSTOP;

std::string ClassNameOf(HWND window) {
    std::array<char, ClassNameSize> name{};
    const int length = ::GetClassNameA(window, name.data(), ClassNameSize);
    return length > 0 ? std::string(name.data(), static_cast<std::size_t>(length)) : std::string();
}

std::optional<std::size_t> ClassIndexOf(const std::string& name) {
    for (std::size_t i = 0; i < ClassTable.size(); ++i) {
        if (::lstrcmpiA(name.c_str(), ClassTable[i]) == 0) {
            return i;
        }
    }
    return std::nullopt;
}

std::uint32_t StyleOf(HWND window) {
    return static_cast<std::uint32_t>(::GetWindowLongA(window, GWL_STYLE));
}

std::optional<ControlKind> ClassifyButton(HWND window, std::uint32_t style) {
    if (style & BS_BITMAP) {
        return std::nullopt;
    }
    const bool pushLike = (style & BS_PUSHLIKE) != 0;
    switch (style & ButtonTypeMask) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        if (style == BarePushButtonStyle && ::GetWindowTextLengthA(window) == 0) {
            return std::nullopt;
        }
        return ControlKind::PushButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return pushLike ? ControlKind::PushButton : ControlKind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return pushLike ? ControlKind::PushButton : ControlKind::RadioButton;
    case BS_GROUPBOX:
        return ControlKind::GroupBox;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<ControlKind> ClassifyWindow(HWND window) {
    const std::string name = ClassNameOf(window);
    if (::lstrcmpiA(name.c_str(), "ComboLBox") == 0) {
        return ControlKind::ComboList;
    }
    const std::optional<std::size_t> index = ClassIndexOf(name);
    if (!index) {
        return std::nullopt;
    }
    const std::uint32_t style = StyleOf(window);
    switch (*index) {
    case ButtonClass:
        return ClassifyButton(window, style);
    case EditClass:
        // The fields of an IP address control are edits that the control draws itself.
        if (::lstrcmpiA(ClassNameOf(::GetParent(window)).c_str(), "SysIPAddress32") == 0) {
            return std::nullopt;
        }
        return ControlKind::Edit;
    case ComboBoxClass:
        if ((style & ComboTypeMask) == CBS_SIMPLE) {
            return std::nullopt;
        }
        return ControlKind::ComboBox;
    case UpDownClass:
        return ControlKind::UpDown;
    case ScrollBarClass:
        return ControlKind::ScrollBar;
    case MonthCalendarClass:
        return ControlKind::MonthCalendar;
    case TabControlClass:
        return ControlKind::TabControl;
    case ProgressBarClass:
        return ControlKind::ProgressBar;
    case TrackBarClass:
        return ControlKind::TrackBar;
    default:
        return std::nullopt;
    }
}

bool IsAttachedKind(ControlKind kind) {
    switch (kind) {
    case ControlKind::ScrollBar:
    case ControlKind::MonthCalendar:
    case ControlKind::TabControl:
    case ControlKind::ProgressBar:
    case ControlKind::TrackBar:
        return false;
    default:
        return true;
    }
}

} // namespace skin
