// The input panel: an on-screen keyboard just above the menu bar that types into the focus
// window. Raising or lowering it tells every top-level window (WM_SETTINGCHANGE, SPI_SETSIPINFO).
#pragma once

#include "pda/shell.h"

namespace pda::shell {

bool InputPanelIsUp();
// Raises or lowers the panel; tells the windows when the state changed.
void SetInputPanel(bool up);
HWND InputPanel();
// Lowers it without telling anyone and destroys its window (tests).
void ResetInputPanel();
// The screen between the navigation bar and the panel (when up) or the menu bar.
RECT VisibleDesktop();

}  // namespace pda::shell
