// Message boxes and the warning beep: the modal notices the platform draws itself.
#pragma once

#include "pda/user.h"

// MessageBoxW type: buttons (low four bits), icon, default button, and flags.
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFMASK = 0xF00;
constexpr UINT MB_APPLMODAL = 0x0000;
constexpr UINT MB_SETFOREGROUND = 0x10000;
constexpr UINT MB_TOPMOST = 0x40000;

// Results of MessageBoxW (and dialog command ids).
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a centred panel over the screen (caption, wrapped text, icon, buttons) and runs its own
// message loop until a button is chosen; the owner's top-level window is disabled meanwhile.
// Enter chooses the default button; Escape chooses Cancel (OK for an OK box, No for Yes/No);
// closing the box (WM_CLOSE) answers IDCANCEL, or IDOK for an OK box. Returns 0 on failure.
// A WM_QUIT met in the loop ends the box as if closed and is posted again.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// The device has no speaker worth using: the beep is counted (for tests) and otherwise silent.
BOOL MessageBeep(UINT type);

// ---- dialogs from in-code templates --------------------------------------------------------
// A dialog is laid out in dialog units of its font: horizontally a quarter of the font's average
// character width, vertically an eighth of its character height. The templates are the
// platform's own records, filled by the application as constexpr tables.

// A dialog procedure answers TRUE for a message it handled (the window's result is then its
// DWL_MSGRESULT slot) and FALSE for one the dialog's default handling should take. WM_INITDIALOG
// gets the control to focus (wParam) and the creation parameter (lParam); TRUE there asks for
// that focus.
using DLGPROC = INT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// One control of a template: rectangle in dialog units of the dialog's client area.
struct DLGITEMTEMPLATEW {
  LPCWSTR className;  // "STATIC", "EDIT", "LISTBOX", "BUTTON" or any registered class
  LPCWSTR text;       // may be null
  WORD id;
  DWORD style;  // WS_CHILD is implied
  short x;
  short y;
  short cx;
  short cy;
};

// The dialog: rectangle in dialog units of the parent's client area, its font, its controls in
// creation (and tab) order.
struct DLGTEMPLATEW {
  DWORD style;
  short x;
  short y;
  short cx;
  short cy;
  LPCWSTR faceName;  // e.g. "Tahoma", matched by fontconfig
  WORD pointSize;    // at the screen's LOGPIXELSY
  const DLGITEMTEMPLATEW* items;
  WORD cdit;  // number of items
};
using LPCDLGTEMPLATEW = const DLGTEMPLATEW*;

// Dialog styles (the template's style). A DS_CONTROL dialog (a page inside another) is made with
// WS_EX_CONTROLPARENT: its controls join the outer dialog's tab order.
constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD DS_CONTROL = 0x400;
// Centred in the parent's client area (a popup: in the screen below the navigation bar).
constexpr DWORD DS_CENTER = 0x800;

// The dialog's window extra bytes: the result slot (DWL_MSGRESULT, pda/user.h), the dialog
// procedure and a slot free for the dialog's own use.
constexpr int DWLP_DLGPROC = 8;
constexpr int DWLP_USER = 16;
constexpr int DWL_DLGPROC = DWLP_DLGPROC;
constexpr int DWL_USER = DWLP_USER;

// The class of dialogs.
inline constexpr char16_t WC_DIALOGW[] = u"#32770";

// Creates a modeless dialog (a child of `parent` when the template has WS_CHILD): the window,
// then its controls in template order with the dialog's font (WM_SETFONT), then WM_INITDIALOG
// with `parameter`; shown afterwards when the template has WS_VISIBLE. Null when the window or
// any control could not be made.
HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                DLGPROC dialogProc, LPARAM parameter);
// Runs a dialog modally: made as a popup owned by the owner's top-level window (which is disabled
// meanwhile) and shown, then the thread's messages are dispatched until the dialog procedure
// calls EndDialog. Returns EndDialog's result, 0 when the dialog went away without it, -1 when it
// could not be made. A WM_QUIT met on the way ends the dialog (result 0) and is posted again.
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC dialogProc, LPARAM parameter);
// Ends a modal dialog with `result` once the current message is handled; the dialog is hidden.
BOOL EndDialog(HWND dialog, INT_PTR result);

// The dialog class's window procedure: asks the dialog procedure first, then handles the rest
// (painting the background, WM_GETFONT, Tab and Shift+Tab, focus to the first tab stop).
LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Dialog units of the dialog's font to pixels, all four edges.
BOOL MapDialogRect(HWND dialog, LPRECT rect);

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);

// The next (or previous) visible, enabled WS_TABSTOP control after `control` among the dialog's
// children (and inside its WS_EX_CONTROLPARENT children, in place), wrapping around; the first
// one when `control` is none of them; `control` itself when there is none.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// A message loop's dialog keys: Tab and Shift+Tab for a window inside `dialog` move the focus
// among its tab stops. TRUE when the message was taken.
BOOL IsDialogMessageW(HWND dialog, LPMSG message);
