// CreateWindowExW and DestroyWindow.
#include <algorithm>

#include "user/activation.h"
#include "user/capture.h"
#include "user/message_queue.h"
#include "user/placement.h"
#include "user/rendezvous.h"
#include "user/update_region.h"
#include "user/window.h"

namespace pda::user {
namespace {

std::u16string TextOf(LPCWSTR text) {
  return text && !IS_INTRESOURCE(text) ? std::u16string(text) : std::u16string();
}

struct Placement {
  RECT rect;
  bool defaultPosition;
  bool defaultSize;
};

Placement Place(bool child, int x, int y, int width, int height) {
  Placement p{};
  p.defaultPosition = x == CW_USEDEFAULT;
  p.defaultSize = width == CW_USEDEFAULT;
  const RECT screenDefault = DefaultTopLevelRect();
  if (p.defaultPosition) {
    x = child ? 0 : screenDefault.left;
    y = child ? 0 : screenDefault.top;
  }
  if (p.defaultSize) {
    width = child ? 0 : screenDefault.right - screenDefault.left;
    height = child ? 0 : screenDefault.bottom - screenDefault.top;
  }
  if (height == CW_USEDEFAULT) height = 0;
  p.rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
  if (child) p.defaultPosition = p.defaultSize = false;
  return p;
}

// Owned top-level windows of `owner`, topmost first.
std::vector<HWND> OwnedBy(HWND owner) {
  auto lock = TreeLock();
  std::vector<HWND> owned;
  for (HWND h : TopLevelLocked())
    if (Window* w = FindLocked(h); w && w->owner == owner) owned.push_back(h);
  return owned;
}

}  // namespace
}  // namespace pda::user

using namespace pda::user;

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HANDLE menu, HINSTANCE instance,
                     LPVOID parameter) {
  auto windowClass = FindClass(className, instance);
  if (!windowClass) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return HWND{};
  }
  const bool child = (style & WS_CHILD) != 0;
  if (child && !parent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return HWND{};
  }
  if (parent && !IsWindow(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return HWND{};
  }
  const Placement placement = Place(child, x, y, width, height);

  auto window = std::make_shared<Window>();
  window->windowClass = windowClass;
  window->queue = CurrentQueue();
  window->procedure = windowClass->info.lpfnWndProc;
  window->style = style & ~WS_VISIBLE;  // shown after WM_CREATE, as the platform does
  window->exStyle = exStyle;
  window->id = child ? static_cast<LONG_PTR>(menu.value) : 0;
  window->instance = instance;
  window->extra.assign(static_cast<std::size_t>(windowClass->info.cbWndExtra), 0);
  window->text = TextOf(windowName);
  window->rect = placement.rect;
  window->defaultPosition = placement.defaultPosition;
  window->defaultSize = placement.defaultSize;
  window->verticalBar = WantsVerticalBarLocked(*window);
  HWND handle;
  {
    auto lock = TreeLock();
    Window* parentWindow = child ? FindLocked(parent) : nullptr;
    if (child && !parentWindow) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return HWND{};
    }
    if (!child && parent) window->owner = TopLevelOfLocked(parent);
    window->parent = child ? parent : HWND{};
    Window* raw = window.get();
    handle = InsertWindow(std::move(window));
    if (!handle) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return HWND{};
    }
    // Children go below their older siblings (creation order is tab order); a new top-level
    // window goes on top.
    if (parentWindow)
      parentWindow->children.push_back(handle);
    else
      TopLevelLocked().insert(TopLevelLocked().begin(), handle);
    if (!child) rendezvous::Publish(handle, windowClass->name, raw->text);
  }

  CREATESTRUCTW create{};
  create.lpCreateParams = parameter;
  create.hInstance = instance;
  create.hMenu = menu;
  create.hwndParent = parent;
  create.x = placement.rect.left;
  create.y = placement.rect.top;
  create.cx = placement.rect.right - placement.rect.left;
  create.cy = placement.rect.bottom - placement.rect.top;
  create.style = static_cast<LONG>(style);
  create.lpszName = windowName;
  create.lpszClass = windowClass->name.c_str();
  create.dwExStyle = exStyle;
  if (Notify(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(handle);
    SetLastError(ERROR_INVALID_PARAMETER);
    return HWND{};
  }
  if (!IsWindow(handle)) return HWND{};  // destroyed while being created

  RECT rect{};
  RECT client{};
  {
    auto lock = TreeLock();
    if (Window* w = FindLocked(handle)) {
      rect = w->rect;
      client = ClientRectLocked(*w);
    }
  }
  Notify(handle, WM_SIZE, SIZE_RESTORED,
         MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
  Notify(handle, WM_MOVE, 0,
         MAKELPARAM(static_cast<WORD>(rect.left), static_cast<WORD>(rect.top)));
  if (style & WS_VISIBLE) ShowWindow(handle, (style & WS_DISABLED) ? SW_SHOWNA : SW_SHOW);
  return IsWindow(handle) ? handle : HWND{};
}

BOOL DestroyWindow(HWND window) {
  std::shared_ptr<Window> target = FindAny(window);
  if (!target || target->remote) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (target->queue->ThreadId() != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  {
    auto lock = TreeLock();
    if (target->destroying) return TRUE;  // already on its way (DestroyWindow in WM_DESTROY)
    target->destroying = true;
  }
  for (HWND owned : OwnedBy(window)) DestroyWindow(owned);

  RECT uncovered{};
  HWND successor;
  bool wasShown;
  {
    auto lock = TreeLock();
    uncovered = ScreenRectLocked(*target);
    wasShown = IsShownLocked(*target);
    successor = target->parent;
  }
  Deactivate(window, successor);
  EndCaptureWithin(window);

  // WM_DESTROY reaches the window before its children, then the records go, children first.
  std::vector<HWND> tree;
  {
    auto lock = TreeLock();
    CollectTreeLocked(window, tree);
    for (HWND h : tree)
      if (Window* w = FindLocked(h)) w->destroying = true;
  }
  for (HWND h : tree) Notify(h, WM_DESTROY);

  target->queue->KillTimersOf(tree);
  {
    auto lock = TreeLock();
    // Children made during WM_DESTROY are gathered again.
    tree.clear();
    CollectTreeLocked(window, tree);
    auto& siblings = SiblingsLocked(*target);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    for (auto it = tree.rbegin(); it != tree.rend(); ++it) RemoveWindow(*it);
  }
  if (!target->parent) rendezvous::Withdraw(window);
  if (wasShown) InvalidateScreenArea(uncovered);
  return TRUE;
}
