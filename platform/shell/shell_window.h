// The shell's own top-level windows (their classes are shaped windows, user/window_shape.h):
// their creation (never activated, so the application keeps the foreground) and their notices.
#pragma once

#include "pda/gdi.h"
#include "pda/user.h"

namespace pda::shell {

HINSTANCE ShellInstance();
// A top-level window at rect (screen coordinates), owned by owner (may be null), shown without
// being activated when visible.
HWND CreateShellWindow(LPCWSTR className, const RECT& rect, HWND owner, bool visible,
                       LPVOID parameter);
// Sends the message to the top-level windows of this thread and posts it to the others', so that a
// busy thread cannot stall the shell.
void TellTopLevelWindows(HWND anyTopLevel, UINT message, WPARAM wParam, LPARAM lParam);
// A turned screen (WM_SETTINGCHANGE with SETTINGCHANGE_RESET): the window takes its place on the
// new screen. True when the message was that notice.
bool FollowScreen(HWND window, WPARAM wParam, const RECT& rect);

}  // namespace pda::shell
