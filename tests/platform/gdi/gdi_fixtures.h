// Test owners for drawing handles and a small memory canvas to draw into and read back.
#pragma once

#include <utility>

#include "pda/gdi.h"

namespace gdi_test {

// Owns one drawing object; deletes it on scope exit. Move-only.
template <class H>
class UniqueObject {
 public:
  UniqueObject() = default;
  explicit UniqueObject(H handle) : handle_(handle) {}
  UniqueObject(UniqueObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueObject& operator=(UniqueObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  UniqueObject(const UniqueObject&) = delete;
  UniqueObject& operator=(const UniqueObject&) = delete;
  ~UniqueObject() { Reset(); }

  H get() const { return handle_; }
  explicit operator bool() const { return static_cast<bool>(handle_); }
  void Reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }

 private:
  H handle_{};
};

class UniqueDC {
 public:
  UniqueDC() = default;
  explicit UniqueDC(HDC dc) : dc_(dc) {}
  UniqueDC(UniqueDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  UniqueDC& operator=(UniqueDC&& other) noexcept {
    if (this != &other) {
      Reset();
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  UniqueDC(const UniqueDC&) = delete;
  UniqueDC& operator=(const UniqueDC&) = delete;
  ~UniqueDC() { Reset(); }

  HDC get() const { return dc_; }
  void Reset() {
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
  }

 private:
  HDC dc_{};
};

// A memory context with a width x height bitmap selected, filled with one colour. The context
// goes before the bitmap (members are destroyed in reverse order), so the bitmap can be deleted.
class MemoryCanvas {
 public:
  MemoryCanvas(int width, int height, COLORREF fill = RGB(0, 0, 0))
      : bitmap_(CreateCompatibleBitmap(nullptr, width, height)),
        dc_(CreateCompatibleDC(nullptr)),
        width_(width),
        height_(height) {
    SelectObject(dc_.get(), bitmap_.get());
    Fill(fill);
  }
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }
  void Fill(COLORREF color) const {
    UniqueObject<HBRUSH> brush(CreateSolidBrush(color));
    const RECT all{0, 0, width_, height_};
    FillRect(dc_.get(), &all, brush.get());
  }
  // How many pixels differ from colour inside [left, right) x [top, bottom).
  int CountNot(COLORREF color, RECT box) const {
    int n = 0;
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) n += At(x, y) != color;
    return n;
  }
  int CountNot(COLORREF color) const { return CountNot(color, RECT{0, 0, width_, height_}); }

 private:
  UniqueObject<HBITMAP> bitmap_;
  UniqueDC dc_;
  int width_;
  int height_;
};

}  // namespace gdi_test
