// Where the shell puts its pieces on the screen, scaled with the DPI: the navigation bar on top,
// the menu bar at the bottom, the input panel just above the menu bar.
#pragma once

#include "pda/types.h"

namespace pda::shell {

// A length given at 96 DPI, at the screen's DPI.
int Scaled(int at96);
RECT NavigationBarRect();
RECT MenuBarRect();
int InputPanelHeight();  // 80 pixels at 96 DPI
RECT InputPanelRect();
int NotifyIconSize();  // 16 pixels at 96 DPI

}  // namespace pda::shell
