// Classes, creation, notices and painting of the shell's windows.
#include "shell/shell_window.h"

#include <vector>

namespace pda::shell {

HINSTANCE ShellInstance() { return GetModuleHandleW(nullptr); }

HWND CreateShellWindow(LPCWSTR className, const RECT& rect, HWND owner, bool visible,
                       LPVOID parameter) {
  const HWND window =
      CreateWindowExW(WS_EX_NOACTIVATE, className, u"", WS_CLIPCHILDREN, rect.left, rect.top,
                      rect.right - rect.left, rect.bottom - rect.top, owner, HANDLE{},
                      ShellInstance(), parameter);
  if (window && visible) ShowWindow(window, SW_SHOWNA);
  return window;
}

void TellTopLevelWindows(HWND anyTopLevel, UINT message, WPARAM wParam, LPARAM lParam) {
  // Any top-level window leads to the list of them all.
  const HWND seed = anyTopLevel ? anyTopLevel : GetForegroundWindow();
  std::vector<HWND> windows;
  for (HWND w = seed ? GetWindow(seed, GW_HWNDFIRST) : HWND{}; w; w = GetWindow(w, GW_HWNDNEXT))
    windows.push_back(w);
  const DWORD self = GetCurrentThreadId();
  for (HWND w : windows) {
    if (!IsWindow(w)) continue;
    if (GetWindowThreadProcessId(w, nullptr) == self)
      SendMessageW(w, message, wParam, lParam);
    else
      PostMessageW(w, message, wParam, lParam);
  }
}

bool FollowScreen(HWND window, WPARAM wParam, const RECT& rect) {
  if (wParam != SETTINGCHANGE_RESET) return false;
  MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  InvalidateRect(window, nullptr, FALSE);
  return true;
}

}  // namespace pda::shell
