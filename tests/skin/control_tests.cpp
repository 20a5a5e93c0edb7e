// Attaching and detaching the thread's controls, the state they carry, and what reaches the
// screen, under Wine on a virtual display.
#include "control_skin.h"
#include "skin_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {

using skin::ControlKind;
using skin::SkinnedControl;
using skintest::Hex;
using skintest::MakeChild;
namespace st = skin::state;

constexpr std::uint32_t Child = WS_CHILD | WS_VISIBLE;

void InitCommonControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                                      ICC_INTERNET_CLASSES | ICC_HOTKEY_CLASS};
        return ::InitCommonControlsEx(&init) != FALSE;
    }();
    (void)done;
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    const win32::WindowDC dc = win32::GetClientDC(window);
    return ::GetPixel(dc.get(), x, y);
}

std::uint32_t StateOf(HWND window) {
    const std::optional<SkinnedControl> record = skin::FindSkinnedControl(window);
    return record ? record->state : 0xFFFFFFFFu;
}

class Skin : public ::testing::Test {
protected:
    void SetUp() override { InitCommonControlsOnce(); }
    void TearDown() override {
        skin::ApplySkin(0);
        skintest::PumpMessages();
    }
    win32::UniqueWindow parent = skintest::MakeParent(500, 400);
};

struct ClassCase {
    const char* className;
    const char* text;
    std::uint32_t style;
    std::optional<ControlKind> kind;
};

TEST_F(Skin, ClassificationByClassAndStyle) {
    using K = ControlKind;
    const ClassCase cases[] = {
        {"Button", "OK", BS_PUSHBUTTON, K::PushButton},
        {"Button", "OK", BS_DEFPUSHBUTTON, K::PushButton},
        {"Button", "", WS_TABSTOP, std::nullopt}, // exactly WS_CHILD | WS_TABSTOP, no text
        {"Button", "", WS_TABSTOP | WS_VISIBLE, K::PushButton},
        {"Button", "", BS_DEFPUSHBUTTON | WS_TABSTOP, K::PushButton},
        {"Button", "x", WS_TABSTOP, K::PushButton},
        {"Button", "", 0, K::PushButton},
        {"Button", "OK", BS_PUSHBUTTON | BS_BITMAP, std::nullopt},
        {"Button", "OK", BS_PUSHBUTTON | BS_ICON, K::PushButton},
        {"Button", "c", BS_CHECKBOX, K::CheckBox},
        {"Button", "c", BS_AUTOCHECKBOX, K::CheckBox},
        {"Button", "c", BS_3STATE, K::CheckBox},
        {"Button", "c", BS_AUTO3STATE, K::CheckBox},
        {"Button", "c", BS_AUTOCHECKBOX | BS_PUSHLIKE, K::PushButton},
        {"Button", "c", BS_AUTO3STATE | BS_PUSHLIKE, K::PushButton},
        {"Button", "c", BS_AUTOCHECKBOX | BS_BITMAP, std::nullopt},
        {"Button", "r", BS_RADIOBUTTON, K::RadioButton},
        {"Button", "r", BS_AUTORADIOBUTTON, K::RadioButton},
        {"Button", "r", BS_AUTORADIOBUTTON | BS_PUSHLIKE, K::PushButton},
        {"Button", "g", BS_GROUPBOX, K::GroupBox},
        {"Button", "p", BS_PUSHBOX, std::nullopt},
        {"Button", "o", BS_OWNERDRAW, std::nullopt},
        {"Button", "o", 0x0C, std::nullopt},
        {"Button", "o", 0x0F, std::nullopt},
        {"Edit", "", WS_BORDER, K::Edit},
        {"Edit", "", ES_READONLY, K::Edit},
        {"ComboBox", "", CBS_DROPDOWN, K::ComboBox},
        {"ComboBox", "", CBS_DROPDOWNLIST, K::ComboBox},
        {"ComboBox", "", CBS_SIMPLE, std::nullopt},
        {"msctls_updown32", "", 0, K::UpDown},
        {"ScrollBar", "", SBS_HORZ, K::ScrollBar},
        {"SysMonthCal32", "", 0, K::MonthCalendar},
        {"SysTabControl32", "", 0, K::TabControl},
        {"msctls_progress32", "", 0, K::ProgressBar},
        {"msctls_trackbar32", "", 0, K::TrackBar},
        {"msctls_hotkey32", "", 0, std::nullopt},
        {"SysIPAddress32", "", 0, std::nullopt},
        {"ListBox", "", 0, std::nullopt},
        {"SysListView32", "", 0, std::nullopt},
        {"SysTreeView32", "", 0, std::nullopt},
        {"SysDateTimePick32", "", 0, std::nullopt},
        {"Static", "s", 0, std::nullopt},
    };
    for (const ClassCase& c : cases) {
        SCOPED_TRACE(std::string(c.className) + " style " + std::to_string(c.style));
        const auto window = MakeChild(parent.get(), c.className, c.text, WS_CHILD | c.style);
        ASSERT_TRUE(window);
        EXPECT_EQ(skin::ClassifyWindow(window.get()), c.kind);
    }
    EXPECT_EQ(skin::ClassifyWindow(parent.get()), std::nullopt);
}

