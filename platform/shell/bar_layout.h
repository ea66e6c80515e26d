// Geometry of the two bars, shared by their painters and their tap handling: where the title,
// the notification icons and the clock go on the navigation bar, and where the soft keys and
// the input-panel button go on the menu bar. Client coordinates of the bar.
#pragma once

#include <cstddef>
#include <vector>

#include "pda/types.h"

namespace pda::shell {

struct NavigationBarLayout {
  RECT title;
  RECT gps;                 // the platform's GPS status icon, left of the notification icons
  std::vector<RECT> icons;  // the first icon nearest the clock
  RECT clock;
};
NavigationBarLayout LayOutNavigationBar(const RECT& bar, std::size_t iconCount);
// The notification icon under the point, or -1.
int IconAt(const NavigationBarLayout& layout, POINT point);
bool OnGpsIcon(const NavigationBarLayout& layout, POINT point);

enum class MenuBarPart { None, Left, InputPanelButton, Right };
struct MenuBarLayout {
  RECT left;
  RECT button;  // empty when the bar has no input-panel button
  RECT right;
};
MenuBarLayout LayOutMenuBar(const RECT& bar, bool inputPanelButton);
MenuBarPart PartAt(const MenuBarLayout& layout, POINT point);

bool Contains(const RECT& rect, POINT point);

}  // namespace pda::shell
