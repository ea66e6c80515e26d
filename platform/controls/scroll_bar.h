// The geometry of a drawn vertical scroll bar: a track the height of the bar and a thumb whose
// length is the visible share of the whole and whose place is the scroll position.
#pragma once

#include "pda/types.h"

namespace pda::controls {

struct ScrollBarGeometry {
  RECT track;
  RECT thumb;    // empty when everything is visible (nothing to scroll)
  bool enabled;  // there is something to scroll
};

// total items (lines), page items visible, position of the first visible item.
ScrollBarGeometry VerticalScrollBar(const RECT& bar, int total, int page, int position,
                                    int minimumThumb);

}  // namespace pda::controls
