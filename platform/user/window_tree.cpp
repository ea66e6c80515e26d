// Questions about the window tree: IsWindow, parents, siblings, owners and control ids.
#include <unistd.h>

#include <algorithm>

#include "user/message_queue.h"
#include "user/rendezvous.h"
#include "user/window.h"

using namespace pda::user;

BOOL IsWindow(HWND window) {
  auto found = FindAny(window);
  if (!found) return FALSE;
  if (found->remote)  // stands for a window of another process: alive while that one is
    return rendezvous::ExistsElsewhere(found->remote->className, found->remote->title);
  return TRUE;
}

HWND GetParent(HWND window) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return HWND{};
  }
  return w->parent ? w->parent : w->owner;
}

HWND GetWindow(HWND window, UINT relation) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return HWND{};
  }
  if (relation == GW_CHILD) return w->children.empty() ? HWND{} : w->children.front();
  if (relation == GW_OWNER) return w->owner;
  const auto& siblings = SiblingsLocked(*w);
  const auto at = std::find(siblings.begin(), siblings.end(), window);
  switch (relation) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return at + 1 < siblings.end() ? *(at + 1) : HWND{};
    case GW_HWNDPREV: return at != siblings.begin() ? *(at - 1) : HWND{};
    default: SetLastError(ERROR_INVALID_PARAMETER); return HWND{};
  }
}

BOOL IsChild(HWND parent, HWND window) {
  auto lock = TreeLock();
  return IsDescendantLocked(parent, window) ? TRUE : FALSE;
}

HWND GetDlgItem(HWND parent, int id) {
  auto lock = TreeLock();
  Window* w = FindLocked(parent);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return HWND{};
  }
  for (HWND h : w->children)
    if (Window* c = FindLocked(h); c && c->id == id) return h;
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return HWND{};
}

int GetDlgCtrlID(HWND window) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return w->parent ? static_cast<int>(w->id) : 0;
}

DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (processId) *processId = static_cast<DWORD>(getpid());
  return w->queue->ThreadId();
}
