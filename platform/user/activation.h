// Focus and activation bookkeeping that window creation, destruction and hiding rely on.
#pragma once

#include <functional>

#include "pda/user.h"

namespace pda::user {

// The window (a top-level window of this process) becomes the foreground window: WM_ACTIVATE to
// the old and the new, raised to the top, the activation hook told, focus moved into it.
void Activate(HWND topLevel);
// The window is going away or being hidden: the focus leaves it (and its descendants) for
// `successor` (may be null), and if it was the foreground window another shown top-level window
// is activated.
void Deactivate(HWND window, HWND successor);

// Called on the activating thread after a window of this process comes to the front, so that
// a screen back end can raise its own window. An empty function removes the hook.
void SetActivationHook(std::function<void(HWND)> hook);

}  // namespace pda::user
