// The vertical scroll bar beside a WS_VSCROLL window's client area: its parts, its drawing, and
// following the stylus on it. SetScrollInfo and GetScrollInfo keep its values in the window
// record (window.h, ScrollRange).
#pragma once

#include "pda/user.h"

namespace pda::user {

// Draws the window's bar now (nothing for a window without one).
void PaintVerticalBar(HWND window);

// DefWindowProc's WM_NCLBUTTONDOWN on HTVSCROLL: the stylus went down on the bar at `screen`.
// Sends the window its WM_VSCROLL requests and follows the stylus (holding the capture) until
// it is lifted; returns then.
void TrackVerticalBar(HWND window, POINT screen);

// The stylus router's question: is this screen point on a window's bar (and which)? Null when
// not.
HWND VerticalBarAt(POINT screen);

}  // namespace pda::user
