// The platform's built-in controls: class names, styles, messages and notifications.
// STATIC: text, left or centred, wrapping at words.
// BUTTON: push buttons drawn by the platform, and owner-drawn buttons (WM_DRAWITEM).
// EDIT: single-line (text limit, digits only, horizontal scrolling) and multi-line (word wrap,
// vertical scrolling with a scroll bar, read-only).
// LISTBOX: one column of text rows, sorted or not, with a scroll bar when the rows overflow.
#pragma once

#include "pda/user.h"

// ---- STATIC --------------------------------------------------------------------------------
inline constexpr char16_t WC_STATICW[] = u"STATIC";

constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_TYPEMASK = 0x001F;

// ---- BUTTON --------------------------------------------------------------------------------
inline constexpr char16_t WC_BUTTONW[] = u"BUTTON";

constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_OWNERDRAW = 0xB;
constexpr DWORD BS_TYPEMASK = 0xF;

// Notification in WM_COMMAND to the parent: MAKEWPARAM(control id, code), lParam the control.
constexpr WORD BN_CLICKED = 0;

// Owner draw: WM_DRAWITEM to the parent, wParam the control's id, lParam this record.
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODA_DRAWENTIRE = 0x1;
constexpr UINT ODA_SELECT = 0x2;
constexpr UINT ODA_FOCUS = 0x4;
constexpr UINT ODS_SELECTED = 0x1;
constexpr UINT ODS_GRAYED = 0x2;
constexpr UINT ODS_DISABLED = 0x4;
constexpr UINT ODS_CHECKED = 0x8;
constexpr UINT ODS_FOCUS = 0x10;

struct DRAWITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
  HDC hDC;
  RECT rcItem;  // the control's client rectangle
  ULONG_PTR itemData;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

// ---- LISTBOX -------------------------------------------------------------------------------
inline constexpr char16_t WC_LISTBOXW[] = u"LISTBOX";

constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;

// The LISTBOX messages and their names come from one list (pda/message_list.h).
PDA_LISTBOX_MESSAGES(PDA_MESSAGE_CONSTANT)

constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;
constexpr LRESULT LB_ERRSPACE = -2;

// Notifications in WM_COMMAND to the parent (LBS_NOTIFY): MAKEWPARAM(control id, code).
constexpr WORD LBN_ERRSPACE = static_cast<WORD>(-2);
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD LBN_SELCANCEL = 3;
constexpr WORD LBN_SETFOCUS = 4;
constexpr WORD LBN_KILLFOCUS = 5;

// ---- EDIT ----------------------------------------------------------------------------------
inline constexpr char16_t WC_EDITW[] = u"EDIT";

constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_NUMBER = 0x2000;

// The EDIT messages and their names come from one list (pda/message_list.h).
PDA_EDIT_MESSAGES(PDA_MESSAGE_CONSTANT)
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;  // one message, two names

// Notifications in WM_COMMAND to the parent: MAKEWPARAM(control id, code), lParam the control.
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_MAXTEXT = 0x0501;

// ---- RichInk: the note editor ----------------------------------------------------------------
// A multi-line editor that word-wraps to its width, with a vertical scroll bar (WS_VSCROLL),
// caret, selection (stylus drag, Shift+arrows), typing, copy and paste. It answers the EDIT
// messages above and these. Whatever its style, it is multi-line, wraps, keeps the caret in view
// and takes Enter as a line break (CR LF). The set-up messages (EM_SETPENMODE, EM_SETVIEW,
// EM_SETWRAPMODE, EM_SETPAGESTYLE, EM_SETZOOMPERCENT) are remembered and answer TRUE, or FALSE
// for a value the editor does not know; EM_SETZOOMPERCENT takes the percent in lParam, clamped to
// 75..300, and draws the text in the system face at that share of the system font's height;
// PS_RULEDLINES draws a faint rule under each row. EM_CANPASTE is TRUE while the clipboard holds
// text; EM_CANUNDO and EM_CANREDO are FALSE (the editor keeps no history).
inline constexpr char16_t WC_RICHINKW[] = u"RichInk";

PDA_RICHINK_MESSAGES(PDA_MESSAGE_CONSTANT)

// EM_SETPENMODE: only the select mode (typing, no ink) is drawn by this editor.
constexpr WPARAM MODE_PEN = 0, MODE_SELECT = 1, MODE_SPACE = 2;
// EM_SETVIEW.
constexpr WPARAM VT_TYPINGVIEW = 0, VT_WRITINGVIEW = 2, VT_DRAWINGVIEW = 3;
// EM_SETPAGESTYLE.
constexpr WPARAM PS_LEFTMARGIN = 0x0, PS_TOPMARGIN = 0x1, PS_RULEDLINES = 0x2,
                 PS_GRIDLINES = 0x4, PS_TOPLEFTMARGIN = 0x8, PS_NONE = 0x10,
                 PS_DOTTEDLINES = 0x20, PS_YELLOWBACKGROUND = 0x40;
// EM_SETWRAPMODE.
constexpr WPARAM RI_WRAPTOPAGE = 0, RI_WRAPTOWINDOW = 1;

// Stream formats of EM_STREAMOUT / EM_STREAMIN (wParam, by value). The editor's document form
// (SF_PWI) is its text as UTF-8 with CR LF line ends; SF_TEXT is the same text.
constexpr WPARAM SF_TEXT = 0x0001, SF_RTF = 0x0002, SF_UNICODE = 0x0010, SF_UTEXT = 0x0011,
                 SFF_PWI = 0x0800, SF_PWI = 0x10802;

// EM_STREAMOUT calls the callback with chunks of the document (4 KiB at most) until it is all
// out or the callback returns non-zero (kept in dwError, which ends the stream). *written reports
// the bytes the callback took (the next chunk starts after them; taking none ends the stream).
// Returns the bytes taken; an unknown format streams nothing, returns 0 and leaves the record.
// EM_STREAMIN replaces the whole text with the document the callback gives, chunk by chunk, until
// it gives no bytes; a callback that fails (dwError) leaves the text as it was. Returns the
// characters read.
using EDITSTREAMCALLBACK = DWORD (*)(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written);
struct EDITSTREAM {
  DWORD_PTR dwCookie;
  DWORD dwError;
  EDITSTREAMCALLBACK pfnCallback;
};
