// The platform's messages, listed once with their numbers. The list yields both the constants
// (pda/user.h and pda/controls.h expand it into `constexpr UINT NAME = number;`) and the names
// that diagnostics print (a failing test says "WM_LBUTTONUP", not "514").
//
// To add a message, add one row here, in number order: its constant and its name follow.
#pragma once

// ---- window messages (pda/user.h) ----------------------------------------------------------
#define PDA_WINDOW_MESSAGES(X) \
  X(WM_NULL, 0x0000)           \
  X(WM_CREATE, 0x0001)         \
  X(WM_DESTROY, 0x0002)        \
  X(WM_MOVE, 0x0003)           \
  X(WM_SIZE, 0x0005)           \
  X(WM_ACTIVATE, 0x0006)       \
  X(WM_SETFOCUS, 0x0007)       \
  X(WM_KILLFOCUS, 0x0008)      \
  X(WM_ENABLE, 0x000A)         \
  X(WM_SETTEXT, 0x000C)        \
  X(WM_GETTEXT, 0x000D)        \
  X(WM_GETTEXTLENGTH, 0x000E)  \
  X(WM_PAINT, 0x000F)          \
  X(WM_CLOSE, 0x0010)          \
  X(WM_QUIT, 0x0012)           \
  X(WM_ERASEBKGND, 0x0014)     \
  X(WM_SHOWWINDOW, 0x0018)     \
  X(WM_SETTINGCHANGE, 0x001A)  \
  X(WM_CANCELMODE, 0x001F)     \
  X(WM_DRAWITEM, 0x002B)       \
  X(WM_SETFONT, 0x0030)        \
  X(WM_GETFONT, 0x0031)        \
  X(WM_NOTIFY, 0x004E)         \
  X(WM_CONTEXTMENU, 0x007B)    \
  X(WM_GETDLGCODE, 0x0087)     \
  X(WM_NCLBUTTONDOWN, 0x00A1)  \
  X(WM_KEYDOWN, 0x0100)        \
  X(WM_KEYUP, 0x0101)          \
  X(WM_CHAR, 0x0102)           \
  X(WM_SYSKEYDOWN, 0x0104)     \
  X(WM_SYSKEYUP, 0x0105)       \
  X(WM_INITDIALOG, 0x0110)     \
  X(WM_COMMAND, 0x0111)        \
  X(WM_TIMER, 0x0113)          \
  X(WM_HSCROLL, 0x0114)        \
  X(WM_VSCROLL, 0x0115)        \
  X(WM_INITMENUPOPUP, 0x0117)  \
  X(WM_CTLCOLORSTATIC, 0x0138) \
  X(WM_MOUSEMOVE, 0x0200)      \
  X(WM_LBUTTONDOWN, 0x0201)    \
  X(WM_LBUTTONUP, 0x0202)      \
  X(WM_LBUTTONDBLCLK, 0x0203)  \
  X(WM_CAPTURECHANGED, 0x0215) \
  X(WM_CUT, 0x0300)            \
  X(WM_COPY, 0x0301)           \
  X(WM_PASTE, 0x0302)          \
  X(WM_CLEAR, 0x0303)

// ---- EDIT control messages (pda/controls.h) -----------------------------------------------
#define PDA_EDIT_MESSAGES(X)        \
  X(EM_GETSEL, 0x00B0)              \
  X(EM_SETSEL, 0x00B1)              \
  X(EM_SCROLL, 0x00B5)              \
  X(EM_LINESCROLL, 0x00B6)          \
  X(EM_SCROLLCARET, 0x00B7)         \
  X(EM_GETMODIFY, 0x00B8)           \
  X(EM_SETMODIFY, 0x00B9)           \
  X(EM_GETLINECOUNT, 0x00BA)        \
  X(EM_LINEINDEX, 0x00BB)           \
  X(EM_LINELENGTH, 0x00C1)          \
  X(EM_REPLACESEL, 0x00C2)          \
  X(EM_LIMITTEXT, 0x00C5)           \
  X(EM_CANUNDO, 0x00C6)             \
  X(EM_LINEFROMCHAR, 0x00C9)        \
  X(EM_GETFIRSTVISIBLELINE, 0x00CE) \
  X(EM_SETREADONLY, 0x00CF)         \
  X(EM_GETLIMITTEXT, 0x00D5)

// ---- LISTBOX control messages (pda/controls.h) --------------------------------------------
#define PDA_LISTBOX_MESSAGES(X)     \
  X(LB_ADDSTRING, 0x0180)           \
  X(LB_INSERTSTRING, 0x0181)        \
  X(LB_DELETESTRING, 0x0182)        \
  X(LB_RESETCONTENT, 0x0184)        \
  X(LB_SETCURSEL, 0x0186)           \
  X(LB_GETCURSEL, 0x0188)           \
  X(LB_GETTEXT, 0x0189)             \
  X(LB_GETTEXTLEN, 0x018A)          \
  X(LB_GETCOUNT, 0x018B)            \
  X(LB_SELECTSTRING, 0x018C)        \
  X(LB_GETTOPINDEX, 0x018E)         \
  X(LB_FINDSTRING, 0x018F)          \
  X(LB_SETTOPINDEX, 0x0197)         \
  X(LB_GETITEMHEIGHT, 0x01A1)       \
  X(LB_FINDSTRINGEXACT, 0x01A2)

// ---- rich-ink note editor messages (pda/controls.h) ---------------------------------------
// The editor also answers the EDIT messages above.
#define PDA_RICHINK_MESSAGES(X)     \
  X(EM_CANPASTE, 0x0432)            \
  X(EM_STREAMIN, 0x0449)            \
  X(EM_STREAMOUT, 0x044A)           \
  X(EM_CANREDO, 0x04F6)             \
  X(EM_SETVIEW, 0x051C)             \
  X(EM_SETPAGESTYLE, 0x051F)        \
  X(EM_SETZOOMPERCENT, 0x0522)      \
  X(EM_SETWRAPMODE, 0x053F)         \
  X(EM_SETPENMODE, 0x0549)

// Expands one row into its constant.
#define PDA_MESSAGE_CONSTANT(name, number) constexpr UINT name = number;