TEST_F(Skin, UserButtonIsJudgedAtCreationBeforeItBecomesAPushButton) {
    ASSERT_EQ(skin::ApplySkin(1), 1);
    const auto user = MakeChild(parent.get(), "Button", "u", Child | BS_USERBUTTON);
    EXPECT_FALSE(skin::FindSkinnedControl(user.get()));
}

TEST_F(Skin, PartsOfOtherControls) {
    const auto ip = MakeChild(parent.get(), "SysIPAddress32", "", Child, 10, 10, 150, 24);
    std::vector<HWND> fields;
    ::EnumChildWindows(
        ip.get(),
        [](HWND field, LPARAM out) {
            reinterpret_cast<std::vector<HWND>*>(out)->push_back(field);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&fields));
    ASSERT_FALSE(fields.empty());
    for (HWND field : fields) {
        EXPECT_EQ(skin::ClassifyWindow(field), std::nullopt) << "the fields draw themselves";
    }
    const auto combo =
        MakeChild(parent.get(), "ComboBox", "", Child | CBS_DROPDOWNLIST, 10, 50, 150, 200);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(combo.get(), &info));
    EXPECT_EQ(skin::ClassifyWindow(info.hwndList), ControlKind::ComboList);
}

TEST_F(Skin, OnlyTheDrawnKindsAreAttached) {
    const std::map<ControlKind, bool> attached = {
        {ControlKind::PushButton, true},  {ControlKind::CheckBox, true},
        {ControlKind::RadioButton, true}, {ControlKind::Edit, true},
        {ControlKind::ComboBox, true},    {ControlKind::UpDown, true},
        {ControlKind::ScrollBar, false},  {ControlKind::MonthCalendar, false},
        {ControlKind::TabControl, false}, {ControlKind::ProgressBar, false},
        {ControlKind::TrackBar, false},   {ControlKind::GroupBox, true},
        {ControlKind::ComboList, true},
    };
    for (const auto& [kind, expected] : attached) {
        EXPECT_EQ(skin::IsAttachedKind(kind), expected) << static_cast<int>(kind);
    }
    const auto bar = MakeChild(parent.get(), "ScrollBar", "", Child | SBS_HORZ, 10, 10, 150, 20);
    ASSERT_EQ(skin::ApplySkin(1), 1);
    EXPECT_FALSE(skin::FindSkinnedControl(bar.get()));
}

