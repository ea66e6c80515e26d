// The window record and the window tree of the process.
//
// Every record and the tree are guarded by one lock (TreeLock). The lock is never held while a
// window procedure runs: code reads what it needs under the lock, lets go, then calls out.
// Functions whose names end in "Locked" expect the lock held.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "pda/user.h"
#include "gdi/region.h"
#include "user/window_class.h"

namespace pda::user {

// Update and visible regions are the drawing library's regions (pixman underneath).
using gdi::Region;

class MessageQueue;

// A window of another process, found by FindWindowW: only its class and title are known here.
struct RemoteWindow {
  std::u16string className;
  std::u16string title;
};

// The vertical scroll bar of a WS_VSCROLL window (SetScrollInfo's values).
struct ScrollRange {
  int min = 0;
  int max = 100;
  int page = 0;
  int position = 0;
  int trackPosition = 0;
  bool tracking = false;  // the thumb is being dragged
  bool set = false;       // SetScrollInfo has given values (kept while the bar is hidden)
};

struct Window {
  HWND handle;
  std::shared_ptr<const WindowClass> windowClass;
  std::shared_ptr<MessageQueue> queue;  // of the thread that created the window
  WNDPROC procedure = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance;
  std::vector<unsigned char> extra;  // cbWndExtra bytes
  std::u16string text;
  RECT rect{};  // in the parent's client coordinates; the screen's for a top-level window
  HWND parent;  // null for a top-level window
  HWND owner;
  std::vector<HWND> children;  // z-order, topmost first
  bool defaultPosition = false;  // top-level placed by CW_USEDEFAULT: follows the screen
  bool defaultSize = false;
  bool destroying = false;
  Region update;  // client coordinates
  bool erase = false;
  // The scroll bar beside the client area: in effect from creation or SWP_FRAMECHANGED, not from
  // the style bit alone. barDirty: it was uncovered or changed and is to be drawn again.
  bool verticalBar = false;
  bool barDirty = false;
  ScrollRange vertical;
  std::optional<RemoteWindow> remote;
};

std::unique_lock<std::mutex> TreeLock();

// Handles of local windows only (a remote window is not found by FindLocked).
Window* FindLocked(HWND window);
std::shared_ptr<Window> FindAny(HWND window);
HWND InsertWindow(std::shared_ptr<Window> window);
void RemoveWindow(HWND window);

// Siblings of a window: the parent's children, or the top-level list (topmost first).
std::vector<HWND>& SiblingsLocked(const Window& window);
std::vector<HWND>& TopLevelLocked();

// Screen position of the window's top-left corner (equal to its client origin).
POINT ScreenOriginLocked(const Window& window);
RECT ScreenRectLocked(const Window& window);
RECT ClientRectLocked(const Window& window);
// The client area on the screen: children show and take the stylus only inside it.
RECT ScreenClientRectLocked(const Window& window);
// Where the vertical scroll bar is, in client coordinates (right of the client area); empty
// without one.
RECT VerticalBarRectLocked(const Window& window);
// Whether a window of this class and style has the platform's bar (controls that draw their own
// bar inside their client area register with kClassDrawsOwnScrollBar).
bool WantsVerticalBarLocked(const Window& window);
// The window and all its ancestors have WS_VISIBLE.
bool IsShownLocked(const Window& window);
bool IsDescendantLocked(HWND ancestor, HWND window);  // strict
HWND TopLevelOfLocked(HWND window);
// The window and its descendants, parent before children.
void CollectTreeLocked(HWND root, std::vector<HWND>& out);

// The window's procedure, read under the lock, called without it. 0 for a stale window.
LRESULT CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// SendMessageW without the last-error side effects, for the window manager's own notices.
LRESULT Notify(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

}  // namespace pda::user
