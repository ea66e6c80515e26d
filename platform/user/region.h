// An owned pixman region (move-only): the update regions and visible regions of windows.
#pragma once

#include <pixman.h>

#include <cstring>
#include <vector>

#include "pda/types.h"

namespace pda::user {

class Region {
 public:
  Region() { pixman_region32_init(&region_); }
  explicit Region(const RECT& rect) {
    if (rect.right > rect.left && rect.bottom > rect.top)
      pixman_region32_init_rect(&region_, rect.left, rect.top,
                                static_cast<unsigned>(rect.right - rect.left),
                                static_cast<unsigned>(rect.bottom - rect.top));
    else
      pixman_region32_init(&region_);
  }
  ~Region() { pixman_region32_fini(&region_); }
  Region(Region&& other) noexcept {
    // The record holds no pointer into itself, so it can be taken over as it is.
    std::memcpy(&region_, &other.region_, sizeof region_);
    pixman_region32_init(&other.region_);
  }
  Region& operator=(Region&& other) noexcept {
    if (this != &other) {
      pixman_region32_fini(&region_);
      std::memcpy(&region_, &other.region_, sizeof region_);
      pixman_region32_init(&other.region_);
    }
    return *this;
  }
  Region(const Region&) = delete;
  Region& operator=(const Region&) = delete;

  Region Clone() const {
    Region copy;
    pixman_region32_copy(&copy.region_, &region_);
    return copy;
  }

  bool Empty() const { return !pixman_region32_not_empty(&region_); }
  void Clear() { pixman_region32_clear(&region_); }

  void Add(const Region& other) { pixman_region32_union(&region_, &region_, &other.region_); }
  void Add(const RECT& rect) { Add(Region(rect)); }
  void Intersect(const Region& other) {
    pixman_region32_intersect(&region_, &region_, &other.region_);
  }
  void Intersect(const RECT& rect) { Intersect(Region(rect)); }
  void Subtract(const Region& other) {
    pixman_region32_subtract(&region_, &region_, &other.region_);
  }
  void Subtract(const RECT& rect) { Subtract(Region(rect)); }
  void Translate(int dx, int dy) { pixman_region32_translate(&region_, dx, dy); }

  // The bounding rectangle; all zero when empty.
  RECT Bounds() const {
    if (Empty()) return RECT{0, 0, 0, 0};
    const pixman_box32_t* box = pixman_region32_extents(&region_);
    return RECT{box->x1, box->y1, box->x2, box->y2};
  }
  // The region as non-overlapping bands of rectangles, top to bottom.
  std::vector<RECT> Rects() const {
    int count = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&region_, &count);
    std::vector<RECT> rects;
    rects.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
      rects.push_back(RECT{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    return rects;
  }
  long Area() const {
    long area = 0;
    for (const RECT& r : Rects()) area += long{r.right - r.left} * (r.bottom - r.top);
    return area;
  }

  const pixman_region32_t* Raw() const { return &region_; }

 private:
  pixman_region32_t region_;
};

}  // namespace pda::user