TEST_F(Skin, ExistingButtonIsSkinnedAtOnceAndEachSchemeRepaintsIt) {
    constexpr int W = 120;
    const auto button =
        MakeChild(parent.get(), "Button", "OK", Child | BS_PUSHBUTTON, 10, 10, W, 40);
    skintest::PumpMessages();
    const auto original = ::GetWindowLongPtrA(button.get(), GWLP_WNDPROC);
    const std::uint64_t repaints = skin::SkinRepaintCount();
    ASSERT_EQ(skin::ApplySkin(1), 1);
    // No message is pumped: the attach itself repaints.
    EXPECT_GT(skin::SkinRepaintCount(), repaints);
    ASSERT_TRUE(skin::FindSkinnedControl(button.get()));
    EXPECT_EQ(skin::FindSkinnedControl(button.get())->kind, ControlKind::PushButton);
    EXPECT_NE(::GetWindowLongPtrA(button.get(), GWLP_WNDPROC), original);
    EXPECT_EQ(Hex(ScreenPixel(button.get(), 2, 2)), "#003C73");
    EXPECT_EQ(Hex(ScreenPixel(button.get(), W / 2, 1)), "#003C73");
    EXPECT_EQ(Hex(ScreenPixel(button.get(), W / 2, 2)), "#FFFFFF");

    ASSERT_EQ(skin::ApplySkin(2), 1);
    EXPECT_EQ(Hex(ScreenPixel(button.get(), 2, 2)), "#376206");
    EXPECT_EQ(Hex(ScreenPixel(button.get(), W / 2, 1)), "#376206");
    EXPECT_EQ(skin::SkinnedControlCount(), 1u) << "switching schemes leaves no stale record";

    EXPECT_NE(skin::ApplySkin(0), 0);
    EXPECT_EQ(::GetWindowLongPtrA(button.get(), GWLP_WNDPROC), original);
    EXPECT_FALSE(skin::FindSkinnedControl(button.get()));
    EXPECT_NE(Hex(ScreenPixel(button.get(), W / 2, 1)), "#376206") << "native look again";
    EXPECT_EQ(skin::ApplySkin(0), 0) << "already off";
    const auto later = MakeChild(parent.get(), "Button", "Later", Child, 10, 60, W, 40);
    EXPECT_FALSE(skin::FindSkinnedControl(later.get())) << "the hook is gone";
}

TEST_F(Skin, HookAttachesLaterControlsAndDestroyDetaches) {
    ASSERT_EQ(skin::ApplySkin(1), 1);
    const std::size_t before = skin::SkinnedControlCount();
    auto button = MakeChild(parent.get(), "Button", "Go", Child | BS_DEFPUSHBUTTON, 10, 10);
    auto edit = MakeChild(parent.get(), "Edit", "", Child | WS_BORDER | ES_READONLY, 10, 60);
    auto label = MakeChild(parent.get(), "Static", "label", Child, 10, 110);
    EXPECT_EQ(StateOf(button.get()), st::Default);
    EXPECT_EQ(StateOf(edit.get()), st::ReadOnly);
    EXPECT_FALSE(skin::FindSkinnedControl(label.get()));
    EXPECT_EQ(skin::SkinnedControlCount(), before + 2);
    button.reset();
    EXPECT_EQ(skin::SkinnedControlCount(), before + 1);
    // Off and on again: every record is made afresh, none is left over.
    EXPECT_NE(skin::ApplySkin(0), 0);
    EXPECT_EQ(skin::SkinnedControlCount(), 0u);
    ASSERT_EQ(skin::ApplySkin(1), 1);
    EXPECT_EQ(skin::SkinnedControlCount(), before + 1);
    EXPECT_TRUE(skin::FindSkinnedControl(edit.get()));
}

// A procedure that counts the messages passing through it: installed before the skin it counts
// what reaches the control's own procedure, after the skin what reaches the skin.
template <int Layer> struct Counter {
    static inline WNDPROC next = nullptr;
    static inline std::map<UINT, int> received;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        ++received[message];
        return ::CallWindowProcA(next, window, message, wParam, lParam);
    }
    static void Install(HWND window) {
        received.clear();
        next = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
            window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Counter<Layer>::Procedure)));
    }
};

TEST_F(Skin, SwitchingOffReachesControlsTheEnumerationCannotSee) {
    const win32::UniqueWindow hidden(::CreateWindowExA(0, "Static", "", 0, 0, 0, 10, 10,
                                                       HWND_MESSAGE, nullptr, nullptr, nullptr));
    ASSERT_EQ(skin::ApplySkin(1), 1);
    const auto button = MakeChild(hidden.get(), "Button", "x", WS_CHILD);
    ASSERT_TRUE(skin::FindSkinnedControl(button.get())) << "the hook attached it";
    const auto skinned = ::GetWindowLongPtrA(button.get(), GWLP_WNDPROC);
    EXPECT_NE(skin::ApplySkin(0), 0);
    EXPECT_EQ(skin::SkinnedControlCount(), 0u);
    EXPECT_NE(::GetWindowLongPtrA(button.get(), GWLP_WNDPROC), skinned);
}

