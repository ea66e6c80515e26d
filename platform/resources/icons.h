// Icons inside the platform: the table behind HICON, and what the shell needs to draw one.
#pragma once

#include <memory>

#include "gdi/pixels.h"
#include "pda/resources.h"

namespace pda::resources {

// 32 pixels at 96 DPI, scaled with the screen's DPI.
int SystemIconSize();
// The group's image of cx by cy, or the nearest one scaled; 0 x 0 takes the first image.
HICON LoadIconOfSize(HINSTANCE instance, LPCWSTR name, int cx, int cy);
// The program's own icon, as the device's shell shows a program: the largest image of the
// instance's lowest-numbered icon group; null when the instance has no icons.
std::shared_ptr<const gdi::Pixels> ProgramIconPixels(HINSTANCE instance);
// The icon's premultiplied pixels (kept alive by the pointer); null for a stale handle.
std::shared_ptr<const gdi::Pixels> IconPixels(HICON icon);
// Alpha-blends premultiplied pixels onto the context at (x, y), scaled to width x height.
bool DrawPremultiplied(HDC dc, int x, int y, int width, int height, const gdi::Pixels& pixels);

}  // namespace pda::resources
