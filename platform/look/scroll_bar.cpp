// The vertical scroll bar's geometry and drawing (see scroll_bar.h).
#include "look/scroll_bar.h"

#include <algorithm>

#include "look/look.h"

namespace pda::look {

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

void PaintScrollBar(HDC dc, const ScrollBarGeometry& bar, bool enabled) {
  Fill(dc, bar.track, palette::kTrack);
  if (bar.enabled)
    Fill(dc, RECT{bar.thumb.left + 1, bar.thumb.top, bar.thumb.right - 1, bar.thumb.bottom},
         enabled ? palette::kThumb : palette::kDisabledText);
}

}  // namespace pda::look
