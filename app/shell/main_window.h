// The Main window: its class, its message and command tables, and the process-wide values the
// shell keeps (the window's own copies of the GPS records, the menu bar, the GeoNotes window).
#pragma once

#include <pda.h>

constexpr UINT WM_NOTIFY_ICON = 0xA001;       // sent by the notification-area icon

constexpr WCHAR kMainClassName[] = u"Vorizidir";
constexpr WCHAR kMainTitle[] = u"Zazorudu";

extern HWND g_hwndMenuBar;
extern HWND g_hwndGeoNotes;
extern GPS_DEVICE g_DeviceStateCopy;
extern GPS_POSITION g_PositionCopy;

ATOM RegisterMainWindowClass(HINSTANCE hinst);
LRESULT MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
