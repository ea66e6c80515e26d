// PNG codec over libpng's simplified API.
#include "gdi/png_codec.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace pda::gdi {

std::optional<Pixels> DecodePng(std::span<const std::uint8_t> png) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return std::nullopt;
  if (image.width < 1 || image.height < 1 || image.width > Pixels::kMaxSide ||
      image.height > Pixels::kMaxSide) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_BGR;
  const std::size_t row_bytes = PNG_IMAGE_ROW_STRIDE(image);
  std::vector<std::uint8_t> bgr(row_bytes * image.height);
  const png_color black{0, 0, 0};
  if (!png_image_finish_read(&image, &black, bgr.data(), static_cast<png_int_32>(row_bytes),
                             nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  std::optional<Pixels> pixels =
      Pixels::Create(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!pixels) return std::nullopt;
  for (int y = 0; y < pixels->height(); ++y) {
    const std::uint8_t* in = bgr.data() + static_cast<std::size_t>(y) * row_bytes;
    std::uint32_t* out = pixels->row(y);
    for (int x = 0; x < pixels->width(); ++x, in += 3)
      out[x] = (static_cast<std::uint32_t>(in[2]) << 16) | (static_cast<std::uint32_t>(in[1]) << 8) |
               in[0];
  }
  return pixels;
}

std::vector<std::uint8_t> EncodePng(const Pixels& pixels) {
  const int w = pixels.width();
  const int h = pixels.height();
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
  std::uint8_t* out = rgb.data();
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* in = pixels.row(y);
    for (int x = 0; x < w; ++x) {
      *out++ = static_cast<std::uint8_t>(in[x] >> 16);
      *out++ = static_cast<std::uint8_t>(in[x] >> 8);
      *out++ = static_cast<std::uint8_t>(in[x]);
    }
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  // First ask for the size, then write.
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) return {};
  std::vector<std::uint8_t> png(size);
  if (!png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), 0, nullptr)) return {};
  png.resize(size);
  return png;
}

bool WritePngFile(const Pixels& pixels, const std::string& path) {
  const std::vector<std::uint8_t> png = EncodePng(pixels);
  if (png.empty()) return false;
  struct Close {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Close> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  if (std::fwrite(png.data(), 1, png.size(), file.get()) != png.size()) return false;
  return std::fflush(file.get()) == 0;
}

}  // namespace pda::gdi
