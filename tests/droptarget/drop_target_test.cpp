// The component with real windows under Wine: its hidden window, the registration rules, and
// the revocation when the windows go.
#include "drop_fakes.h"
#include "drop_target.h"

#include <gtest/gtest.h>

#include <thread>

namespace droptarget {
namespace {

using testing::DropFilesBlock;
using testing::FakeDataObject;
using testing::Log;
using testing::RecordingOwner;

constexpr char kTestWindowClass[] = "DropTargetTestWindow";
constexpr ComponentRect kRect{24, 120, 48, 40};
constexpr AcceptFlags kFilesOnly{.AcceptFiles = true};

win32::UniqueWindow MakeTopLevelWindow() {
    static const bool registered = [] {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = ::DefWindowProcA;
        window_class.hInstance = ::GetModuleHandleA(nullptr);
        window_class.lpszClassName = kTestWindowClass;
        return ::RegisterClassA(&window_class) != 0;
    }();
    EXPECT_TRUE(registered);
    return win32::UniqueWindow(::CreateWindowExA(0, kTestWindowClass, "drop", WS_OVERLAPPEDWINDOW,
                                                 100, 100, 480, 273, nullptr, nullptr,
                                                 ::GetModuleHandleA(nullptr), nullptr));
}

ULONG References(IDropTarget* target) {
    target->AddRef();
    return target->Release();
}

// Whether `window` is free for a registration; it is left as it was found.
bool IsFreeForRegistration(HWND window) {
    testing::IdleDropTarget other;
    if (::RegisterDragDrop(window, &other) != S_OK) {
        return false;
    }
    ::RevokeDragDrop(window);
    return true;
}

class DropTargetTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(parent); }

    Log log;
    RecordingOwner owner{log};
    win32::UniqueWindow parent = MakeTopLevelWindow();
};

TEST_F(DropTargetTest, LivesInAHiddenChildWindowOfItsOwnClass) {
    const auto target = DropTarget::Create(kFilesOnly, parent.get(), kRect, owner);
    ASSERT_TRUE(target);
    const HWND window = target->window();
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_EQ(::GetParent(window), parent.get());
    EXPECT_EQ(::GetClassLongPtrA(window, GCL_STYLE), CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(::GetClassLongPtrA(window, GCLP_HCURSOR)),
              ::LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(::GetClassLongPtrA(window, GCLP_HBRBACKGROUND)),
              ::GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE)),
              static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS));
    EXPECT_EQ(::GetWindowTextLengthA(window), 0);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, parent.get(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 24);
    EXPECT_EQ(rect.top, 120);
    EXPECT_EQ(rect.right - rect.left, 48);
    EXPECT_EQ(rect.bottom - rect.top, 40);
    ::ShowWindow(parent.get(), SW_SHOWNA);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(References(target->sink()), 1u);
}

TEST_F(DropTargetTest, DoesNotExistWithoutItsWindow) {
    EXPECT_FALSE(DropTarget::Create(kFilesOnly, nullptr, kRect, owner));
    const HWND gone = parent.get();
    parent.reset();
    EXPECT_FALSE(DropTarget::Create(kFilesOnly, gone, kRect, owner));
}

TEST_F(DropTargetTest, RegistersOnlyTheFirstWindow) {
    const auto target = DropTarget::Create(kFilesOnly, parent.get(), kRect, owner);
    ASSERT_TRUE(target);
    const win32::UniqueWindow other = MakeTopLevelWindow();
    EXPECT_TRUE(target->RegisterDropWindow(parent.get()));
    EXPECT_GT(References(target->sink()), 1u);
    EXPECT_FALSE(target->RegisterDropWindow(parent.get()));
    EXPECT_FALSE(target->RegisterDropWindow(other.get()));
    EXPECT_FALSE(IsFreeForRegistration(parent.get()));
    EXPECT_TRUE(IsFreeForRegistration(other.get()));
}

TEST_F(DropTargetTest, KeepsAFailedRegistrationsWindowRecorded) {
    testing::IdleDropTarget other;
    ASSERT_EQ(::RegisterDragDrop(parent.get(), &other), S_OK);
    {
        const auto target = DropTarget::Create(kFilesOnly, parent.get(), kRect, owner);
        ASSERT_TRUE(target);
        EXPECT_FALSE(target->RegisterDropWindow(parent.get()));
        ASSERT_EQ(::RevokeDragDrop(parent.get()), S_OK);
        EXPECT_FALSE(target->RegisterDropWindow(parent.get()));
        ASSERT_EQ(::RegisterDragDrop(parent.get(), &other), S_OK);
    }
    // The component never held the registration, so it did not revoke someone else's.
    EXPECT_FALSE(IsFreeForRegistration(parent.get()));
    EXPECT_EQ(::RevokeDragDrop(parent.get()), S_OK);
}

