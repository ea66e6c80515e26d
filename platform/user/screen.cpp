// GetSystemMetrics, the screen-change notice and the host's rotation.
#include "user/screen.h"

#include <algorithm>
#include <utility>

#include "display/display.h"
#include "pda/testing/user.h"
#include "user/input_router.h"
#include "user/messaging.h"
#include "user/placement.h"
#include "user/screen_surface.h"
#include "user/update_region.h"
#include "user/window.h"

namespace pda::user {

void ScreenChanged() {
  const auto oldScreen = ScreenPixels();
  const LONG oldHeight = oldScreen ? oldScreen->height() : 0;
  FitScreenSurface();
  struct Entry {
    HWND window;
    bool position;
    bool size;
    LONG bottomMargin;  // what the window left free below itself (a menu bar, say)
  };
  std::vector<Entry> topLevel;
  {
    auto lock = TreeLock();
    for (HWND h : TopLevelLocked())
      if (Window* w = FindLocked(h); w && !w->destroying)
        topLevel.push_back({h, w->defaultPosition, w->defaultSize,
                            std::max<LONG>(0, oldHeight - ScreenRectLocked(*w).bottom)});
  }
  const RECT area = DefaultTopLevelRect();
  for (const Entry& e : topLevel) {
    if (!e.position && !e.size) continue;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!e.position) flags |= SWP_NOMOVE;
    if (!e.size) flags |= SWP_NOSIZE;
    const LONG bottom = std::max(area.top, area.bottom - e.bottomMargin);
    PlaceWindow(e.window, HWND_TOP, area.left, area.top, area.right - area.left,
                bottom - area.top, flags);
  }
  for (const Entry& e : topLevel) Notify(e.window, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
  // The new screen starts black: everything shown paints again.
  for (const Entry& e : topLevel) InvalidateTree(e.window);
}

SIZE RotateScreen() {
  display::ScreenMode screen = display::CurrentScreen();
  std::swap(screen.width, screen.height);
  // WM_SIZE and WM_SETTINGCHANGE go out on the UI thread, which the host's thread never waits for.
  auto change = [screen] {
    display::SetScreen(screen);
    ScreenChanged();
  };
  if (const DWORD ui = UiThread(); !ui || !CallOnThread(ui, change)) change();
  return SIZE{screen.width, screen.height};
}

}  // namespace pda::user

namespace pda::testing {

void ChangeScreen(int width, int height, int dpi) {
  display::SetScreen(display::ScreenMode{width, height, dpi});
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
