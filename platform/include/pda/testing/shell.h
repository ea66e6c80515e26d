// Test hooks of the handheld shell: its windows, the Done-button record, and a clean slate.
//
// For tests and test harnesses only; the application never includes this header.
#pragma once

#include "pda/shell.h"

namespace pda::testing {

// Null when the shell has not made the window yet.
HWND NavigationBarWindow();
HWND InputPanelWindow();
// The last SHDoneButton state given for the window, or 0.
DWORD DoneButtonState(HWND window);
// Destroys the shell's own windows (call on the thread that made them), removes every
// notification icon, lowers the input panel without telling anyone and forgets Done buttons.
void ResetShell();

}  // namespace pda::testing
