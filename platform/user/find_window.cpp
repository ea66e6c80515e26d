// FindWindowW: this process's top-level windows first, then other processes of the device; a
// name found nowhere is claimed for this process (see rendezvous.h).
#include <chrono>
#include <map>
#include <thread>

#include "user/rendezvous.h"
#include "user/window.h"

namespace pda::user {
namespace {

bool SameClass(const std::u16string& a, LPCWSTR b) {
  auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (fold(a[i]) != fold(b[i])) return false;
  return i == a.size() && !b[i];
}

// One handle per window of another process, kept for reuse.
HWND RemoteHandle(const std::u16string& className, const std::u16string& title) {
  static std::mutex mutex;
  static std::map<std::u16string, HWND> handles;
  std::lock_guard lock(mutex);
  const std::u16string key = className + u'\t' + title;
  if (auto it = handles.find(key); it != handles.end() && FindAny(it->second)) return it->second;
  auto window = std::make_shared<Window>();
  window->remote = RemoteWindow{className, title};
  const HWND handle = InsertWindow(std::move(window));
  handles[key] = handle;
  return handle;
}

}  // namespace
}  // namespace pda::user

using namespace pda::user;

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  {
    auto lock = TreeLock();
    for (HWND top : TopLevelLocked()) {
      Window* w = FindLocked(top);
      if (!w || w->destroying) continue;
      if (className && !SameClass(w->windowClass->name, className)) continue;
      if (windowName && w->text != windowName) continue;
      return top;
    }
  }
  if (!className || !windowName || IS_INTRESOURCE(className)) return HWND{};
  const std::u16string cls(className);
  const std::u16string title(windowName);
  // Asked and claimed in turn: of several processes looking at once, one claims the name and
  // finds nothing; the others find its window (or its claim) and go on from there.
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (rendezvous::ExistsElsewhere(cls, title)) return RemoteHandle(cls, title);
    if (rendezvous::Reserve(cls, title) != rendezvous::ClaimResult::Taken) return HWND{};
    std::this_thread::sleep_for(std::chrono::milliseconds(10));  // its socket is being bound
  }
  return HWND{};
}
