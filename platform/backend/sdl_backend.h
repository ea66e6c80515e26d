// The SDL back end: a desktop window (X11, Wayland, KMSDRM) of the device's size times the zoom,
// showing the screen surface; mouse and touch as the stylus; the keyboard; the desktop's
// clipboard; the screen saver held off while SystemIdleTimerReset keeps coming; F9 rotates.
//
// One thread of its own owns every SDL call and blocks in SDL_WaitEvent. Other threads reach it
// only by pushing SDL user events (thread-safe) and, for the clipboard, waiting for the answer;
// it never waits for them, so it cannot deadlock with a UI thread.
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
