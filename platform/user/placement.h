// Where CW_USEDEFAULT puts a top-level window: the screen below the navigation bar.
#pragma once

#include "pda/user.h"

namespace pda::user {

RECT DefaultTopLevelRect();
// Moves and sizes a window, sending WM_MOVE and WM_SIZE for what changed (placement.cpp).
BOOL PlaceWindow(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);

}  // namespace pda::user

namespace pda::user {

// Shows or hides a window: WM_SHOWWINDOW when asked, the flag, the screen bookkeeping (areas to
// repaint, focus and activation leaving a hidden window). Returns whether it was visible
// (visibility.cpp).
bool ChangeVisibility(HWND window, bool show, bool sendShowWindow);

}  // namespace pda::user
