// Update regions and visible regions: what the window manager's other parts ask of them, and the
// seam for painting (BeginPaint takes the update region through TakeUpdateRegion).
#pragma once

#include <optional>

#include "gdi/region.h"
#include "user/window.h"

namespace pda::user {

// Screen coordinates: the window minus its visible children and the visible siblings above it
// and above each of its ancestors, within every ancestor. Empty for a hidden window.
Region VisibleRegionLocked(const Window& window);
// The same with the window's own children counted in.
Region UncoveredRegionLocked(const Window& window);
Region VisibleRegion(HWND window);

// Every shown window gets the part of the screen area that it shows added to its update region
// (an area uncovered by a window that moved, was hidden or destroyed).
void InvalidateScreenArea(const RECT& screenArea);
// The window and everything inside it need painting (it was shown or resized).
void InvalidateTree(HWND window);

struct PaintArea {
  POINT origin;  // the client origin on the screen
  Region clip;   // screen coordinates: the update region within the visible region
  RECT bounds;   // client coordinates: the bounds of the update region
  bool erase;
};
// Empties the window's update region and returns where painting must reach.
std::optional<PaintArea> TakeUpdateRegion(HWND window);

}  // namespace pda::user
