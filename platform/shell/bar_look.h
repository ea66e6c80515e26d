// The look of the shell: stateless painters for the navigation bar, the menu bar and the input
// panel. Each draws a view (plain data) into a device context, so the same picture can be drawn
// on the screen or, in a test, into a memory context.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gdi/pixels.h"
#include "gps/gps_status.h"
#include "pda/gdi.h"
#include "shell/bar_layout.h"
#include "shell/keyboard_layout.h"

namespace pda::shell {

struct NavigationBarView {
  std::u16string title;
  std::u16string clock;
  std::vector<std::shared_ptr<const gdi::Pixels>> icons;  // premultiplied, in layout order
  gps::SourceState gps = gps::SourceState::NoSource;
};
void PaintNavigationBar(HDC dc, const RECT& bar, const NavigationBarView& view);

struct SoftKeyView {
  std::u16string text;
  bool enabled = true;
};
struct MenuBarView {
  SoftKeyView left;
  SoftKeyView right;
  bool inputPanelButton = false;
  bool inputPanelUp = false;
  MenuBarPart pressed = MenuBarPart::None;
  std::optional<COLORREF> background;  // SHCMBF_COLORBK
};
void PaintMenuBar(HDC dc, const RECT& bar, const MenuBarView& view);

struct InputPanelView {
  KeyboardPage page = KeyboardPage::Letters;
  bool shift = false;
  std::optional<RECT> pressed;  // the key under the stylus
};
void PaintInputPanel(HDC dc, const RECT& panel, const InputPanelView& view);

}  // namespace pda::shell