TEST_F(Skin, DestroyGivesTheControlItsProcedureBack) {
    auto button = MakeChild(parent.get(), "Button", "Go", Child, 10, 10);
    Counter<0>::Install(button.get());
    ASSERT_EQ(skin::ApplySkin(1), 1);
    ASSERT_TRUE(skin::FindSkinnedControl(button.get()));
    button.reset();
    EXPECT_EQ(Counter<0>::received[WM_DESTROY], 1);
    EXPECT_EQ(Counter<0>::received[WM_NCDESTROY], 1) << "the last message reaches the control";
    EXPECT_EQ(skin::SkinnedControlCount(), 0u);
}

TEST_F(Skin, StateAtAttach) {
    ::SetFocus(parent.get());
    const auto disabled = MakeChild(parent.get(), "Button", "D", Child | WS_DISABLED, 10, 10);
    const auto checked = MakeChild(parent.get(), "Button", "C", Child | BS_AUTOCHECKBOX, 140, 10);
    const auto mixed = MakeChild(parent.get(), "Button", "M", Child | BS_AUTO3STATE, 270, 10);
    const auto pushLike =
        MakeChild(parent.get(), "Button", "P", Child | BS_AUTOCHECKBOX | BS_PUSHLIKE, 10, 60);
    const auto focused = MakeChild(parent.get(), "Button", "F", Child, 140, 60);
    const auto edit = MakeChild(parent.get(), "Edit", "", Child | WS_BORDER, 10, 110, 100, 24);
    const auto upDown = MakeChild(parent.get(), "msctls_updown32", "",
                                  Child | UDS_ALIGNRIGHT | UDS_HORZ, 110, 110, 30, 24);
    ::SendMessageA(upDown.get(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit.get()), 0);
    // The enumeration walks from the top of the z-order; the edit must have its record first.
    ::SetWindowPos(edit.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SendMessageA(checked.get(), BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageA(mixed.get(), BM_SETCHECK, BST_INDETERMINATE, 0);
    ::SendMessageA(pushLike.get(), BM_SETCHECK, BST_CHECKED, 0);
    ::SetFocus(focused.get());
    ASSERT_EQ(skin::ApplySkin(1), 1);
    EXPECT_EQ(StateOf(disabled.get()), st::Disabled);
    EXPECT_EQ(StateOf(checked.get()), st::Checked);
    EXPECT_EQ(StateOf(mixed.get()), st::Indeterminate);
    EXPECT_EQ(skin::FindSkinnedControl(pushLike.get())->kind, ControlKind::PushButton);
    EXPECT_EQ(StateOf(pushLike.get()), st::Checked);
    EXPECT_EQ(StateOf(focused.get()), st::Focused);
    EXPECT_EQ(StateOf(upDown.get()), st::Horizontal | st::AlignedRight);
    EXPECT_EQ(StateOf(edit.get()), st::BuddyOfRightUpDown);
}

TEST_F(Skin, StateFollowsMessages) {
    const auto box = MakeChild(parent.get(), "Button", "box", Child | BS_AUTO3STATE, 10, 10);
    ASSERT_EQ(skin::ApplySkin(1), 1);
    HWND w = box.get();
    struct Step {
        const char* name;
        UINT message;
        WPARAM wParam;
        std::uint32_t expected;
    };
    const Step steps[] = {
        {"checked", BM_SETCHECK, BST_CHECKED, st::Checked},
        {"indeterminate", BM_SETCHECK, BST_INDETERMINATE, st::Indeterminate},
        {"unchecked", BM_SETCHECK, BST_UNCHECKED, 0},
        {"other check value", BM_SETCHECK, 7, 0},
        {"pressed", BM_SETSTATE, TRUE, st::Pressed},
        {"released", BM_SETSTATE, FALSE, 0},
        {"default style", BM_SETSTYLE, BS_DEFPUSHBUTTON, st::Default},
        {"plain style", BM_SETSTYLE, BS_PUSHBUTTON, 0},
        {"disabled", WM_ENABLE, FALSE, st::Disabled},
        {"enabled", WM_ENABLE, TRUE, 0},
        {"focus", WM_SETFOCUS, 0, st::Focused},
        {"focus lost", WM_KILLFOCUS, 0, 0},
    };
    for (const Step& step : steps) {
        const std::uint64_t repaints = skin::SkinRepaintCount();
        ::SendMessageA(w, step.message, step.wParam, 0);
        EXPECT_EQ(StateOf(w), step.expected) << step.name;
        EXPECT_EQ(skin::SkinRepaintCount(), repaints + 1) << step.name;
    }
}

TEST_F(Skin, HotOnEntryAndOffOnLeaveWithOneRepaintEach) {
    using Control = Counter<0>;
    using Arriving = Counter<1>;
    auto button = MakeChild(parent.get(), "Button", "Hot", Child, 10, 10, 120, 40);
    HWND w = button.get();
    Control::Install(w);
    ASSERT_EQ(skin::ApplySkin(1), 1);
    Arriving::Install(w);
    POINT inside = {60, 20};
    ::ClientToScreen(w, &inside);
    ::SetCursorPos(inside.x, inside.y);
    const LPARAM at = MAKELPARAM(60, 20);
    Control::received.clear();
    Arriving::received.clear();

    const std::uint64_t start = skin::SkinRepaintCount();
    ::SendMessageA(w, WM_MOUSEMOVE, 0, at);
    EXPECT_EQ(StateOf(w) & st::Hot, st::Hot);
    EXPECT_EQ(skin::SkinRepaintCount(), start + 1);
    for (int i = 0; i < 5; ++i) {
        ::SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(61 + i, 20));
    }
    ::SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, at);
    EXPECT_EQ(skin::SkinRepaintCount(), start + 1) << "no repaint while moving inside";
    EXPECT_EQ(Control::received[WM_MOUSEMOVE], 7) << "each move reaches the control once";
    EXPECT_EQ(Arriving::received[WM_MOUSEMOVE], 7);

    // The leave comes from the tracking the skin asked for when the pointer entered.
    ::SetCursorPos(900, 700);
    for (int i = 0; i < 200 && (StateOf(w) & st::Hot); ++i) {
        skintest::PumpMessages();
        ::Sleep(10);
    }
    EXPECT_EQ(StateOf(w) & st::Hot, 0u);
    EXPECT_EQ(skin::SkinRepaintCount(), start + 2);
    EXPECT_GE(Control::received[WM_MOUSELEAVE], 1);
    // Moves that the pointer itself made in the meantime pass through once as well.
    EXPECT_EQ(Control::received[WM_MOUSEMOVE], Arriving::received[WM_MOUSEMOVE]);
}

