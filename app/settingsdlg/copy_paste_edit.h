// The settings pages' one-line fields with a Copy/Paste menu on tap-and-hold: a subclass
// procedure per field, each passing every message on to the field's own procedure afterwards.
#pragma once

#include <pda.h>

extern WNDPROC g_pfnEmailAddrProc;    // the address field's own procedure
extern WNDPROC g_pfnSmsNumberProc;    // the number field's own procedure

LRESULT EmailAddrEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SmsNumberEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Keeps the field's current procedure in *saved and puts `procedure` in its place.
void InstallCopyPasteEdit(HWND field, WNDPROC* saved, WNDPROC procedure);
