// Test hooks of the handheld shell: its windows, the bars' height, the notification icons as the
// navigation bar shows them, the Done-button record, and a clean slate.
//
// For tests and test harnesses only; the application never includes this header.
#pragma once

#include <vector>

#include "pda/shell.h"

namespace pda::testing {

// Null when the shell has not made the window yet.
HWND NavigationBarWindow();
HWND InputPanelWindow();
// The height of the navigation bar and of the menu bar on the current screen.
int BarHeight();

// A notification icon whose owner still exists, in the order the icons were added.
struct NotifyIconInfo {
  HWND owner;
  UINT id;
  UINT callbackMessage;
  SIZE imageSize;  // of the image the bar keeps (0 x 0 without one)
  RECT onScreen;   // where the navigation bar draws it; empty while the bar is not made
};
std::vector<NotifyIconInfo> NotifyIcons();

// The last SHDoneButton state given for the window, or 0.
DWORD DoneButtonState(HWND window);
// Destroys the shell's own windows (call on the thread that made them), removes every
// notification icon, lowers the input panel without telling anyone and forgets Done buttons.
void ResetShell();

}  // namespace pda::testing
