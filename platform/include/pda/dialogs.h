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
