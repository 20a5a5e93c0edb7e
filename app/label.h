// Label: a child window of our own class that shows one line of text centred on the button
// face colour, in a colour of its own, with a thin border. It never takes the focus.
#pragma once

#include "window_layout.h"

#include <windows.h>

namespace app {

// Registers the class once per process; false if that fails.
bool RegisterLabelClass(HINSTANCE instance);

// Hidden; the caller shows it.
HWND CreateLabel(HINSTANCE instance, HWND parent, const char* text, const Placement& placement,
                 COLORREF textColour);

inline constexpr const char* kLabelClassName = "IconExtractorLabel";

} // namespace app
