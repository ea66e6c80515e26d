// The Text pane: a hidden, read-only multi-line text view over the whole Main window, shown and
// hidden with Ctrl+D and cleared with Ctrl+N.
#pragma once

#include <pda.h>

struct TextPane {
  HFONT font;
  CRITICAL_SECTION guard;  // held by Resize, IsShown, Toggle and Clear while they touch the control
  HWND control;
};

extern TextPane g_TextPane;

void TextPaneCreate(TextPane* pane, HWND main, HINSTANCE hinst, const CREATESTRUCTW* create);
void TextPaneResize(TextPane* pane, HWND main);
bool TextPaneIsShown(TextPane* pane);
void TextPaneToggle(TextPane* pane);
void TextPaneClear(TextPane* pane);
// Deletes the font and destroys the control; the guard stays until the process ends.
void TextPaneDestroy(TextPane* pane);
