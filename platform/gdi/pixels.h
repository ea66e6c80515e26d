// A 32-bit XRGB pixel surface: what a bitmap and the screen are made of.
//
// Pixels are 0x00RRGGBB in host order (B, G, R, X in memory). pixman may leave garbage in the
// top byte when it composites into an x8r8g8b8 image, so every reader masks it off (Color()).
// A surface either owns its memory or borrows it (for example a back end's frame buffer).
#pragma once

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
  std::uint32_t* row(int y) { return data_ + static_cast<std::ptrdiff_t>(y) * (stride_ / 4); }
  const std::uint32_t* row(int y) const {
    return data_ + static_cast<std::ptrdiff_t>(y) * (stride_ / 4);
  }
  std::uint32_t* data() { return data_; }

  // The colour at (x, y), top byte cleared. The caller keeps inside the bounds.
  std::uint32_t Color(int x, int y) const { return row(y)[x] & 0x00FFFFFFu; }

  // A pixman image over this memory, for one drawing operation. With a premultiplied alpha
  // format the top byte is read as alpha.
  PixmanImage Image(pixman_format_code_t format = PIXMAN_x8r8g8b8) const;

 private:
  Pixels(std::unique_ptr<std::uint32_t[]> owned, std::uint32_t* data, int width, int height,
         int stride)
      : owned_(std::move(owned)), data_(data), width_(width), height_(height), stride_(stride) {}

  std::unique_ptr<std::uint32_t[]> owned_;
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
