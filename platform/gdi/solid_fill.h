// Filling with a plain colour, for the platform's own painters (bars, controls, message boxes):
// a move-only owner of a solid brush, and a fill that makes and deletes one.
#pragma once

#include <utility>

#include "pda/gdi.h"

namespace pda::gdi {

class ScopedBrush {
 public:
  explicit ScopedBrush(COLORREF color) : brush_(CreateSolidBrush(color)) {}
  ScopedBrush(ScopedBrush&& other) noexcept : brush_(std::exchange(other.brush_, HBRUSH{})) {}
  ScopedBrush& operator=(ScopedBrush&& other) noexcept {
    std::swap(brush_, other.brush_);
    return *this;
  }
  ScopedBrush(const ScopedBrush&) = delete;
  ScopedBrush& operator=(const ScopedBrush&) = delete;
  ~ScopedBrush() {
    if (brush_) DeleteObject(brush_);
  }
  HBRUSH get() const { return brush_; }

 private:
  HBRUSH brush_;
};

inline void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  ScopedBrush brush(color);
  FillRect(dc, &rect, brush.get());
}

}  // namespace pda::gdi
