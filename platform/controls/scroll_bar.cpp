// VerticalScrollBar: the thumb's length and place.
#include "controls/scroll_bar.h"

#include <algorithm>

namespace pda::controls {

ScrollBarGeometry VerticalScrollBar(const RECT& bar, int total, int page, int position,
                                    int minimumThumb) {
  ScrollBarGeometry g{bar, RECT{}, total > page && page > 0};
  if (!g.enabled) return g;
  const int track = bar.bottom - bar.top;
  const int length = std::clamp(static_cast<int>(static_cast<long long>(track) * page / total),
                                std::min(minimumThumb, track), track);
  const int range = total - page;
  const int top = bar.top + static_cast<int>(static_cast<long long>(track - length) *
                                             std::clamp(position, 0, range) / range);
  g.thumb = RECT{bar.left, top, bar.right, top + length};
  return g;
}

}  // namespace pda::controls
