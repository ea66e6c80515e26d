// The settings sheet's "<< Back" and "Next >>" buttons: an owner-drawn child button and three
// images rendered in advance (normal, pressed, disabled), so that a draw request is one block
// copy. The images follow the button's size and are rendered again whenever it is placed.
#pragma once

#include <pda.h>

constexpr int SHEET_CAPTION_CHARS = 32;
constexpr DWORD SHEET_BUTTON_STYLE = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;  // 0x5000000B

constexpr COLORREF SHEET_BUTTON_FILL = RGB(24, 34, 24);       // normal and disabled; dark end
constexpr COLORREF SHEET_BUTTON_LIGHT = RGB(156, 184, 234);   // light end of the pressed image
constexpr COLORREF SHEET_BUTTON_CAPTION = RGB(255, 255, 255);
constexpr COLORREF SHEET_BUTTON_GREY = RGB(130, 130, 130);    // caption of the disabled image
constexpr COLORREF SHEET_BUTTON_SHADOW = RGB(0, 0, 0);        // under the pressed caption

struct SheetButton {
  HWND hwndParent;
  HWND hwndButton;
  HINSTANCE hInstance;
  UINT id;
  LONG x;
  LONG y;
  LONG width;
  LONG height;
  LONG imageX;
  LONG imageY;
  LONG imageWidth;
  LONG imageHeight;
  WCHAR caption[SHEET_CAPTION_CHARS];
  HDC hdcNormal;
  HDC hdcPressed;
  HDC hdcDisabled;
  HBITMAP hbmNormal;
  HBITMAP hbmPressed;
  HBITMAP hbmDisabled;
};

// The two buttons, cleared at program start and released at its end; between sheets they keep
// their last images and a stale window.
extern SheetButton g_BackButton;
extern SheetButton g_NextButton;

void SheetButtonClear(SheetButton* b);
void SheetButtonBind(SheetButton* b, HWND parent, HINSTANCE hinst, UINT id);
// leftHand: the Back button (the pressed gradient runs light to dark, the caption is centred on
// its first six characters).
int SheetButtonCreate(SheetButton* b, LPCWSTR caption, int x, int y, int width, int height,
                      BOOL leftHand);
void SheetButtonMove(SheetButton* b, int x, int y, int width, int height, BOOL leftHand);
void SheetButtonDraw(const SheetButton* b, const DRAWITEMSTRUCT* dis);
void SheetButtonRelease(SheetButton* b);
