// Regions over pixman_region32.
#include "gdi/region.h"

#include <algorithm>
#include <utility>

#include "pda/gdi.h"

namespace pda::gdi {
namespace {

// pixman takes sizes; a box with right < left is empty, not negative.
void InitBox(pixman_region32_t* region, const Box& box) {
  if (box.Empty()) {
    pixman_region32_init(region);
  } else {
    pixman_region32_init_rect(region, box.left, box.top, static_cast<unsigned>(box.Width()),
                              static_cast<unsigned>(box.Height()));
  }
}

}  // namespace

Box Intersect(const Box& a, const Box& b) {
  Box r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
        std::min(a.bottom, b.bottom)};
  if (r.Empty()) return Box{};
  return r;
}

Box Bounds(const Box& a, const Box& b) {
  if (a.Empty()) return b.Empty() ? Box{} : b;
  if (b.Empty()) return a;
  return Box{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
             std::max(a.bottom, b.bottom)};
}

Region::Region() { pixman_region32_init(&region_); }
Region::Region(const Box& box) { InitBox(&region_, box); }
Region::Region(const Region& other) {
  pixman_region32_init(&region_);
  pixman_region32_copy(&region_, const_cast<pixman_region32_t*>(&other.region_));
}
Region& Region::operator=(const Region& other) {
  if (this != &other) pixman_region32_copy(&region_, const_cast<pixman_region32_t*>(&other.region_));
  return *this;
}
Region::Region(Region&& other) noexcept : Region() { std::swap(region_, other.region_); }
Region& Region::operator=(Region&& other) noexcept {
  std::swap(region_, other.region_);
  return *this;
}
Region::~Region() { pixman_region32_fini(&region_); }

void Region::SetBox(const Box& box) {
  pixman_region32_fini(&region_);
  InitBox(&region_, box);
}
void Region::Union(const Region& other) {
  pixman_region32_union(&region_, &region_, const_cast<pixman_region32_t*>(&other.region_));
}
void Region::Intersect(const Region& other) {
  pixman_region32_intersect(&region_, &region_, const_cast<pixman_region32_t*>(&other.region_));
}
void Region::Intersect(const Box& box) {
  if (box.Empty()) {
    pixman_region32_clear(&region_);
    return;
  }
  pixman_region32_intersect_rect(&region_, &region_, box.left, box.top,
                                 static_cast<unsigned>(box.Width()),
                                 static_cast<unsigned>(box.Height()));
}
void Region::Subtract(const Region& other) {
  pixman_region32_subtract(&region_, &region_, const_cast<pixman_region32_t*>(&other.region_));
}
void Region::Xor(const Region& other) {
  // pixman has no xor: (a - b) + (b - a).
  Region a_minus_b(*this);
  a_minus_b.Subtract(other);
  Region b_minus_a(other);
  b_minus_a.Subtract(*this);
  a_minus_b.Union(b_minus_a);
  *this = std::move(a_minus_b);
}
void Region::Translate(int dx, int dy) { pixman_region32_translate(&region_, dx, dy); }

bool Region::Empty() const {
  return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&region_));
}
bool Region::Contains(int x, int y) const {
  return pixman_region32_contains_point(const_cast<pixman_region32_t*>(&region_), x, y,
                                        nullptr) != 0;
}
bool Region::Overlaps(const Box& box) const {
  if (box.Empty()) return false;
  pixman_box32_t b{box.left, box.top, box.right, box.bottom};
  return pixman_region32_contains_rectangle(const_cast<pixman_region32_t*>(&region_), &b) !=
         PIXMAN_REGION_OUT;
}
Box Region::Extents() const {
  if (Empty()) return Box{};
  const pixman_box32_t* e = pixman_region32_extents(const_cast<pixman_region32_t*>(&region_));
  return Box{e->x1, e->y1, e->x2, e->y2};
}
std::span<const pixman_box32_t> Region::Boxes() const {
  int count = 0;
  const pixman_box32_t* boxes =
      pixman_region32_rectangles(const_cast<pixman_region32_t*>(&region_), &count);
  return {boxes, static_cast<std::size_t>(count)};
}
std::vector<RECT> Region::Rects() const {
  std::vector<RECT> rects;
  for (const pixman_box32_t& b : Boxes()) rects.push_back(RECT{b.x1, b.y1, b.x2, b.y2});
  return rects;
}

int Region::Kind() const {
  const std::size_t n = Boxes().size();
  if (Empty() || n == 0) return NULLREGION;
  return n == 1 ? SIMPLEREGION : COMPLEXREGION;
}
bool operator==(const Region& a, const Region& b) {
  return pixman_region32_equal(const_cast<pixman_region32_t*>(&a.region_),
                               const_cast<pixman_region32_t*>(&b.region_)) != 0;
}

}  // namespace pda::gdi
