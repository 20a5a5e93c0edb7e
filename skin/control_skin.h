// The control skin: takes over the standard controls of the GUI thread, those that exist and
// those created later, follows their visual state and paints them flat with gradients.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace skin {

enum class ControlKind : std::int32_t {
    PushButton = 0,
    CheckBox = 1,
    RadioButton = 2,
    Edit = 3,
    ComboBox = 4,
    UpDown = 5,
    ScrollBar = 6,
    MonthCalendar = 7,
    TabControl = 8,
    ProgressBar = 9,
    TrackBar = 10,
    GroupBox = 11,
    ComboList = 12,
};

// Bits of a control's state word. Some bits mean different things for different kinds.
namespace state {
inline constexpr std::uint32_t Disabled = 0x00000001;
inline constexpr std::uint32_t Pressed = 0x00000002;
inline constexpr std::uint32_t Hot = 0x00000004;
inline constexpr std::uint32_t Focused = 0x00000010;
inline constexpr std::uint32_t Horizontal = 0x00000020;
inline constexpr std::uint32_t Default = 0x00010000;            // button kinds
inline constexpr std::uint32_t BuddyOfLeftUpDown = 0x00010000;  // Edit
inline constexpr std::uint32_t FirstHalfHot = 0x00010000;       // UpDown
inline constexpr std::uint32_t Checked = 0x00020000;            // button kinds
inline constexpr std::uint32_t BuddyOfRightUpDown = 0x00020000; // Edit
inline constexpr std::uint32_t Indeterminate = 0x00040000;
inline constexpr std::uint32_t AlignedLeft = 0x00100000;
inline constexpr std::uint32_t AlignedRight = 0x00200000;
inline constexpr std::uint32_t ReadOnly = 0x10000000;
} // namespace state

// Style bits 0-4 of a button: its type.
inline constexpr std::uint32_t ButtonTypeMask = 0x1F;

// What the skin keeps about one attached control.
struct SkinnedControl {
    HWND window = nullptr;
    ControlKind kind = ControlKind::PushButton;
    std::uint32_t state = 0;
    // Taken from the parent at every WM_ERASEBKGND of the control; 0 until the first one.
    COLORREF backgroundColour = 0;
    COLORREF textColour = 0;
    HBRUSH backgroundBrush = nullptr; // the parent's, not owned here
    WNDPROC controlProcedure = nullptr;
};

// Stores the scheme. 1 (Blue), 2 (Olive) and 3 (Silver) switch the skin on afresh and yield 1;
// any other value switches it off and yields whether a hook was removed.
std::int32_t ApplySkin(std::int32_t scheme);

// The kind of a window, also for the kinds that are recognised but never attached; none for
// the windows the skin does not know.
std::optional<ControlKind> ClassifyWindow(HWND window);
bool IsAttachedKind(ControlKind kind);

// A copy of the record of an attached control.
std::optional<SkinnedControl> FindSkinnedControl(HWND window);
std::size_t SkinnedControlCount();
// How many repaints the skin has carried out since the process started.
std::uint64_t SkinRepaintCount();

} // namespace skin
