// What the subclass procedure does with each message: state changes and the actions to run.
#pragma once

#include "control_skin.h"

#include <optional>

namespace skin {

struct Actions {
    bool tracker = false; // consult the state tracker as well
    bool controlProcedure = false;
    bool defWindowProc = false;
    bool repaint = false;
    bool requestLeave = false; // ask for WM_MOUSELEAVE
    std::optional<LRESULT> fixedResult = std::nullopt;

    Actions& operator|=(const Actions& other);
};

// The kind's policy for the message; changes the state word as the policy says. `client` is
// asked for only by an up-down's WM_MOUSEMOVE.
Actions PolicyFor(ControlKind kind, std::uint32_t& flags, UINT message, WPARAM wParam,
                  LPARAM lParam, HWND window);

// The focus, enable and pointer states that every kind follows.
Actions TrackState(std::uint32_t& flags, UINT message, WPARAM wParam);

// Messages that go straight to the control procedure, past the skin.
bool BypassesSkin(ControlKind kind, UINT message);

} // namespace skin
