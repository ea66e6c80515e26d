// The screen as the window manager sees it: a new size (rotation) re-places the windows that
// follow the default placement and tells every top-level window.
#pragma once

namespace pda::user {

// Call after display::SetScreen: the screen surface takes the new size, WM_SIZE goes to the
// windows whose default size changed, then WM_SETTINGCHANGE (SETTINGCHANGE_RESET) to every
// top-level window.
void ScreenChanged();

}  // namespace pda::user
