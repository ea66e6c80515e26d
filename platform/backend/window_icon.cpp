// The host window's icon (see window_icon.h).
#include "backend/window_icon.h"

#include <algorithm>

#include "resources/icons.h"

namespace pda::backend {

std::shared_ptr<const gdi::Pixels> WindowIcon(HWND window) {
  const auto instance = HINSTANCE{static_cast<std::uint32_t>(GetWindowLongPtrW(window, GWLP_HINSTANCE))};
  char16_t className[256] = {};
  WNDCLASSW info{};
  if (GetClassNameW(window, className, 256) > 0 && GetClassInfoW(instance, className, &info) &&
      info.hIcon) {
    if (auto pixels = resources::IconPixels(HICON{info.hIcon})) return pixels;
  }
  return resources::ProgramIconPixels(instance);
}

std::uint32_t StraightAlpha(std::uint32_t premultiplied) {
  const std::uint32_t alpha = premultiplied >> 24;
  if (alpha == 0) return 0;
  std::uint32_t out = alpha << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t channel = (premultiplied >> shift) & 0xFF;
    out |= std::min<std::uint32_t>(255, (channel * 255 + alpha / 2) / alpha) << shift;
  }
  return out;
}

UniqueSdlSurface IconSurface(const gdi::Pixels& premultiplied) {
  UniqueSdlSurface surface(SDL_CreateRGBSurfaceWithFormat(
      0, premultiplied.width(), premultiplied.height(), 32, SDL_PIXELFORMAT_ARGB8888));
  if (!surface) return nullptr;
  for (int y = 0; y < premultiplied.height(); ++y) {
    const std::uint32_t* from = premultiplied.row(y);
    auto* to = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                                static_cast<std::ptrdiff_t>(y) * surface->pitch);
    std::transform(from, from + premultiplied.width(), to, StraightAlpha);
  }
  return surface;
}

}  // namespace pda::backend
