// The dialog keys: the tab order (the dialog's children in creation order, those with
// WS_TABSTOP that are visible and enabled themselves, whether or not the dialog shows yet; a
// child that is a control parent, such as a DS_CONTROL page, lends its own tab stops at its
// place) and IsDialogMessageW.
#include <algorithm>
#include <vector>

#include "pda/dialogs.h"

namespace {

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }

bool IsShownAndEnabled(HWND window) {
  return (StyleOf(window) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
}

bool IsControlParent(HWND window) {
  return (static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)) & WS_EX_CONTROLPARENT) != 0;
}

// The tab stops inside `parent`, in order, control parents opened in place.
void CollectTabStops(HWND parent, std::vector<HWND>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsShownAndEnabled(child)) continue;
    if (IsControlParent(child))
      CollectTabStops(child, out);
    else if (StyleOf(child) & WS_TABSTOP)
      out.push_back(child);
  }
}

}  // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> stops;
  CollectTabStops(dialog, stops);
  if (stops.empty()) return control;
  if (previous) std::reverse(stops.begin(), stops.end());
  const auto at = std::find(stops.begin(), stops.end(), control);
  // After the control, wrapping around; the first one when the control is none of them.
  if (at == stops.end()) return stops.front();
  return at + 1 == stops.end() ? stops.front() : *(at + 1);
}

BOOL IsDialogMessageW(HWND dialog, LPMSG message) {
  if (!message || !IsWindow(dialog)) return FALSE;
  if (message->hwnd != dialog && !IsChild(dialog, message->hwnd)) return FALSE;
  if (message->message != WM_KEYDOWN || message->wParam != static_cast<WPARAM>(VK_TAB))
    return FALSE;
  // The focused control, or the window inside the dialog that holds it.
  HWND current = GetFocus();
  std::vector<HWND> stops;
  CollectTabStops(dialog, stops);
  while (current && std::find(stops.begin(), stops.end(), current) == stops.end() &&
         IsChild(dialog, current))
    current = GetParent(current);
  if (const HWND next = GetNextDlgTabItem(dialog, current, GetKeyState(VK_SHIFT) < 0))
    SetFocus(next);
  return TRUE;
}
