// The popup menu's look, kept apart from its window: a layout computed from the menu's items, the
// anchor point and the screen, and a painter that draws that layout into any device context. The
// window and its modal loop are in popup_menu.cpp.
#pragma once

#include <string>
#include <vector>

#include "pda/gdi.h"
#include "pda/menu.h"
#include "user/menu.h"

namespace pda::user {

struct PopupMenuRow {
  std::u16string text;  // as shown: '&' marks taken out, nothing after a tab; empty for a separator
  UINT command = 0;
  bool separator = false;
  // An item that can be chosen: not grayed, disabled, a separator or a submenu.
  bool enabled = true;
  bool checked = false;
  RECT rect{};  // client coordinates
};

struct PopupMenuLayout {
  RECT panel{};  // screen coordinates: the menu's window
  std::vector<PopupMenuRow> rows;
};

// Rows of touch size in `font`, stacked in a framed panel placed at `anchor` by the TPM_ flags
// (x: left, centre or right; y: top, centre or bottom) and kept on the screen. `exclude` (screen
// coordinates; may be empty) is an area the panel is moved off vertically when it would cover it.
PopupMenuLayout LayOutPopupMenu(const std::vector<MenuItemView>& items, HFONT font, POINT anchor,
                                UINT flags, const RECT& exclude, int screenWidth, int screenHeight,
                                int dpi);

// Draws the whole menu at client coordinates; hot is the highlighted row or -1.
void PaintPopupMenu(HDC dc, const PopupMenuLayout& layout, HFONT font, int dpi, int hot);

}  // namespace pda::user
