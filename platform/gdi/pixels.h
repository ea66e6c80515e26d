// A 32-bit XRGB pixel surface: what a bitmap and the screen are made of.
//
// Pixels are 0x00RRGGBB in host order (B, G, R, X in memory). pixman may leave garbage in the
// top byte when it composites into an x8r8g8b8 image, so every reader masks it off (Color()).
// A surface either owns its memory or borrows it (for example a back end's frame buffer).
//
// Row identities: a copy of whole rows can give the rows it wrote the identity of the rows
// they came from, so that copying the same picture again (a back buffer repainted from an
// unchanged background, then copied to the screen) skips every row that already holds it,
// without reading a pixel. Two rows with the same nonzero identity hold the same pixels. Any
// mutable access to a row forgets its identity (row(), data(), and drawing, which calls
// Forget), so a missed write can only cost a comparison, never leave a stale row. Borrowed
// memory may change behind the surface's back: its rows never have an identity.
//
// A new surface's memory comes zeroed from the system and its rows all have the identity of a
// black row, so a black fill over them (an all-black surface to dim with, say) writes nothing
// and the pages stay untouched: they cost no memory until something else is drawn there. A
// large surface is a mapping of its own, so that this holds for every one (the allocator would
// hand out, and have to clear, memory freed before) and a freed one goes back to the system at
// once rather than staying in the allocator's reserve.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include <pixman.h>

namespace pda::gdi {

// A pixman image that unrefs itself.
struct PixmanImageUnref {
  void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};
using PixmanImage = std::unique_ptr<pixman_image_t, PixmanImageUnref>;

class Pixels {
 public:
  static constexpr int kMaxSide = 16384;

  // A zeroed (black) surface; nothing when a side is outside 1..kMaxSide.
  static std::optional<Pixels> Create(int width, int height);
  // Wraps memory the caller keeps alive; stride is in bytes, a multiple of 4.
  static std::optional<Pixels> Borrow(std::uint32_t* data, int width, int height, int stride);

  Pixels(Pixels&&) noexcept = default;
  Pixels& operator=(Pixels&&) noexcept = default;
  Pixels(const Pixels&) = delete;
  Pixels& operator=(const Pixels&) = delete;
  ~Pixels() = default;

  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return stride_; }  // bytes
  std::uint32_t* row(int y) {
    Forget(y, y + 1);
    return data_ + static_cast<std::ptrdiff_t>(y) * (stride_ / 4);
  }
  const std::uint32_t* row(int y) const {
    return data_ + static_cast<std::ptrdiff_t>(y) * (stride_ / 4);
  }
  std::uint32_t* data() {
    Forget(0, height_);
    return data_;
  }
  const std::uint32_t* data() const { return data_; }

  // Rows top..bottom-1 are being written (clamped to the surface).
  void Forget(int top, int bottom);
  // True when row y is known to hold the same pixels as row from_y of `from`.
  bool SameRow(int y, const Pixels& from, int from_y) const;
  // Row y was just made equal to row from_y of `from`, all of it: both share one identity.
  void ShareRow(int y, const Pixels& from, int from_y);
  // True when row y is known to be all zero (black, top byte clear): never written since the
  // surface was made.
  bool ZeroRow(int y) const;

  // The colour at (x, y), top byte cleared. The caller keeps inside the bounds.
  std::uint32_t Color(int x, int y) const { return row(y)[x] & 0x00FFFFFFu; }

  // A pixman image over this memory, for one drawing operation. With a premultiplied alpha
  // format the top byte is read as alpha.
  PixmanImage Image(pixman_format_code_t format = PIXMAN_x8r8g8b8) const;

 private:
  struct Free {
    std::size_t mapped;  // bytes of a mapping of its own; 0: from the allocator
    void operator()(std::uint32_t* memory) const;
  };
  Pixels(std::unique_ptr<std::uint32_t[], Free> owned, std::uint32_t* data, int width,
         int height, int stride);

  std::unique_ptr<std::uint32_t[], Free> owned_;
  // One identity per row (0: none), owned surfaces only. Atomic because a surface read by one
  // thread (a copy's source) may have its rows named by that copy.
  std::unique_ptr<std::atomic<std::uint64_t>[]> ids_;
  std::uint32_t* data_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
};

// COLORREF (0x00BBGGRR) <-> pixel (0x00RRGGBB).
constexpr std::uint32_t PixelFromColorref(std::uint32_t c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr std::uint32_t ColorrefFromPixel(std::uint32_t p) { return PixelFromColorref(p); }

}  // namespace pda::gdi
