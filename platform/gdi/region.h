// A set of pixels made of rectangles: what an HRGN and a device context's clip stand for.
// A thin owner of a pixman_region32_t; rectangles are half-open (right and bottom outside).
#pragma once

#include <span>
#include <vector>

#include <pixman.h>

#include "pda/types.h"

namespace pda::gdi {

struct Box {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const Box&, const Box&) = default;
};

// The part of a that is also in b (maybe empty).
Box Intersect(const Box& a, const Box& b);
// The smallest box holding both (an empty box adds nothing).
Box Bounds(const Box& a, const Box& b);

// The platform's RECT and a Box are the same half-open rectangle.
inline Box BoxOf(const RECT& r) { return Box{r.left, r.top, r.right, r.bottom}; }
inline RECT RectOf(const Box& b) { return RECT{b.left, b.top, b.right, b.bottom}; }

class Region {
 public:
  Region();  // empty
  explicit Region(const Box& box);
  explicit Region(const RECT& rect) : Region(BoxOf(rect)) {}
  Region(const Region& other);
  Region& operator=(const Region& other);
  Region(Region&& other) noexcept;
  Region& operator=(Region&& other) noexcept;
  ~Region();

  void SetBox(const Box& box);
  void Clear() { SetBox(Box{}); }
  void Union(const Region& other);
  void Intersect(const Region& other);
  void Intersect(const Box& box);
  void Subtract(const Region& other);
  void Xor(const Region& other);
  void Translate(int dx, int dy);

  bool Empty() const;
  bool Contains(int x, int y) const;
  bool Overlaps(const Box& box) const;
  Box Extents() const;
  std::span<const pixman_box32_t> Boxes() const;
  // The region as non-overlapping bands of rectangles, top to bottom.
  std::vector<RECT> Rects() const;
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Kind() const;
  friend bool operator==(const Region& a, const Region& b);

  pixman_region32_t* get() { return &region_; }
  const pixman_region32_t* get() const { return &region_; }

 private:
  pixman_region32_t region_;
};

}  // namespace pda::gdi
