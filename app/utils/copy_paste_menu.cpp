#include "utils/copy_paste_menu.h"

namespace {

void ShowCopyPasteMenu(HWND hwnd, LPARAM lParam) {
  SetFocus(hwnd);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, IDM_EDIT_COPY, u"Copy");
  AppendMenuW(menu, MF_STRING, IDM_EDIT_PASTE, u"Paste");
  POINT point = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
  ClientToScreen(hwnd, &point);
  const UINT choice = static_cast<UINT>(
      TrackPopupMenuEx(menu, COPY_PASTE_MENU_FLAGS, point.x, point.y, hwnd, nullptr));
  DestroyMenu(menu);
  if (choice == IDM_EDIT_COPY) SendMessageW(hwnd, WM_COPY, 0, 0);
  if (choice == IDM_EDIT_PASTE) SendMessageW(hwnd, WM_PASTE, 0, 0);
}

}  // namespace

void HandleCopyPasteInput(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_KILLFOCUS) {
    SHSipPreference(hwnd, SIP_FORCEDOWN);
  } else if (message == WM_LBUTTONDOWN) {
    SHRGINFO gesture = {};
    gesture.cbSize = sizeof gesture;
    gesture.hwndClient = hwnd;
    gesture.ptDown.x = LOWORD(lParam);
    gesture.ptDown.y = HIWORD(lParam);
    gesture.dwFlags = SHRG_RETURNCMD;
    if (SHRecognizeGesture(&gesture) == GN_CONTEXTMENU) ShowCopyPasteMenu(hwnd, lParam);
  }
}
