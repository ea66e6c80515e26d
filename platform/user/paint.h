// Painting: device contexts on the screen surface for windows (BeginPaint/EndPaint, GetDC/
// ReleaseDC), and DefWindowProc's share of WM_PAINT and WM_ERASEBKGND.
//
// A window's context draws at its client origin, clipped to its visible region (every window
// clips its children and the siblings above it); BeginPaint narrows that to the update region.
// Ending the paint or releasing the context reports the context's clip as screen damage.
#pragma once

#include "pda/gdi.h"
#include "pda/user.h"

namespace pda::user {

// DefWindowProc: WM_PAINT paints nothing but validates through BeginPaint/EndPaint.
void DefaultPaint(HWND window);
// DefWindowProc: WM_ERASEBKGND fills the client area with the class background brush; returns
// nonzero when it erased (a class without a brush leaves the background to WM_PAINT).
LRESULT EraseWithClassBrush(HWND window, HDC dc);

}  // namespace pda::user
