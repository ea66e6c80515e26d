// Window data: the GetWindowLongPtr slots and extra bytes, window text, the default window
// procedure, CallWindowProcW, class names and registered message numbers.
#include <algorithm>
#include <cstring>
#include <map>

#include "user/message_queue.h"
#include "user/paint.h"
#include "user/rendezvous.h"
#include "user/shell_watch.h"
#include "user/update_region.h"
#include "user/window.h"
#include "user/window_scroll_bar.h"

namespace pda::user {
namespace {

bool ExtraSlot(const Window& w, int index, std::size_t size) {
  return index >= 0 && static_cast<std::size_t>(index) + size <= w.extra.size();
}

template <class T>
T ReadExtra(const Window& w, int index) {
  T value;
  std::memcpy(&value, w.extra.data() + index, sizeof value);
  return value;
}

template <class T>
void WriteExtra(Window& w, int index, T value) {
  std::memcpy(w.extra.data() + index, &value, sizeof value);
}

// The common part of the LONG and LONG_PTR forms. Returns nullopt for a bad index.
std::optional<LONG_PTR> ReadSlot(const Window& w, int index) {
  switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w.procedure);
    case GWLP_HINSTANCE: return static_cast<LONG_PTR>(w.instance.value);
    case GWLP_HWNDPARENT: return static_cast<LONG_PTR>((w.parent ? w.parent : w.owner).value);
    case GWLP_ID: return w.id;
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w.style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w.exStyle));
    case GWLP_USERDATA: return w.userData;
    default: return std::nullopt;
  }
}

std::optional<LONG_PTR> WriteSlot(Window& w, int index, LONG_PTR value) {
  const auto old = ReadSlot(w, index);
  switch (index) {
    case GWLP_WNDPROC:
      if (!value) return std::nullopt;
      w.procedure = reinterpret_cast<WNDPROC>(value);
      break;
    case GWLP_ID: w.id = value; break;
    case GWL_STYLE: w.style = static_cast<DWORD>(value); break;
    case GWL_EXSTYLE: w.exStyle = static_cast<DWORD>(value); break;
    case GWLP_USERDATA: w.userData = value; break;
    default: return std::nullopt;
  }
  return old;
}

template <class T>
T GetLong(HWND window, int index) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (ExtraSlot(*w, index, sizeof(T))) return ReadExtra<T>(*w, index);
  if (index < 0)
    if (auto value = ReadSlot(*w, index)) return static_cast<T>(*value);
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

template <class T>
T SetLong(HWND window, int index, T value) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (ExtraSlot(*w, index, sizeof(T))) {
    const T old = ReadExtra<T>(*w, index);
    WriteExtra(*w, index, value);
    return old;
  }
  if (index < 0)
    if (auto old = WriteSlot(*w, index, static_cast<LONG_PTR>(value))) return static_cast<T>(*old);
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

LRESULT SetText(HWND window, LPCWSTR text) {
  std::u16string className;
  std::u16string title = text ? std::u16string(text) : std::u16string();
  bool topLevel;
  {
    auto lock = TreeLock();
    Window* w = FindLocked(window);
    if (!w) return FALSE;
    w->text = title;
    topLevel = !w->parent;
    className = w->windowClass->name;
    if (topLevel) rendezvous::Publish(window, className, title);
  }
  return TRUE;
}

LRESULT GetText(HWND window, WPARAM size, LPWSTR buffer) {
  if (!buffer || size == 0) return 0;
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  if (!w) {
    buffer[0] = 0;
    return 0;
  }
  const std::size_t count = std::min<std::size_t>(w->text.size(), size - 1);
  std::copy_n(w->text.data(), count, buffer);
  buffer[count] = 0;
  return static_cast<LRESULT>(count);
}

LRESULT TextLength(HWND window) {
  auto lock = TreeLock();
  Window* w = FindLocked(window);
  return w ? static_cast<LRESULT>(w->text.size()) : 0;
}

}  // namespace
}  // namespace pda::user

using namespace pda::user;

LONG_PTR GetWindowLongPtrW(HWND window, int index) { return GetLong<LONG_PTR>(window, index); }
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
  return SetLong<LONG_PTR>(window, index, value);
}
LONG GetWindowLongW(HWND window, int index) { return GetLong<LONG>(window, index); }
LONG SetWindowLongW(HWND window, int index, LONG value) {
  return SetLong<LONG>(window, index, value);
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
  if (!IsWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const BOOL set = SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
  pda::user::TellShellWatch();
  return set;
}

int GetWindowTextW(HWND window, LPWSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  auto found = FindAny(window);
  if (found && found->remote) {
    const auto& title = found->remote->title;
    const std::size_t count = std::min<std::size_t>(title.size(), static_cast<std::size_t>(size - 1));
    std::copy_n(title.data(), count, buffer);
    buffer[count] = 0;
    return static_cast<int>(count);
  }
  return static_cast<int>(
      SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND window) {
  return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

int GetClassNameW(HWND window, LPWSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  auto found = FindAny(window);
  if (!found) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    buffer[0] = 0;
    return 0;
  }
  const std::u16string& name = found->remote ? found->remote->className : found->windowClass->name;
  const std::size_t count = std::min<std::size_t>(name.size(), static_cast<std::size_t>(size - 1));
  std::copy_n(name.data(), count, buffer);
  buffer[count] = 0;
  return static_cast<int>(count);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SETTEXT:
      return SetText(window, reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT:
      return GetText(window, wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH:
      return TextLength(window);
    case WM_PAINT:
      // Nothing is drawn by default; the paint validates the region so WM_PAINT stops coming.
      pda::user::DefaultPaint(window);
      return 0;
    case WM_ERASEBKGND:
      return pda::user::EraseWithClassBrush(window, HDC{static_cast<std::uint32_t>(wParam)});
    case WM_NCLBUTTONDOWN:
      if (wParam == HTVSCROLL)
        pda::user::TrackVerticalBar(
            window, POINT{static_cast<SHORT>(LOWORD(static_cast<WPARAM>(lParam))),
                          static_cast<SHORT>(HIWORD(static_cast<WPARAM>(lParam)))});
      return 0;
    default:
      return 0;
  }
}

LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) {
  return procedure ? procedure(window, message, wParam, lParam) : 0;
}

UINT RegisterWindowMessageW(LPCWSTR name) {
  static std::mutex mutex;
  static std::map<std::u16string, UINT> messages;
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::lock_guard lock(mutex);
  auto [it, added] = messages.emplace(name, static_cast<UINT>(0xC000 + messages.size()));
  return it->second;
}
