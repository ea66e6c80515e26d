// The main screen: the Surfaces of one layout, built on every size or setting change, and the
// paint that composes them with the position of the Main window's copy.
#pragma once

#include <pda.h>

#include "screen/surface.h"

constexpr int kButtonCount = 4;

extern Surface g_ScreenSurface;
extern Surface g_BackgroundSurface;
extern Surface g_DimmingSurface;
extern Surface g_LatitudeIcon;
extern Surface g_LongitudeIcon;
extern Surface g_ButtonStrip;
extern Surface g_ButtonImage[kButtonCount];

extern LONG g_ValueFontHeight;            // 20, or 40 on a high-resolution screen
extern BYTE g_ButtonsEnabled;             // written by every paint
extern BYTE g_Pressed[kButtonCount];      // written by the touch buttons

void BuildLayout(HWND hwnd, bool highRes);
LRESULT PaintMainScreen(HWND hwnd);
// Composes the screen on the Screen surface without touching the window.
void ComposeMainScreen();
void ReleaseLayout();
