// Process-wide values of the shell: one instance each, zero at process start, set by start-up.
#pragma once

#include <pda.h>
#include <pda/user.h>

#include "utils/sfwsupport.h"

// The Main window: owner of every other window, target of the Position-changed message.
extern HWND g_hWndMain;
// The program's own module, source of all resources.
extern HINSTANCE g_hInstance;

// The Account list: the messaging accounts' display names, filled once when the Main window is
// created, and their count (0 to 10, or -1 when the messaging store was unusable).
struct AccountList {
  WCHAR names[ACCOUNT_LIST_MAX][ACCOUNT_NAME_CHARS];
  int count;
};
static_assert(sizeof(AccountList::names) == 2560);
extern AccountList g_AccountList;
