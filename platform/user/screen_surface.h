// The screen surface: the one pixel surface of the device's screen that every window draws into,
// and the damage (what was drawn since the screen back end last presented).
//
// Painting threads draw straight into the surface and report what they drew. A back end that
// presents (SDL) joins as the presenter: from then on every report also copies the drawn area,
// under the surface lock, into a presentation copy that only the presenter reads, so the back
// end's thread never reads pixels that a painting thread is writing.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "gdi/pixels.h"
#include "user/region.h"

namespace pda::user {

// The current surface, made on first use at the display's size (black).
std::shared_ptr<gdi::Pixels> ScreenPixels();
// After display::SetScreen (ScreenChanged calls it): when the display's size differs from the
// surface's, a new black surface of the new size, all of it damaged. Contexts made earlier keep
// drawing into the old surface, which nobody shows any more.
void FitScreenSurface();

// A painting thread drew this area (screen coordinates).
void AddScreenDamage(const Region& area);

// `damaged` is called (on the painting thread, without the lock) each time damage appears
// where there was none. An empty function leaves: damage is then only counted, not copied.
void SetScreenPresenter(std::function<void()> damaged);

// The presenter's side: under the lock, hands the presentation copy and the damaged rectangles
// (clipped to the copy; with `everything`, the whole copy, as when the window was uncovered) to
// `copy`, then forgets the damage. False when nothing was handed over.
using DamageCopy = std::function<void(const gdi::Pixels& pixels, const std::vector<RECT>& rects)>;
bool TakeScreenDamage(const DamageCopy& copy, bool everything = false);

}  // namespace pda::user
