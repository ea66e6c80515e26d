// The drawing objects behind HBITMAP, HBRUSH, HFONT and HRGN, and the table that hands them out.
//
// All four live in one table under HandleKind::GdiObject, so HGDIOBJ can name any of them and
// a handle of the wrong family is told apart by the object's type. An object counts the device
// contexts it is selected into: DeleteObject refuses it while that count is not zero.
#pragma once

#include <atomic>
#include <memory>

#include "gdi/pixels.h"
#include "gdi/region.h"
#include "kernel/handle_table.h"
#include "pda/gdi.h"

namespace pda::gdi {

class FontInstance;

class GdiObject {
 public:
  GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  virtual ~GdiObject() = default;

  bool stock() const { return stock_; }
  void MarkStock() { stock_ = true; }
  int selections() const { return selections_.load(); }
  void AddSelection() { selections_.fetch_add(1); }
  void DropSelection() { selections_.fetch_sub(1); }

 private:
  bool stock_ = false;
  std::atomic<int> selections_{0};
};

class Bitmap final : public GdiObject {
 public:
  explicit Bitmap(Pixels pixels) : pixels_(std::move(pixels)) {}
  Pixels& pixels() { return pixels_; }

 private:
  Pixels pixels_;
};

class Brush final : public GdiObject {
 public:
  // A hollow brush paints nothing.
  static constexpr std::uint32_t kHollow = 0xFFFFFFFFu;
  explicit Brush(COLORREF color) : color_(color) {}
  bool hollow() const { return color_ == kHollow; }
  COLORREF color() const { return color_; }

 private:
  COLORREF color_;
};

class Font final : public GdiObject {
 public:
  Font(const LOGFONTW& logfont, std::shared_ptr<FontInstance> instance)
      : logfont_(logfont), instance_(std::move(instance)) {}
  const LOGFONTW& logfont() const { return logfont_; }
  FontInstance& instance() const { return *instance_; }

 private:
  LOGFONTW logfont_;
  std::shared_ptr<FontInstance> instance_;
};

class RegionObject final : public GdiObject {
 public:
  explicit RegionObject(Region region) : region_(std::move(region)) {}
  Region& region() { return region_; }

 private:
  Region region_;
};

using GdiObjectTable = HandleTable<GdiObject>;
GdiObjectTable& GdiObjects();

// Puts a new object in the table; a null handle when the table is full.
std::uint32_t InsertObject(std::shared_ptr<GdiObject> object);

template <class Object>
std::shared_ptr<Object> LookupObject(std::uint32_t handle) {
  return GdiObjects().LookupAs<Object>(handle, HandleKind::GdiObject);
}

// The stock objects (GetStockObject) by index, made on first use; null for an unknown index.
std::shared_ptr<GdiObject> StockObject(int index, std::uint32_t* handle);
// The 1x1 bitmap a fresh memory context holds.
std::shared_ptr<Bitmap> StockBitmap(std::uint32_t* handle);

}  // namespace pda::gdi
