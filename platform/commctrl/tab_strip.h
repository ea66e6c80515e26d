// The property sheet's tab strip: one tab per page title, the shown page's tab lit. A tap on a
// tab (pressed and lifted on the same tab) asks the parent sheet to show that page
// (PSM_SETCURSEL); the sheet lights the tab of the page it shows.
#pragma once

#include <string>
#include <vector>

#include "pda/gdi.h"

namespace pda::commctrl {

// What the strip is made with (lpCreateParams); the font stays the caller's.
struct TabStripContent {
  std::vector<std::u16string> titles;
  HFONT font;
};

inline constexpr char16_t kTabStripClass[] = u"pda:SheetTabs";
bool RegisterTabStripClass();

// Lights the tab `index` (the page the sheet now shows).
void SelectTab(HWND strip, int index);

}  // namespace pda::commctrl
