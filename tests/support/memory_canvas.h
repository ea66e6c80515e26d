// A memory context with a bitmap selected, to draw into and read back: the drawing tests' canvas.
#pragma once

#include "pda/gdi.h"
#include "pda/owners.h"

namespace test_support {

// width x height, filled with one colour. The selection and the context go before the bitmap
// (members are destroyed in reverse order), so the bitmap can be deleted.
class MemoryCanvas {
 public:
  MemoryCanvas(int width, int height, COLORREF fill = RGB(0, 0, 0))
      : bitmap_(CreateCompatibleBitmap(HDC{}, width, height)),
        dc_(CreateCompatibleDC(HDC{})),
        select_(dc_.get(), bitmap_.get()),
        rect_{0, 0, width, height} {
    Fill(fill);
  }
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  const RECT& rect() const { return rect_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }
  void Fill(COLORREF color) const {
    const pda::UniqueBrush brush(CreateSolidBrush(color));
    FillRect(dc_.get(), &rect_, brush.get());
  }
  // How many pixels differ from colour inside [left, right) x [top, bottom).
  int CountNot(COLORREF color, RECT box) const {
    int n = 0;
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) n += At(x, y) != color;
    return n;
  }
  int CountNot(COLORREF color) const { return CountNot(color, rect_); }

 private:
  pda::UniqueBitmap bitmap_;
  pda::UniqueMemoryDC dc_;
  pda::ScopedSelect select_;
  RECT rect_;
};

}  // namespace test_support
