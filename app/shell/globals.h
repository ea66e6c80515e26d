// Process-wide values of the shell: one instance each, zero at process start, set by start-up.
#pragma once

#include <pda.h>
#include <pda/user.h>

// The Main window: owner of every other window, target of the Position-changed message.
extern HWND g_hWndMain;
// The program's own module, source of all resources.
extern HINSTANCE g_hInstance;
