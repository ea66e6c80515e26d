// A close request from outside the program (an ending signal, a lost display): the application's
// top-level windows are asked to close as if the user had closed them, so that shutdown runs as
// the application has it (the settings are saved).
#pragma once

#include <cstddef>

namespace pda::user {

// Posts WM_CLOSE to every top-level window of the application: not the shell's own windows (they
// never take activation) and not owned windows (their owner answers for them). Any thread.
// Returns how many windows were asked.
std::size_t RequestApplicationClose();

}  // namespace pda::user
