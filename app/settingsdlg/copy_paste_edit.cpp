#include "settingsdlg/copy_paste_edit.h"

#include "utils/copy_paste_menu.h"

WNDPROC g_pfnEmailAddrProc;
WNDPROC g_pfnSmsNumberProc;

LRESULT EmailAddrEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  HandleCopyPasteInput(hwnd, message, lParam);
  return CallWindowProcW(g_pfnEmailAddrProc, hwnd, message, wParam, lParam);
}

LRESULT SmsNumberEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  HandleCopyPasteInput(hwnd, message, lParam);
  return CallWindowProcW(g_pfnSmsNumberProc, hwnd, message, wParam, lParam);
}

void InstallCopyPasteEdit(HWND field, WNDPROC* saved, WNDPROC procedure) {
  *saved = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(field, GWLP_WNDPROC));
  SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}
