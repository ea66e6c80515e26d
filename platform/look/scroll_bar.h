// The geometry of a drawn vertical scroll bar: a track and a thumb whose length is the visible
// share of the whole and whose place is the scroll position; and the bar drawn in the palette's
// track and thumb colours. Controls that draw their own bar and the window manager's bars on
// windows share it.
#pragma once

#include "pda/gdi.h"

namespace pda::look {

struct ScrollBarGeometry {
  RECT track;
  RECT thumb;    // empty when everything is visible (nothing to scroll)
  bool enabled;  // there is something to scroll
};

// total items (lines), page items visible, position of the first visible item.
ScrollBarGeometry VerticalScrollBar(const RECT& bar, int total, int page, int position,
                                    int minimumThumb);

// The track, and the thumb (a pixel narrower on each side) when there is something to scroll.
void PaintScrollBar(HDC dc, const ScrollBarGeometry& bar, bool enabled = true);

}  // namespace pda::look
