// Move-only owners of the platform's handles, for the platform's own code and for tests: a handle
// held by an owner is closed exactly once, when the owner goes; a moved-from owner closes nothing.
//
//   UniqueHandle<H, Deleter>   any handle kind with its closing call (aliases below)
//   ScopedSelect               an object selected into a DC, the old one put back on scope exit
//   ScopedWindowDC             GetDC / ReleaseDC
//   PaintScope                 BeginPaint / EndPaint
#pragma once

#include <utility>

#include "pda/gdi.h"
#include "pda/kernel.h"
#include "pda/menu.h"
#include "pda/user.h"

namespace pda {

// The "no handle" value of a handle type: H{} unless the deleter names another (a host
// descriptor's -1, say).
template <class H, class Deleter>
constexpr H NullHandleOf() {
  if constexpr (requires { Deleter::kNull; })
    return Deleter::kNull;
  else
    return H{};
}

template <class H, class Deleter>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  H get() const { return handle_; }
  explicit operator bool() const { return !(handle_ == kNull); }
  // Gives the handle up without closing it.
  [[nodiscard]] H release() { return std::exchange(handle_, kNull); }
  // Closes the held handle (if any) and holds `handle` instead.
  void reset(H handle = NullHandleOf<H, Deleter>()) {
    const H old = std::exchange(handle_, handle);
    if (!(old == kNull)) Deleter{}(old);
  }

 private:
  static constexpr H kNull = NullHandleOf<H, Deleter>();
  H handle_ = kNull;
};

struct CloseKernelHandle {
  void operator()(HANDLE handle) const {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};
struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DeleteMemoryDC {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DestroyMenuHandle {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct DestroyWindowHandle {
  void operator()(HWND window) const { DestroyWindow(window); }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;
template <class H>
using UniqueGdiObject = UniqueHandle<H, DeleteGdiObject>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueRegion = UniqueGdiObject<HRGN>;
using UniqueMemoryDC = UniqueHandle<HDC, DeleteMemoryDC>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenuHandle>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindowHandle>;

// Selects `object` into `dc` for the owner's scope; the object selected before is put back.
// Selecting nothing (a null object) changes nothing.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc) {
    if (object) old_ = SelectObject(dc, object);
  }
  ScopedSelect(ScopedSelect&& other) noexcept
      : dc_(std::exchange(other.dc_, HDC{})), old_(std::exchange(other.old_, HGDIOBJ{})) {}
  ScopedSelect& operator=(ScopedSelect&&) = delete;
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() {
    if (dc_ && old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_{};
};

// A window's DC (GetDC) for the owner's scope.
class ScopedWindowDC {
 public:
  explicit ScopedWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ScopedWindowDC(ScopedWindowDC&& other) noexcept
      : window_(other.window_), dc_(std::exchange(other.dc_, HDC{})) {}
  ScopedWindowDC& operator=(ScopedWindowDC&&) = delete;
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
  ~ScopedWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Answering WM_PAINT: BeginPaint on construction, EndPaint on scope exit.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() {
    if (dc_) EndPaint(window_, &paint_);
  }
  HDC dc() const { return dc_; }
  const RECT& dirty() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

}  // namespace pda
