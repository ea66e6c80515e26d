// Pixel surfaces: allocation, borrowing, pixman views.
#include "gdi/pixels.h"

#include <algorithm>
#include <new>

namespace pda::gdi {

std::optional<Pixels> Pixels::Create(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return std::nullopt;
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  std::unique_ptr<std::uint32_t[]> memory(new (std::nothrow) std::uint32_t[count]());
  if (!memory) return std::nullopt;
  std::uint32_t* data = memory.get();
  return Pixels(std::move(memory), data, width, height, width * 4);
}

std::optional<Pixels> Pixels::Borrow(std::uint32_t* data, int width, int height, int stride) {
  if (!data || width < 1 || height < 1 || width > kMaxSide || height > kMaxSide ||
      stride < width * 4 || stride % 4 != 0)
    return std::nullopt;
  return Pixels(nullptr, data, width, height, stride);
}

namespace {
std::atomic<std::uint64_t> g_lastRowId{0};
}  // namespace

Pixels::Pixels(std::unique_ptr<std::uint32_t[]> owned, std::uint32_t* data, int width,
               int height, int stride)
    : owned_(std::move(owned)), data_(data), width_(width), height_(height), stride_(stride) {
  if (owned_) ids_.reset(new (std::nothrow) std::atomic<std::uint64_t>[height]());
}

void Pixels::Forget(int top, int bottom) {
  if (!ids_) return;
  for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y)
    ids_[y].store(0, std::memory_order_relaxed);
}

bool Pixels::SameRow(int y, const Pixels& from, int from_y) const {
  if (!ids_ || !from.ids_ || width_ != from.width_) return false;
  const std::uint64_t id = ids_[y].load(std::memory_order_relaxed);
  return id != 0 && id == from.ids_[from_y].load(std::memory_order_relaxed);
}

void Pixels::ShareRow(int y, const Pixels& from, int from_y) {
  if (!ids_ || !from.ids_ || width_ != from.width_) return;
  std::uint64_t id = from.ids_[from_y].load(std::memory_order_relaxed);
  if (id == 0) {
    id = g_lastRowId.fetch_add(1, std::memory_order_relaxed) + 1;
    from.ids_[from_y].store(id, std::memory_order_relaxed);
  }
  ids_[y].store(id, std::memory_order_relaxed);
}

PixmanImage Pixels::Image(pixman_format_code_t format) const {
  return PixmanImage(pixman_image_create_bits(format, width_, height_, data_, stride_));
}

}  // namespace pda::gdi
