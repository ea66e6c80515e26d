// PDA_ZOOM (see zoom.h).
#include "backend/zoom.h"

#include <algorithm>
#include <charconv>

namespace pda::backend {

std::optional<int> ParseZoom(std::string_view text) {
  if (text == "auto") return kZoomAuto;
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size() || value < 1 || value > kMaxZoom)
    return std::nullopt;
  return value;
}

int FitZoom(SIZE usable, SIZE device) {
  if (device.cx <= 0 || device.cy <= 0) return 1;
  const int across = static_cast<int>(usable.cx / device.cx);
  const int down = static_cast<int>(usable.cy / device.cy);
  return std::clamp(std::min(across, down), 1, kMaxZoom);
}

}  // namespace pda::backend
