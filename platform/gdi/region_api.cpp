// The region calls over Region objects.
#include <algorithm>

#include "gdi/objects.h"

using namespace pda::gdi;  // NOLINT: the C surface below is a thin layer over this namespace

namespace {

// Win32 takes the corners in any order.
Box Normalised(int left, int top, int right, int bottom) {
  return Box{std::min(left, right), std::min(top, bottom), std::max(left, right),
             std::max(top, bottom)};
}

std::shared_ptr<RegionObject> Find(HRGN region) {
  return LookupObject<RegionObject>(region.value);
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return HRGN{InsertObject(std::make_shared<RegionObject>(Region(Normalised(left, top, right, bottom))))};
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) return nullptr;
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
  std::shared_ptr<RegionObject> target = Find(destination);
  std::shared_ptr<RegionObject> a = Find(source1);
  if (!target || !a) return ERROR;
  Region result = a->region();
  if (mode == RGN_COPY) {
    target->region() = std::move(result);
    return target->region().Kind();
  }
  std::shared_ptr<RegionObject> b = Find(source2);
  if (!b) return ERROR;
  switch (mode) {
    case RGN_AND: result.Intersect(b->region()); break;
    case RGN_OR: result.Union(b->region()); break;
    case RGN_XOR: result.Xor(b->region()); break;
    case RGN_DIFF: result.Subtract(b->region()); break;
    default: return ERROR;
  }
  target->region() = std::move(result);
  return target->region().Kind();
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  std::shared_ptr<RegionObject> found = Find(region);
  if (!found) return FALSE;
  found->region().SetBox(Normalised(left, top, right, bottom));
  return TRUE;
}

int OffsetRgn(HRGN region, int dx, int dy) {
  std::shared_ptr<RegionObject> found = Find(region);
  if (!found) return ERROR;
  found->region().Translate(dx, dy);
  return found->region().Kind();
}

int GetRgnBox(HRGN region, LPRECT box) {
  std::shared_ptr<RegionObject> found = Find(region);
  if (!found || !box) return ERROR;
  const Box extents = found->region().Extents();
  *box = RECT{extents.left, extents.top, extents.right, extents.bottom};
  return found->region().Kind();
}

BOOL PtInRegion(HRGN region, int x, int y) {
  std::shared_ptr<RegionObject> found = Find(region);
  return found && found->region().Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
  std::shared_ptr<RegionObject> found = Find(region);
  if (!found || !rect) return FALSE;
  return found->region().Overlaps(Normalised(rect->left, rect->top, rect->right, rect->bottom))
             ? TRUE
             : FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
  std::shared_ptr<RegionObject> first = Find(a);
  std::shared_ptr<RegionObject> second = Find(b);
  if (!first || !second) return FALSE;
  return first->region() == second->region() ? TRUE : FALSE;
}
