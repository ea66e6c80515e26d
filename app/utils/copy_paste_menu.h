// The Copy/Paste popup menu that a tap-and-hold opens in a text field or the note editor.
#pragma once

#include <pda.h>

constexpr UINT IDM_EDIT_COPY = 100;
constexpr UINT IDM_EDIT_PASTE = 200;
constexpr UINT COPY_PASTE_MENU_FLAGS = TPM_RETURNCMD | TPM_VCENTERALIGN;  // 0x110

// What a field's subclass procedure does before passing the message on: leaving the field lowers
// the input panel; a stylus press that the shell recognises as tap-and-hold gives the field the
// focus and opens the menu at the stylus, and the choice is sent to the field as WM_COPY or
// WM_PASTE.
void HandleCopyPasteInput(HWND hwnd, UINT message, LPARAM lParam);
