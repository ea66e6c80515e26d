// The handheld shell's pieces the user touches besides the screen: the soft-key menu bars, the
// notification-area icon and the hand-over of window activation.
#pragma once

#include <pda.h>

// The soft-key bar of a window from a two-item menu resource; none on failure.
HWND BuildMenuBar(HWND owner, HINSTANCE hinst, UINT menuId, bool showInputPanelButton);

void AddNotifyIcon(HWND owner, HINSTANCE hinst);
void DeleteNotifyIcon();

LRESULT HandleActivate(HWND hwnd, WPARAM wParam, LPARAM lParam);

// The input panel's height while it is up, else 0.
int InputPanelHeight();