TEST_F(Skin, APressDraggedInDoesNotMakeAButtonHot) {
    const auto button = MakeChild(parent.get(), "Button", "Drag", Child, 10, 10, 120, 40);
    ASSERT_EQ(skin::ApplySkin(1), 1);
    const std::uint64_t start = skin::SkinRepaintCount();
    ::SendMessageA(button.get(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(StateOf(button.get()) & st::Hot, 0u);
    EXPECT_EQ(skin::SkinRepaintCount(), start);
}

TEST_F(Skin, ReadOnlyLaterKeepsTheBorderColours) {
    const auto edit =
        MakeChild(parent.get(), "Edit", "path", Child, 10, 10, 200, 24, WS_EX_CLIENTEDGE);
    ASSERT_EQ(skin::ApplySkin(1), 1);
    ASSERT_TRUE(::SendMessageA(edit.get(), EM_SETREADONLY, TRUE, 0));
    EXPECT_TRUE(::GetWindowLongA(edit.get(), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(StateOf(edit.get()) & st::ReadOnly, 0u);
    ::RedrawWindow(edit.get(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASENOW);
    const win32::WindowDC dc = win32::GetWholeWindowDC(edit.get());
    EXPECT_EQ(Hex(::GetPixel(dc.get(), 0, 0)), "#7B9EBD");
    EXPECT_EQ(Hex(::GetPixel(dc.get(), 100, 0)), "#7B9EBD");
    EXPECT_EQ(Hex(::GetPixel(dc.get(), 100, 1)), Hex(::GetSysColor(COLOR_WINDOW)));
}

// What the timer saw of the message box while it was up.
struct BoxSighting {
    bool found = false;
    std::optional<SkinnedControl> ok;
    bool textAttached = true;
    COLORREF border = 0;
    COLORREF ring = 0;
};
BoxSighting g_sighting;

BOOL CALLBACK FindBox(HWND window, LPARAM out) {
    std::array<char, 16> name{};
    ::GetClassNameA(window, name.data(), static_cast<int>(name.size()));
    if (std::string(name.data()) == "#32770" && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK InspectBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) {
        return;
    }
    ::KillTimer(nullptr, timer);
    HWND ok = ::GetDlgItem(box, IDOK);
    g_sighting.found = ok != nullptr;
    g_sighting.ok = skin::FindSkinnedControl(ok);
    g_sighting.textAttached = skin::FindSkinnedControl(::GetDlgItem(box, 0xFFFF)).has_value();
    RECT client{};
    ::GetClientRect(ok, &client);
    ::RedrawWindow(ok, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    g_sighting.border = ScreenPixel(ok, 2, 2);
    g_sighting.ring = ScreenPixel(ok, client.right / 2, 2);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Skin, MessageBoxOkButtonIsSkinnedAsTheFocusedDefault) {
    ASSERT_EQ(skin::ApplySkin(1), 1);
    g_sighting = {};
    ASSERT_NE(::SetTimer(nullptr, 0, 100, InspectBox), 0u);
    EXPECT_EQ(
        ::MessageBoxA(nullptr, "图标文件已经保存到程序根目录下", "提示", MB_OK | MB_TASKMODAL),
        IDOK);
    ASSERT_TRUE(g_sighting.found);
    ASSERT_TRUE(g_sighting.ok.has_value());
    EXPECT_EQ(g_sighting.ok->kind, ControlKind::PushButton);
    EXPECT_EQ(g_sighting.ok->state & (st::Default | st::Focused), st::Default | st::Focused);
    EXPECT_FALSE(g_sighting.textAttached);
    EXPECT_EQ(Hex(g_sighting.border), "#003C73");
    EXPECT_EQ(Hex(g_sighting.ring), "#CEE7FF") << "the default button's blue ring";
    EXPECT_FALSE(skin::FindSkinnedControl(g_sighting.ok->window)) << "gone with the box";
}

TEST_F(Skin, RepaintsLeakNoGdiObjects) {
    const auto button = MakeChild(parent.get(), "Button", "OK", Child, 10, 10, 120, 40);
    const auto edit =
        MakeChild(parent.get(), "Edit", "x", Child, 10, 60, 200, 24, WS_EX_CLIENTEDGE);
    const auto check = MakeChild(parent.get(), "Button", "c", Child | BS_AUTOCHECKBOX, 10, 100);
    const auto radio = MakeChild(parent.get(), "Button", "r", Child | BS_AUTORADIOBUTTON, 140, 100);
    const auto group =
        MakeChild(parent.get(), "Button", "g", Child | BS_GROUPBOX, 270, 10, 150, 80);
    const auto combo =
        MakeChild(parent.get(), "ComboBox", "", Child | CBS_DROPDOWNLIST, 10, 150, 150, 200);
    const auto upDown = MakeChild(parent.get(), "msctls_updown32", "", Child, 200, 150, 20, 30);
    // A control too small for a buffer: its painter cannot draw and the message goes on.
    const auto empty = MakeChild(parent.get(), "Button", "0", Child, 300, 150, 0, 0);
    ASSERT_EQ(skin::ApplySkin(1), 1);
    const HWND windows[] = {button.get(), edit.get(),  check.get(),  radio.get(),
                            group.get(),  combo.get(), upDown.get(), empty.get()};
    const auto churn = [&](int rounds) {
        for (int i = 0; i < rounds; ++i) {
            for (HWND w : windows) {
                ::SendMessageA(w, WM_SETFOCUS, 0, 0);
                ::SendMessageA(w, WM_KILLFOCUS, 0, 0);
                ::RedrawWindow(w, nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
            }
            ::SendMessageA(check.get(), BM_SETCHECK, static_cast<WPARAM>(i % 3), 0);
        }
    };
    churn(5);
    const std::int64_t before = skintest::GdiObjectCount();
    ASSERT_GT(before, 0);
    const std::uint64_t repaints = skin::SkinRepaintCount();
    churn(200);
    EXPECT_GT(skin::SkinRepaintCount(), repaints + 200 * 8);
    EXPECT_EQ(skintest::GdiObjectCount(), before);
    ::SendMessageA(empty.get(), BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(::SendMessageA(empty.get(), BM_GETSTATE, 0, 0) & BST_PUSHED);
}

} // namespace
