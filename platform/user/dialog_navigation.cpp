// The dialog keys: the tab order (the dialog's children in creation order, those with
// WS_TABSTOP that are visible and enabled themselves, whether or not the dialog shows yet) and
// IsDialogMessageW.
#include <algorithm>
#include <vector>

#include "pda/dialogs.h"

namespace {

bool IsTabStop(HWND control) {
  const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
  return (style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE);
}

std::vector<HWND> Children(HWND dialog) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

}  // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> children = Children(dialog);
  if (previous) std::reverse(children.begin(), children.end());
  const auto at = std::find(children.begin(), children.end(), control);
  // Start after the control (or at the beginning when it is not a child), wrap around once.
  const std::size_t start = at == children.end() ? 0 : static_cast<std::size_t>(at - children.begin()) + 1;
  for (std::size_t i = 0; i < children.size(); ++i) {
    const HWND candidate = children[(start + i) % children.size()];
    if (IsTabStop(candidate)) return candidate;
  }
  return control;
}

BOOL IsDialogMessageW(HWND dialog, LPMSG message) {
  if (!message || !IsWindow(dialog)) return FALSE;
  if (message->hwnd != dialog && !IsChild(dialog, message->hwnd)) return FALSE;
  if (message->message != WM_KEYDOWN || message->wParam != static_cast<WPARAM>(VK_TAB))
    return FALSE;
  // The control inside the dialog that has the focus: a direct child of the dialog.
  HWND current = GetFocus();
  while (current && GetParent(current) != dialog) current = GetParent(current);
  if (const HWND next = GetNextDlgTabItem(dialog, current, GetKeyState(VK_SHIFT) < 0))
    SetFocus(next);
  return TRUE;
}