TEST_F(DropTargetTest, FailsToRegisterWhereOleIsNotInitialised) {
    bool first = true;
    bool second = true;
    std::thread([&] {
        const win32::UniqueWindow window = MakeTopLevelWindow();
        Log thread_log;
        RecordingOwner thread_owner(thread_log);
        const auto target = DropTarget::Create(kFilesOnly, window.get(), kRect, thread_owner);
        if (target) {
            first = target->RegisterDropWindow(window.get());
            second = target->RegisterDropWindow(window.get());
        }
    }).join();
    EXPECT_FALSE(first);
    EXPECT_FALSE(second);
}

TEST_F(DropTargetTest, RevokesWhenTheParentsWindowsAreDestroyed) {
    // The registered window outlives the parent here, so a fresh registration shows the
    // revocation; OLE's references to the sink are given back too.
    const win32::UniqueWindow registered = MakeTopLevelWindow();
    const auto target = DropTarget::Create(kFilesOnly, parent.get(), kRect, owner);
    ASSERT_TRUE(target);
    ASSERT_TRUE(target->RegisterDropWindow(registered.get()));
    EXPECT_FALSE(IsFreeForRegistration(registered.get()));
    parent.reset();
    EXPECT_EQ(target->window(), nullptr);
    EXPECT_TRUE(IsFreeForRegistration(registered.get()));
    EXPECT_EQ(References(target->sink()), 1u);
    EXPECT_FALSE(target->RegisterDropWindow(registered.get()));
}

TEST_F(DropTargetTest, RevokesItsParentsRegistrationWhileTheParentStillExists) {
    const auto target = DropTarget::Create(kFilesOnly, parent.get(), kRect, owner);
    ASSERT_TRUE(target);
    ASSERT_TRUE(target->RegisterDropWindow(parent.get()));
    parent.reset();
    EXPECT_EQ(References(target->sink()), 1u);
}

TEST_F(DropTargetTest, RevokesAndDestroysItsWindowWhenFreedFirst) {
    auto target = DropTarget::Create(kFilesOnly, parent.get(), kRect, owner);
    ASSERT_TRUE(target);
    const HWND window = target->window();
    ASSERT_TRUE(target->RegisterDropWindow(parent.get()));
    target.reset();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_TRUE(IsFreeForRegistration(parent.get()));
}

TEST_F(DropTargetTest, RaisesItsEventsOnTheOwnerWithTheFlagsItHolds) {
    const auto target = DropTarget::Create(kFilesOnly, parent.get(), kRect, owner);
    ASSERT_TRUE(target);
    ASSERT_TRUE(target->RegisterDropWindow(parent.get()));
    FakeDataObject data(log);
    data.Offer(CF_HDROP, DropFilesBlock({"Z:\\tmp\\tool.exe"}));
    data.Offer(CF_TEXT, "text");
    const auto drop = [&] {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        EXPECT_EQ(target->sink()->DragEnter(&data, MK_LBUTTON, POINTL{30, 130}, &effect), S_OK);
        EXPECT_EQ(effect, DROPEFFECT_COPY);
        log.clear();
        EXPECT_EQ(target->sink()->Drop(&data, MK_LBUTTON, POINTL{30, 130}, &effect), E_FAIL);
        std::erase_if(log,
                      [](const std::string& entry) { return entry.find("Data ") != entry.npos; });
        return log;
    };
    EXPECT_EQ(drop(), Log{"Files:Z:\\tmp\\tool.exe"});
    target->set_accept({.AcceptText = true, .AcceptFiles = true});
    EXPECT_EQ(drop(), (Log{"Text:text", "Files:Z:\\tmp\\tool.exe"}));
    EXPECT_TRUE(data.AllMediaReleased());
}

} // namespace
} // namespace droptarget

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const win32::OleSession ole;
    if (!ole.initialised()) {
        return 1;
    }
    return RUN_ALL_TESTS();
}
