// Pixel surfaces: allocation, borrowing, pixman views.
#include "gdi/pixels.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace pda::gdi {

namespace {
// Row identities (pixels.h); 1 is the all-zero row, the others are handed out from 2 on.
constexpr std::uint64_t kZeroRow = 1;
std::atomic<std::uint64_t> g_lastRowId{kZeroRow};

// From this size on a surface is a mapping of its own (pixels.h).
constexpr std::size_t kMappedFrom = 64 * 1024;
}  // namespace

void Pixels::Free::operator()(std::uint32_t* memory) const {
  if (mapped)
    ::munmap(memory, mapped);
  else
    std::free(memory);
}

std::optional<Pixels> Pixels::Create(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return std::nullopt;
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  std::unique_ptr<std::uint32_t[], Free> memory(nullptr, Free{0});
  if (bytes >= kMappedFrom) {
    void* mapped = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return std::nullopt;
    memory = std::unique_ptr<std::uint32_t[], Free>(static_cast<std::uint32_t*>(mapped),
                                                    Free{bytes});
  } else {
    memory.reset(static_cast<std::uint32_t*>(std::calloc(bytes, 1)));
  }
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

Pixels::Pixels(std::unique_ptr<std::uint32_t[], Free> owned, std::uint32_t* data, int width,
               int height, int stride)
    : owned_(std::move(owned)), data_(data), width_(width), height_(height), stride_(stride) {
  if (!owned_) return;
  ids_.reset(new (std::nothrow) std::atomic<std::uint64_t>[height]);
  if (ids_)
    for (int y = 0; y < height; ++y) ids_[y].store(kZeroRow, std::memory_order_relaxed);
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

bool Pixels::ZeroRow(int y) const {
  return ids_ && ids_[y].load(std::memory_order_relaxed) == kZeroRow;
}

PixmanImage Pixels::Image(pixman_format_code_t format) const {
  return PixmanImage(pixman_image_create_bits(format, width_, height_, data_, stride_));
}

}  // namespace pda::gdi
