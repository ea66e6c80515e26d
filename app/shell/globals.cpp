// Process-wide values of the shell.
#include "shell/globals.h"

HWND g_hWndMain = nullptr;
HINSTANCE g_hInstance = nullptr;
AccountList g_AccountList;
