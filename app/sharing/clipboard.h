// The clipboard copy: the Coordinate text of the current position, as Unicode text.
#pragma once

#include <pda.h>

void CopyLocationToClipboard(HWND owner);
// 1 when the text is on the clipboard, 0 when not.
int PutClipboardText(HWND owner, LPCWSTR text);
