// The GeoNotes editor: a child window of class "GeoNotes" over the whole Main window, holding
// the platform's rich-ink note editor and its own soft keys "Cancel" and "Save". It opens with
// the GeoNote header (date, time and the position at the moment of opening) and the caret below
// it. Only one exists at a time; everything runs on the UI thread.
#pragma once

#include <pda.h>

inline constexpr WCHAR GEONOTES_CLASS_NAME[] = u"GeoNotes";
constexpr UINT GEONOTES_CLASS_STYLE = CS_HREDRAW | CS_VREDRAW | CS_PARENTDC;  // 0x83
constexpr DWORD GEONOTES_WINDOW_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP;    // 0x50010000
constexpr DWORD GEONOTES_EDITOR_STYLE = WS_CHILD | WS_VISIBLE | WS_VSCROLL;    // 0x50200000

// The touch-button action: a copy of the position taken under the Position lock, which is held
// until the editor, its soft keys and its header exist; the window is remembered by the Main
// window (g_hwndGeoNotes).
void OpenGeoNotes();

HWND CreateGeoNotesWindow(HWND hwndOwner, HINSTANCE hinst, GPS_POSITION position);
LRESULT GeoNotesWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT GeoNoteEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
