// Bar geometry.
#include "shell/bar_layout.h"

#include <algorithm>

#include "shell/shell_metrics.h"

namespace pda::shell {

bool Contains(const RECT& rect, POINT point) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
         point.y < rect.bottom;
}

NavigationBarLayout LayOutNavigationBar(const RECT& bar, std::size_t iconCount) {
  NavigationBarLayout layout;
  const int gap = Scaled(4);
  const int clockWidth = Scaled(40);  // "00:00" in the bar's font, with room to spare
  layout.clock = {bar.right - gap - clockWidth, bar.top, bar.right - gap, bar.bottom};
  const int size = NotifyIconSize();
  const int top = bar.top + (bar.bottom - bar.top - size) / 2;
  int right = layout.clock.left - gap;
  for (std::size_t i = 0; i < iconCount; ++i) {
    layout.icons.push_back({right - size, top, right, top + size});
    right -= size + gap;
  }
  layout.gps = {right - size, top, right, top + size};
  right -= size + gap;
  layout.title = {bar.left + Scaled(6), bar.top, std::max<LONG>(bar.left + Scaled(6), right), bar.bottom};
  return layout;
}

namespace {

// A fingertip is larger than a 16-pixel icon: the whole bar height over the icon counts.
bool OnIcon(const NavigationBarLayout& layout, RECT icon, POINT point) {
  icon.top = layout.clock.top;
  icon.bottom = layout.clock.bottom;
  return Contains(icon, point);
}

}  // namespace

int IconAt(const NavigationBarLayout& layout, POINT point) {
  for (std::size_t i = 0; i < layout.icons.size(); ++i)
    if (OnIcon(layout, layout.icons[i], point)) return static_cast<int>(i);
  return -1;
}

bool OnGpsIcon(const NavigationBarLayout& layout, POINT point) {
  return OnIcon(layout, layout.gps, point);
}

MenuBarLayout LayOutMenuBar(const RECT& bar, bool inputPanelButton) {
  const int middle = (bar.left + bar.right) / 2;
  const int half = inputPanelButton ? (bar.bottom - bar.top) * 3 / 4 : 0;
  MenuBarLayout layout;
  layout.left = {bar.left, bar.top, middle - half, bar.bottom};
  layout.button = inputPanelButton ? RECT{middle - half, bar.top, middle + half, bar.bottom}
                                   : RECT{middle, bar.top, middle, bar.bottom};
  layout.right = {middle + half, bar.top, bar.right, bar.bottom};
  return layout;
}

MenuBarPart PartAt(const MenuBarLayout& layout, POINT point) {
  if (Contains(layout.left, point)) return MenuBarPart::Left;
  if (Contains(layout.button, point)) return MenuBarPart::InputPanelButton;
  if (Contains(layout.right, point)) return MenuBarPart::Right;
  return MenuBarPart::None;
}

}  // namespace pda::shell
