// PNG with alpha, copies and area-weighted scaling.
#include "resources/image_ops.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace pda::resources {
namespace {

// One output index covers [i * scale, (i + 1) * scale) of the source: the source indexes it
// touches and how much of each, summing to 1.
struct Tap {
  int index;
  float weight;
};
std::vector<std::vector<Tap>> AreaTaps(int sourceSize, int size) {
  std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(size));
  const double scale = static_cast<double>(sourceSize) / size;
  for (int i = 0; i < size; ++i) {
    const double begin = i * scale;
    const double end = (i + 1) * scale;
    for (int s = static_cast<int>(std::floor(begin)); s < end && s < sourceSize; ++s) {
      const double covered = std::min<double>(end, s + 1) - std::max<double>(begin, s);
      if (covered > 0) taps[static_cast<std::size_t>(i)].push_back({s, static_cast<float>(covered / scale)});
    }
  }
  return taps;
}

}  // namespace

std::optional<gdi::Pixels> DecodePngPremultiplied(std::span<const std::uint8_t> png) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return std::nullopt;
  if (image.width < 1 || image.height < 1 || image.width > gdi::Pixels::kMaxSide ||
      image.height > gdi::Pixels::kMaxSide) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_BGRA;
  std::optional<gdi::Pixels> pixels =
      gdi::Pixels::Create(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!pixels) {
    png_image_free(&image);
    return std::nullopt;
  }
  // B, G, R, A in memory is 0xAARRGGBB in host order on the little-endian hosts we run on.
  if (!png_image_finish_read(&image, nullptr, pixels->data(), pixels->stride(), nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  for (int y = 0; y < pixels->height(); ++y) {
    std::uint32_t* row = pixels->row(y);
    for (int x = 0; x < pixels->width(); ++x) {
      const std::uint32_t p = row[x];
      const std::uint32_t a = p >> 24;
      auto pre = [a](std::uint32_t c) { return (c * a + 127) / 255; };
      row[x] = (a << 24) | (pre((p >> 16) & 0xFF) << 16) | (pre((p >> 8) & 0xFF) << 8) |
               pre(p & 0xFF);
    }
  }
  return pixels;
}

std::optional<gdi::Pixels> CopyPixels(const gdi::Pixels& source) {
  std::optional<gdi::Pixels> copy = gdi::Pixels::Create(source.width(), source.height());
  if (!copy) return std::nullopt;
  for (int y = 0; y < source.height(); ++y)
    std::memcpy(copy->row(y), source.row(y), static_cast<std::size_t>(source.width()) * 4);
  return copy;
}

std::optional<gdi::Pixels> ScalePixels(const gdi::Pixels& source, int width, int height) {
  if (width == source.width() && height == source.height()) return CopyPixels(source);
  std::optional<gdi::Pixels> out = gdi::Pixels::Create(width, height);
  if (!out) return std::nullopt;
  const auto columns = AreaTaps(source.width(), width);
  const auto rows = AreaTaps(source.height(), height);
  // Horizontal pass into floats (four channels), then the vertical pass into the output.
  std::vector<float> across(static_cast<std::size_t>(width) * source.height() * 4);
  for (int y = 0; y < source.height(); ++y) {
    const std::uint32_t* in = source.row(y);
    for (int x = 0; x < width; ++x) {
      float* acc = &across[(static_cast<std::size_t>(y) * width + x) * 4];
      for (const Tap& t : columns[static_cast<std::size_t>(x)])
        for (int c = 0; c < 4; ++c)
          acc[c] += t.weight * static_cast<float>((in[t.index] >> (8 * c)) & 0xFF);
    }
  }
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = out->row(y);
    for (int x = 0; x < width; ++x) {
      float acc[4] = {0, 0, 0, 0};
      for (const Tap& t : rows[static_cast<std::size_t>(y)]) {
        const float* in = &across[(static_cast<std::size_t>(t.index) * width + x) * 4];
        for (int c = 0; c < 4; ++c) acc[c] += t.weight * in[c];
      }
      std::uint32_t p = 0;
      for (int c = 0; c < 4; ++c)
        p |= static_cast<std::uint32_t>(std::clamp(std::lround(acc[c]), 0L, 255L)) << (8 * c);
      row[x] = p;
    }
  }
  return out;
}

}  // namespace pda::resources
