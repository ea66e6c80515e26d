// The navigation bar: a window across the top of the screen with the foreground window's title,
// the notification icons and a clock that turns over on the minute.
#pragma once

#include <string>

#include "pda/user.h"

namespace pda::shell {

// Makes the bar on the calling thread if there is none; returns it.
HWND EnsureNavigationBar();
HWND NavigationBar();
// Asks the bar to repaint (the title, the icons or the clock changed). Any thread.
void RefreshNavigationBar();
// "HH:MM" as the clock shows it.
std::u16string ClockText(const SYSTEMTIME& time);
// What the clock shows now (asked on the bar's thread).
std::u16string NavigationBarClock();
void DestroyNavigationBar();

}  // namespace pda::shell
