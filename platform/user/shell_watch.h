// What the handheld shell watches in the window manager: the navigation bar shows the foreground
// window's title, so it is told when the foreground window changes or a window's title does.
#pragma once

#include <functional>

namespace pda::user {

// Called without any window-manager lock held, on the thread that made the change. An empty
// function removes the watch.
void SetShellWatch(std::function<void()> changed);
void TellShellWatch();

}  // namespace pda::user
