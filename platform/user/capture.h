// What the rest of the window manager needs of the stylus capture (capture.cpp).
#pragma once

#include "pda/user.h"

namespace pda::user {

// The window holding the capture, or null; expects the tree lock held.
HWND CaptureLocked();
// The window (or one inside it) is being destroyed or hidden: a capture held there ends, and its
// holder gets WM_CAPTURECHANGED with no successor. Call without the tree lock.
void EndCaptureWithin(HWND window);

}  // namespace pda::user
