// The platform's built-in controls: class names, styles, messages and notifications.
// EDIT: single-line (text limit, digits only, horizontal scrolling) and multi-line (word wrap,
// vertical scrolling with a scroll bar, read-only).
#pragma once

#include "pda/user.h"

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
