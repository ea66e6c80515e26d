// The one list of window messages with names, for diagnostics: a failing test prints
// "WM_LBUTTONUP", not "514". Each entry names a constant of pda/user.h (or of this component).
#pragma once

#include <string>

#include "pda/user.h"

#define PDA_USER_MESSAGES(X)                                                                   \
  X(WM_NULL) X(WM_CREATE) X(WM_DESTROY) X(WM_MOVE) X(WM_SIZE) X(WM_ACTIVATE) X(WM_SETFOCUS)   \
  X(WM_KILLFOCUS) X(WM_ENABLE) X(WM_SETTEXT) X(WM_GETTEXT) X(WM_GETTEXTLENGTH) X(WM_PAINT)    \
  X(WM_CLOSE) X(WM_QUIT) X(WM_ERASEBKGND) X(WM_SHOWWINDOW) X(WM_SETTINGCHANGE)                \
  X(WM_CANCELMODE) X(WM_DRAWITEM) X(WM_SETFONT) X(WM_GETFONT) X(WM_NOTIFY) X(WM_CONTEXTMENU)  \
  X(WM_GETDLGCODE) X(WM_KEYDOWN) X(WM_KEYUP) X(WM_CHAR) X(WM_SYSKEYDOWN) X(WM_SYSKEYUP)       \
  X(WM_INITDIALOG) X(WM_COMMAND) X(WM_TIMER) X(WM_HSCROLL) X(WM_VSCROLL) X(WM_INITMENUPOPUP)  \
  X(WM_CTLCOLORSTATIC) X(WM_MOUSEMOVE) X(WM_LBUTTONDOWN) X(WM_LBUTTONUP) X(WM_LBUTTONDBLCLK)  \
  X(WM_CUT) X(WM_COPY) X(WM_PASTE) X(WM_CLEAR) X(WM_PDA_ACTIVATE)

namespace pda::user {

// "WM_CREATE"; "WM_USER+5" and "WM_APP+2" for private messages; otherwise "0x1234".
std::string MessageName(UINT message);

}  // namespace pda::user
