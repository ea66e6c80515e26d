// The clipboard: one process-wide store of data blocks by format, opened by one window (thread)
// at a time. Only CF_UNICODETEXT travels to and from the desktop's own clipboard.
#pragma once

#include "pda/user.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_UNICODETEXT = 13;

constexpr DWORD ERROR_CLIPBOARD_NOT_OPEN = 1418;

// Fails (ERROR_ACCESS_DENIED) while another thread holds the clipboard open; the thread that has
// it open may open it again (the window named last becomes the opener).
BOOL OpenClipboard(HWND owner);
// Fails (ERROR_CLIPBOARD_NOT_OPEN) unless the calling thread has the clipboard open. A change made
// while open reaches the desktop's clipboard here.
BOOL CloseClipboard();
// Frees every block on the clipboard and makes the opener the clipboard's owner.
BOOL EmptyClipboard();
// The block must come from GlobalAlloc/LocalAlloc; on success it belongs to the clipboard and
// the caller must not free it. A null block (delayed rendering) is refused. Returns the block.
// Blocks are moveable-memory handles (HGLOBAL), since handles are typed on this platform.
HGLOBAL SetClipboardData(UINT format, HGLOBAL memory);
// The block stays the clipboard's: lock it to read, never free it.
HGLOBAL GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();
HWND GetClipboardOwner();
