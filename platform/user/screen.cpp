// GetSystemMetrics and the screen-change notice.
#include "user/screen.h"

#include "display/display.h"
#include "pda/testing/user.h"
#include "user/placement.h"
#include "user/screen_surface.h"
#include "user/window.h"

namespace pda::user {

void ScreenChanged() {
  FitScreenSurface();
  struct Entry {
    HWND window;
    bool position;
    bool size;
  };
  std::vector<Entry> topLevel;
  {
    auto lock = TreeLock();
    for (HWND h : TopLevelLocked())
      if (Window* w = FindLocked(h); w && !w->destroying)
        topLevel.push_back({h, w->defaultPosition, w->defaultSize});
  }
  const RECT area = DefaultTopLevelRect();
  for (const Entry& e : topLevel) {
    if (!e.position && !e.size) continue;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!e.position) flags |= SWP_NOMOVE;
    if (!e.size) flags |= SWP_NOSIZE;
    PlaceWindow(e.window, HWND_TOP, area.left, area.top, area.right - area.left,
                area.bottom - area.top, flags);
  }
  for (const Entry& e : topLevel) Notify(e.window, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
}

}  // namespace pda::user

namespace pda::testing {

void ChangeScreen(int width, int height, int dpi) {
  display::SetScreen(display::ScreenSpec{width, height, dpi});
  user::ScreenChanged();
}

}  // namespace pda::testing

int GetSystemMetrics(int index) {
  const auto screen = pda::display::CurrentScreen();
  switch (index) {
    case SM_CXSCREEN: return screen.width;
    case SM_CYSCREEN: return screen.height;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return 13 * screen.dpi / 96;
    default: return 0;
  }
}
