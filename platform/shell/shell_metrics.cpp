// Screen places of the shell's windows.
#include "shell/shell_metrics.h"

#include "display/display.h"

namespace pda::shell {

int Scaled(int at96) { return at96 * display::CurrentScreen().dpi / 96; }

RECT NavigationBarRect() {
  return {0, 0, display::CurrentScreen().width, display::BarHeight()};
}

RECT MenuBarRect() {
  const display::ScreenMode screen = display::CurrentScreen();
  return {0, screen.height - display::BarHeight(), screen.width, screen.height};
}

int InputPanelHeight() { return Scaled(80); }

RECT InputPanelRect() {
  const RECT bar = MenuBarRect();
  return {0, bar.top - InputPanelHeight(), bar.right, bar.top};
}

int NotifyIconSize() { return Scaled(16); }

}  // namespace pda::shell
