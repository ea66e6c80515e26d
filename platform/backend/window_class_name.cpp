// The desktop's name for the program's window (see window_class_name.h).
#include "backend/window_class_name.h"

#include <cstdlib>

namespace pda::backend {

ScopedWindowClassName::ScopedWindowClassName(std::string_view applicationId) {
  if (applicationId.empty()) return;
  const std::string id(applicationId);
  for (const char* name : {"SDL_VIDEO_X11_WMCLASS", "SDL_VIDEO_WAYLAND_WMCLASS"}) {
    if (std::getenv(name)) continue;
    if (::setenv(name, id.c_str(), 0) == 0) set_.emplace_back(name);
  }
}

ScopedWindowClassName::~ScopedWindowClassName() {
  for (const std::string& name : set_) ::unsetenv(name.c_str());
}

}  // namespace pda::backend
