// The four touch buttons along the bottom of the Main window: pressed art under the stylus, and
// one action when the stylus is lifted over a button.
#pragma once

#include <pda.h>

// WM_LBUTTONDOWN, WM_MOUSEMOVE and WM_LBUTTONUP of the Main window.
LRESULT OnStylus(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
