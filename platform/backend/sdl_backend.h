// The SDL back end: a desktop window (X11, Wayland, KMSDRM) of the device's size times the zoom,
// showing the screen surface; mouse and touch as the stylus; the keyboard; the desktop's
// clipboard; the screen saver held off while SystemIdleTimerReset keeps coming; F9 rotates.
//
// One thread of its own owns every SDL call and blocks waiting for events. Other threads reach it
// only by asking and waking it (and, for the clipboard, waiting for the answer); it never waits
// for them, so it cannot deadlock with a UI thread. Under X11 they wake it by backend/wakeup.h,
// never through SDL, so that no thread but the back end's ever calls into Xlib; other drivers
// by SDL user events.
//
// The window is made when the first top-level window is shown, not at the start. When the X
// server goes away (backend/x11_connection.h) the application is asked to close, as its user
// would, and the program exits with kExitNoDisplay.
#pragma once

#include <string>

#include "backend/backend.h"

namespace pda::backend::sdl {

bool Init(const Options& options, std::string* error);
void Term();

}  // namespace pda::backend::sdl
