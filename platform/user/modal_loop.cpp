// RunModalLoop (see modal_loop.h).
#include "user/modal_loop.h"

namespace pda::user {

bool RunModalLoop(HWND window, const std::function<bool()>& done) {
  MSG msg;
  while (!done() && IsWindow(window)) {
    const BOOL got = GetMessageW(&msg, HWND{}, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside
      return false;
    }
    if (got < 0) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

}  // namespace pda::user
