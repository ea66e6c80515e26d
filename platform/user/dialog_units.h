// Dialog units: a dialog's layout unit, a quarter of its font's average character width across
// and an eighth of its character height down.
#pragma once

#include "pda/owners.h"
#include "pda/user.h"

namespace pda::user {

struct BaseUnits {
  int x;  // average width of the 52 letters A-Z and a-z, rounded as (extent / 26 + 1) / 2
  int y;  // character height (tmHeight)
};

// The base units of a font, measured in a memory context; {0, 0} when it cannot be measured.
BaseUnits MeasureBaseUnits(HFONT font);

// Dialog units to pixels: every edge scaled on its own (x * baseX / 4, y * baseY / 8, rounded).
RECT DialogUnitsToPixels(const RECT& units, BaseUnits base);

// The font `face` at `points` on the screen's LOGPIXELSY, as a dialog template asks for it, with
// its base units. Fonts are made once per face, size and DPI and kept for the program: the
// dialogs' controls hold them for as long as they live, past their dialog's own end.
struct DialogFace {
  HFONT font;  // null when it cannot be made
  BaseUnits base;
};
DialogFace DialogFont(LPCWSTR face, int points);

}  // namespace pda::user
