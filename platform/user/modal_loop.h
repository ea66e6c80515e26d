// The loop a modal window (the message box, a popup menu) runs while it waits for its answer:
// the thread's messages are dispatched as the application's own loop would, until the answer is
// there or the window is gone. A WM_QUIT met on the way ends the wait and is posted again, so
// that the loop outside sees it too.
#pragma once

#include <functional>

#include "pda/user.h"

namespace pda::user {

// Runs until done() is true or `window` is no longer a window. False when WM_QUIT ended it.
bool RunModalLoop(HWND window, const std::function<bool()>& done);

}  // namespace pda::user
