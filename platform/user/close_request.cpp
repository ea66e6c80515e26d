// RequestApplicationClose (see close_request.h).
#include "user/close_request.h"

#include <vector>

#include "user/window.h"

namespace pda::user {

std::size_t RequestApplicationClose() {
  std::vector<HWND> windows;
  {
    auto lock = TreeLock();
    for (HWND h : TopLevelLocked())
      if (const Window* w = FindLocked(h);
          w && !w->destroying && !w->owner && !(w->exStyle & WS_EX_NOACTIVATE))
        windows.push_back(h);
  }
  for (HWND h : windows) PostMessageW(h, WM_CLOSE, 0, 0);
  return windows.size();
}

}  // namespace pda::user
