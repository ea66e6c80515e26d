// The shell's own top-level windows: their classes (registered once per process), their
// creation (never activated, so the application keeps the foreground), and their painting.
#pragma once

#include <functional>

#include "pda/gdi.h"
#include "pda/user.h"

namespace pda::shell {

HINSTANCE ShellInstance();
// Registers the class unless it is already registered; false when the platform refuses it.
bool EnsureShellClass(LPCWSTR className, WNDPROC procedure);
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
// Answers WM_PAINT: draws the window's content with paint(dc, client rectangle).
void PaintShellWindow(HWND window, const std::function<void(HDC, const RECT&)>& paint);

}  // namespace pda::shell
