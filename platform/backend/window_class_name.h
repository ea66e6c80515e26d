// The desktop's name for the program's window: the X11 WM_CLASS and the Wayland app_id, which a
// desktop entry's StartupWMClass and file name match to give the window its entry's name and
// icon. SDL reads it from its environment (SDL_VIDEO_X11_WMCLASS, SDL_VIDEO_WAYLAND_WMCLASS) once,
// when its video starts; without them it takes the executable's name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pda::backend {

// While it lives, SDL's variables name the application id (each one the user set is left as it
// is); afterwards they are as before, so that the programs the platform starts later
// (xdg-email, xdg-open) do not inherit the name. Made and ended on the thread that starts SDL's
// video, around SDL_Init, before any other thread of the program reads the environment.
class ScopedWindowClassName {
 public:
  explicit ScopedWindowClassName(std::string_view applicationId);
  ~ScopedWindowClassName();
  ScopedWindowClassName(const ScopedWindowClassName&) = delete;
  ScopedWindowClassName& operator=(const ScopedWindowClassName&) = delete;

 private:
  std::vector<std::string> set_;  // the variables set here, to be removed again
};

}  // namespace pda::backend
