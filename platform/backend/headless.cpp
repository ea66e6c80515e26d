// The headless back end: no presenter joins the screen surface, so damage is only counted; the
// clipboard stays the window manager's in-memory stand-in for the desktop's.
#include "backend/headless.h"

#include "user/screen_surface.h"

namespace pda::backend::headless {

bool Init(const Options&, std::string*) {
  pda::user::ScreenPixels();  // made now, at the configured size
  return true;
}

void Term() {}

}  // namespace pda::backend::headless
