// Pixel surfaces: allocation, borrowing, pixman views.
#include "gdi/pixels.h"

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

PixmanImage Pixels::Image(pixman_format_code_t format) const {
  return PixmanImage(pixman_image_create_bits(format, width_, height_, data_, stride_));
}

}  // namespace pda::gdi
