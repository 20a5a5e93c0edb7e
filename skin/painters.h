// One painter per attached kind of control. Each draws the control's whole look into the DC it
// is given, within the rectangle it is given, from the control's record and a scheme.
#pragma once

#include "control_skin.h"

#include <cstdint>

namespace skin {

void PaintPushButton(HDC dc, const RECT& client, SkinnedControl& control, std::int32_t scheme);
void PaintCheckBox(HDC dc, const RECT& client, SkinnedControl& control, std::int32_t scheme);
void PaintRadioButton(HDC dc, const RECT& client, SkinnedControl& control, std::int32_t scheme);
void PaintEdit(HDC dc, const RECT& window, SkinnedControl& control, std::int32_t scheme);
void PaintComboBox(HDC dc, const RECT& window, SkinnedControl& control, std::int32_t scheme);
// `buddy` is the record of the edit the up-down sits against, if it has one.
void PaintUpDown(HDC dc, const RECT& window, SkinnedControl& control, const SkinnedControl* buddy,
                 std::int32_t scheme);
void PaintGroupBox(HDC dc, const RECT& window, SkinnedControl& control, std::int32_t scheme);
void PaintComboList(HDC dc, const RECT& window, SkinnedControl& control, std::int32_t scheme);

// Paints the control through an off-screen image of its window and puts it on the screen.
// False when no DC or bitmap could be had: the control then keeps what its own procedure drew.
bool RepaintControl(SkinnedControl& control, const SkinnedControl* buddy, std::int32_t scheme);

} // namespace skin
