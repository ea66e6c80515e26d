// PNGs made by the tests: RGBA images painted by a function of (x, y), encoded with libpng.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace pda::resources_test {

// RGBA bytes in, PNG bytes out (empty on failure).
inline std::vector<std::uint8_t> MakePng(int width, int height,
                                         const std::function<std::uint32_t(int, int)>& rgba) {
  std::vector<std::uint8_t> pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = rgba(x, y);  // 0xRRGGBBAA
      pixels.push_back(static_cast<std::uint8_t>(c >> 24));
      pixels.push_back(static_cast<std::uint8_t>(c >> 16));
      pixels.push_back(static_cast<std::uint8_t>(c >> 8));
      pixels.push_back(static_cast<std::uint8_t>(c));
    }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) return {};
  std::vector<std::uint8_t> png(size);
  if (!png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, nullptr)) return {};
  png.resize(size);
  return png;
}

inline std::vector<std::uint8_t> SolidPng(int width, int height, std::uint32_t rgba) {
  return MakePng(width, height, [rgba](int, int) { return rgba; });
}

}  // namespace pda::resources_test
