// Menus inside the platform: what the shell reads of a menu to draw and run its soft keys.
#pragma once

#include <string>
#include <vector>

#include "pda/menu.h"

namespace pda::user {

struct MenuItemView {
  UINT flags = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_POPUP, MF_SEPARATOR
  UINT id = 0;     // the command; 0 for a popup item or a separator
  std::u16string text;
  HMENU submenu;   // for MF_POPUP
};

// A copy of the menu's items, in order; empty for a menu that does not exist.
std::vector<MenuItemView> MenuItems(HMENU menu);

}  // namespace pda::user
