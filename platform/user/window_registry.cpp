// The handle table of windows and the tree queries over it.
#include <algorithm>

#include "kernel/handle_table.h"
#include "pda/testing/user.h"
#include "user/window.h"

namespace pda::user {
namespace {

struct Registry {
  std::mutex mutex;
  HandleTable<Window> table;
  std::vector<HWND> topLevel;
};
Registry& GetRegistry() {
  static Registry* const registry = new Registry;  // outlives every static user
  return *registry;
}

}  // namespace

std::unique_lock<std::mutex> TreeLock() { return std::unique_lock(GetRegistry().mutex); }

std::shared_ptr<Window> FindAny(HWND window) {
  if (!window) return nullptr;
  return GetRegistry().table.Lookup(window.value, HandleKind::Window);
}

Window* FindLocked(HWND window) {
  auto found = FindAny(window);
  // The table keeps the record alive as long as the handle is valid, and removing it needs the
  // tree lock that the caller holds.
  return found && !found->remote ? found.get() : nullptr;
}

HWND InsertWindow(std::shared_ptr<Window> window) {
  Window* raw = window.get();
  const HWND handle{GetRegistry().table.Insert(std::move(window), HandleKind::Window)};
  raw->handle = handle;
  return handle;
}

void RemoveWindow(HWND window) { GetRegistry().table.Remove(window.value, HandleKind::Window); }

std::vector<HWND>& TopLevelLocked() { return GetRegistry().topLevel; }

std::vector<HWND>& SiblingsLocked(const Window& window) {
  if (Window* parent = FindLocked(window.parent)) return parent->children;
  return TopLevelLocked();
}

POINT ScreenOriginLocked(const Window& window) {
  POINT origin{window.rect.left, window.rect.top};
  for (Window* p = FindLocked(window.parent); p; p = FindLocked(p->parent)) {
    origin.x += p->rect.left;
    origin.y += p->rect.top;
  }
  return origin;
}

RECT ScreenRectLocked(const Window& window) {
  const POINT o = ScreenOriginLocked(window);
  return RECT{o.x, o.y, o.x + (window.rect.right - window.rect.left),
              o.y + (window.rect.bottom - window.rect.top)};
}

RECT ClientRectLocked(const Window& window) {
  const int width = window.rect.right - window.rect.left;
  const int bar = window.verticalBar ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  return RECT{0, 0, std::max(width - bar, 0), window.rect.bottom - window.rect.top};
}

RECT ScreenClientRectLocked(const Window& window) {
  const POINT o = ScreenOriginLocked(window);
  const RECT client = ClientRectLocked(window);
  return RECT{o.x, o.y, o.x + client.right, o.y + client.bottom};
}

RECT VerticalBarRectLocked(const Window& window) {
  if (!window.verticalBar) return RECT{};
  const RECT client = ClientRectLocked(window);
  return RECT{client.right, 0, window.rect.right - window.rect.left, client.bottom};
}

bool WantsVerticalBarLocked(const Window& window) {
  return (window.style & WS_VSCROLL) &&
         !(window.windowClass && (window.windowClass->info.style & kClassDrawsOwnScrollBar));
}

bool IsShownLocked(const Window& window) {
  for (const Window* w = &window; w; w = FindLocked(w->parent))
    if (!(w->style & WS_VISIBLE)) return false;
  return true;
}

bool IsDescendantLocked(HWND ancestor, HWND window) {
  const Window* w = FindLocked(window);
  for (w = w ? FindLocked(w->parent) : nullptr; w; w = FindLocked(w->parent))
    if (w->handle == ancestor) return true;
  return false;
}

HWND TopLevelOfLocked(HWND window) {
  Window* w = FindLocked(window);
  while (w && w->parent) w = FindLocked(w->parent);
  return w ? w->handle : HWND{};
}

void CollectTreeLocked(HWND root, std::vector<HWND>& out) {
  Window* w = FindLocked(root);
  if (!w) return;
  out.push_back(root);
  for (HWND child : w->children) CollectTreeLocked(child, out);
}

LRESULT CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC procedure = nullptr;
  {
    auto lock = TreeLock();
    if (Window* w = FindLocked(window)) procedure = w->procedure;
  }
  return procedure ? procedure(window, message, wParam, lParam) : 0;
}

LRESULT Notify(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const DWORD saved = GetLastError();
  const LRESULT result = SendMessageW(window, message, wParam, lParam);
  SetLastError(saved);
  return result;
}

}  // namespace pda::user

namespace pda::testing {

std::vector<TopLevelWindow> TopLevelWindows() {
  std::vector<TopLevelWindow> out;
  auto lock = user::TreeLock();
  for (HWND h : user::TopLevelLocked())
    if (const user::Window* w = user::FindLocked(h); w && !w->destroying)
      out.push_back({h, w->windowClass ? w->windowClass->name : std::u16string(), w->text});
  return out;
}

}  // namespace pda::testing
