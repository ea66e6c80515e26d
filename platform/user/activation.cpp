// The focus window and the foreground (active) window of the process.
#include "user/activation.h"

#include <algorithm>

#include "user/message_queue.h"
#include "user/messaging.h"
#include "user/rendezvous.h"
#include "user/shell_watch.h"
#include "user/update_region.h"
#include "user/window.h"

namespace pda::user {
namespace {

// Guarded by the tree lock.
struct ActivationState {
  HWND focus;
  HWND foreground;
};
ActivationState& State() {
  static ActivationState state;
  return state;
}

std::mutex hookMutex;
std::function<void(HWND)>& Hook() {
  static std::function<void(HWND)> hook;
  return hook;
}

WPARAM AsParam(HWND window) { return static_cast<WPARAM>(window.value); }

bool Within(HWND root, HWND window) {
  return window && (window == root || IsDescendantLocked(root, window));
}

bool Enabled(const Window& window) {
  for (const Window* w = &window; w; w = FindLocked(w->parent))
    if (w->style & WS_DISABLED) return false;
  return true;
}

// Gives the focus to `window` (or nobody), with WM_KILLFOCUS and WM_SETFOCUS.
HWND MoveFocus(HWND window) {
  HWND old;
  {
    auto lock = TreeLock();
    old = State().focus;
    if (old == window) return old;
    State().focus = window;
  }
  if (old) Notify(old, WM_KILLFOCUS, AsParam(window));
  if (window) Notify(window, WM_SETFOCUS, AsParam(old));
  return old;
}

// Puts a top-level window on top of the others, with the windows it owns above it.
bool RaiseLocked(HWND top) {
  auto& list = TopLevelLocked();
  const auto before = list;
  std::vector<HWND> raised{top};
  for (HWND h : before)
    if (Window* w = FindLocked(h); w && w->owner == top) raised.insert(raised.begin(), h);
  std::erase_if(list, [&](HWND h) {
    return std::find(raised.begin(), raised.end(), h) != raised.end();
  });
  list.insert(list.begin(), raised.begin(), raised.end());
  return list != before;
}

// A top-level window disabled while a window it owns runs modally hands the activation on to
// that window (and so on down), as a tap on it would.
HWND ModalTargetLocked(HWND top) {
  for (int depth = 0; depth < 8; ++depth) {
    const Window* w = FindLocked(top);
    if (!w || !(w->style & WS_DISABLED)) break;
    HWND next{};
    for (HWND h : TopLevelLocked())
      if (const Window* o = FindLocked(h);
          o && o->owner == top && !o->destroying && (o->style & WS_VISIBLE) &&
          !(o->exStyle & WS_EX_NOACTIVATE)) {
        next = h;
        break;
      }
    if (!next) break;
    top = next;
  }
  return top;
}

}  // namespace

void SetActivationHook(std::function<void(HWND)> hook) {
  std::lock_guard lock(hookMutex);
  Hook() = std::move(hook);
}

void Activate(HWND topLevel) {
  HWND old;
  bool focusInside;
  bool raised;
  {
    auto lock = TreeLock();
    topLevel = ModalTargetLocked(topLevel);
    Window* w = FindLocked(topLevel);
    if (!w || w->parent || w->destroying || (w->exStyle & WS_EX_NOACTIVATE)) return;
    old = State().foreground;
    State().foreground = topLevel;
    raised = RaiseLocked(topLevel);
    focusInside = Within(topLevel, State().focus);
  }
  if (raised) InvalidateTree(topLevel);
  if (old != topLevel) {
    if (old) Notify(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), static_cast<LPARAM>(topLevel.value));
    Notify(topLevel, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), static_cast<LPARAM>(old.value));
  }
  std::function<void(HWND)> hook;
  {
    std::lock_guard lock(hookMutex);
    hook = Hook();
  }
  if (hook) hook(topLevel);
  if (old != topLevel) TellShellWatch();
  if (!focusInside) MoveFocus(topLevel);
}

void Deactivate(HWND window, HWND successor) {
  bool wasForeground;
  HWND next;
  {
    auto lock = TreeLock();
    wasForeground = State().foreground == window;
    if (wasForeground) {
      State().foreground = HWND{};
      // The next shown, enabled top-level window that is not going away takes over.
      for (HWND h : TopLevelLocked()) {
        Window* w = FindLocked(h);
        if (h != window && w && !w->destroying && IsShownLocked(*w) && Enabled(*w) &&
            !(w->exStyle & WS_EX_NOACTIVATE)) {
          next = h;
          break;
        }
      }
    }
  }
  if (wasForeground) {
    Notify(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), static_cast<LPARAM>(next.value));
    if (next) Activate(next);
    else TellShellWatch();
  }
  bool focusInside;
  bool successorUsable = false;
  {
    auto lock = TreeLock();
    focusInside = Within(window, State().focus);
    if (Window* s = FindLocked(successor))
      successorUsable = !s->destroying && IsShownLocked(*s) && Enabled(*s);
  }
  if (focusInside) MoveFocus(successorUsable ? successor : HWND{});
}

}  // namespace pda::user

using namespace pda::user;

HWND SetFocus(HWND window) {
  if (!window) return MoveFocus(HWND{});
  HWND top;
  {
    auto lock = TreeLock();
    Window* w = FindLocked(window);
    if (!w || !Enabled(*w) || w->destroying) {
      if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return HWND{};
    }
    top = TopLevelOfLocked(window);
    if (State().foreground == top) top = HWND{};
  }
  if (top) {
    // Activating gives the focus to the top-level window first; then it moves on to `window`.
    Activate(top);
  }
  return MoveFocus(window);
}

HWND GetFocus() {
  auto lock = TreeLock();
  return State().focus;
}

BOOL SetForegroundWindow(HWND window) {
  auto found = FindAny(window);
  if (!found) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (found->remote)
    return rendezvous::ActivateElsewhere(found->remote->className, found->remote->title) ? TRUE
                                                                                         : FALSE;
  HWND top;
  {
    auto lock = TreeLock();
    top = TopLevelOfLocked(window);
  }
  if (found->queue->ThreadId() != GetCurrentThreadId())
    return PostMessageW(top, WM_PDA_ACTIVATE, 0, 0);  // activated on the window's own thread
  Activate(top);
  return TRUE;
}

HWND GetForegroundWindow() {
  auto lock = TreeLock();
  return State().foreground;
}

HWND GetActiveWindow() { return GetForegroundWindow(); }

HWND SetActiveWindow(HWND window) {
  const HWND old = GetForegroundWindow();
  HWND top;
  {
    auto lock = TreeLock();
    top = TopLevelOfLocked(window);
  }
  if (!top) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return HWND{};
  }
  Activate(top);
  return old;
}
