// The shell's test hooks (pda/testing/shell.h).
#include "pda/testing/shell.h"

#include "display/display.h"
#include "shell/bar_layout.h"
#include "shell/input_panel.h"
#include "shell/navigation_bar.h"
#include "shell/notify_icons.h"

namespace pda::shell {
DWORD DoneButtonStateOf(HWND window);
void ForgetDoneButtons();
}  // namespace pda::shell

namespace pda::testing {

HWND NavigationBarWindow() { return shell::NavigationBar(); }
HWND InputPanelWindow() { return shell::InputPanel(); }
DWORD DoneButtonState(HWND window) { return shell::DoneButtonStateOf(window); }

int BarHeight() { return display::BarHeight(); }

std::vector<NotifyIconInfo> NotifyIcons() {
  const std::vector<shell::NotifyIcon> icons = shell::CurrentNotifyIcons();
  std::vector<RECT> onScreen(icons.size(), RECT{});
  if (const HWND bar = shell::NavigationBar()) {
    RECT client{};
    GetClientRect(bar, &client);
    POINT origin{0, 0};
    ClientToScreen(bar, &origin);
    const shell::NavigationBarLayout layout = shell::LayOutNavigationBar(client, icons.size());
    for (std::size_t i = 0; i < icons.size() && i < layout.icons.size(); ++i) {
      const RECT& r = layout.icons[i];
      onScreen[i] = RECT{r.left + origin.x, r.top + origin.y, r.right + origin.x,
                         r.bottom + origin.y};
    }
  }
  std::vector<NotifyIconInfo> out;
  for (std::size_t i = 0; i < icons.size(); ++i) {
    const shell::NotifyIcon& icon = icons[i];
    const SIZE size = icon.image ? SIZE{icon.image->width(), icon.image->height()} : SIZE{0, 0};
    out.push_back(NotifyIconInfo{icon.owner, icon.id, icon.callbackMessage, size, onScreen[i]});
  }
  return out;
}

void ResetShell() {
  shell::ResetInputPanel();
  shell::DestroyNavigationBar();
  shell::ForgetNotifyIcons();
  shell::ForgetDoneButtons();
}

}  // namespace pda::testing
