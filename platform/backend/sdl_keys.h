// SDL key symbols to the platform's virtual keys.
#pragma once

#include <SDL_keycode.h>

namespace pda::backend::sdl {

// 0 for a key the platform has no virtual key for.
int VirtualKeyOf(SDL_Keycode key);

}  // namespace pda::backend::sdl
