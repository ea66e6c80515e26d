// Menus of the window manager: menus and popup menus built item by item, the soft keys' source.
//
// Sections: handles | item flags | building | reading | state | popup menus
#pragma once

#include "pda/user.h"

// ---- handles -------------------------------------------------------------------------------
struct MenuHandleTag;
using HMENU = Handle<MenuHandleTag>;
static_assert(sizeof(HMENU) == 4);

// ---- item flags ----------------------------------------------------------------------------
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

constexpr DWORD ERROR_INVALID_MENU_HANDLE = 1401;

// ---- building ------------------------------------------------------------------------------
HMENU CreateMenu();
HMENU CreatePopupMenu();
// With MF_POPUP, item is the submenu's handle (its value); the submenu then belongs to this menu
// and is destroyed with it. A separator has no text and no command.
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text);
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// ---- reading -------------------------------------------------------------------------------
// -1 for a menu that does not exist.
int GetMenuItemCount(HMENU menu);
// The command of the item at the position; 0xFFFFFFFF for a popup item or a bad position.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
// The item's text (MF_BYPOSITION or MF_BYCOMMAND); returns characters copied, without the
// terminator. With a null buffer or a size of 0, returns the text's length.
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int size, UINT flags);

// ---- state ---------------------------------------------------------------------------------
// enable: MF_ENABLED, MF_GRAYED or MF_DISABLED, with MF_BYCOMMAND or MF_BYPOSITION. Returns the
// item's previous state (MF_GRAYED / MF_DISABLED bits), or 0xFFFFFFFF when there is no such item.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
// The item's flags (MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_POPUP, MF_SEPARATOR), or 0xFFFFFFFF.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);

// ---- popup menus ---------------------------------------------------------------------------
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

struct TPMPARAMS {
  UINT cbSize;
  RECT rcExclude;  // screen coordinates the menu should not cover
};
using LPTPMPARAMS = TPMPARAMS*;

// Shows the popup menu at the screen point (aligned by the flags, kept on the screen) and runs
// until an item is chosen or the menu is dismissed (a tap outside it, Escape). With
// TPM_RETURNCMD the chosen item's command is returned (0 for none) and nothing is sent;
// otherwise the owner gets WM_COMMAND with it and the result is TRUE when an item was chosen.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
