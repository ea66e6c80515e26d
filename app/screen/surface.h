// Off-screen drawing: the Surface (a memory drawing context with its bitmap, rectangle, current
// font and an optional hit region) and the Font object. The main screen is composed on Surfaces
// and copied to the window in one step, so it never flickers.
#pragma once

#include <pda.h>

struct Surface {
  HDC hdc;
  HBITMAP hbm;
  HRGN hrgn;  // hit region, set only on the button images
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
  LONG width;
  LONG height;
  LONG screenWidth;
  LONG screenHeight;
  HBRUSH hbr;  // set only during a fill
  HFONT hfont;
  LONG fontHeight;
};

struct FontObject {
  HFONT hfont;
  LONG height;
};

// True when the screen reports more than 96 logical pixels per inch horizontally.
bool IsHighResolution();

void SurfaceClear(Surface* s);
void SurfaceRelease(Surface* s);
void SurfaceBuildForWindow(Surface* s, HWND hwnd);
void SurfaceBuildForRect(Surface* s, HWND hwnd, const RECT* rc);
void SurfaceBuildFromBitmap(Surface* s, HINSTANCE hinst, HWND hwnd, WORD idBitmap);
void SurfaceSetFont(Surface* s, LONG height, int bold, BOOL underline);
void SurfaceSetTextColor(Surface* s, COLORREF color);
void SurfaceFill(Surface* s, COLORREF color);
void SurfaceGradient(Surface* s, COLORREF top, COLORREF bottom);
// A gradient's corner of the given colour.
TRIVERTEX ColorVertex(LONG x, LONG y, COLORREF color);
HRGN SurfaceSetHitRegion(Surface* s, LONG left, LONG top, LONG right, LONG bottom);
void SurfaceDrawText(Surface* s, int x, int y, LPCWSTR format, ...);
void SurfaceCopy(const Surface* s, HDC dst);
void SurfaceCopyAt(const Surface* s, HDC dst, int x, int y);
void SurfaceCopyPart(const Surface* s, HDC dst, int x, int y, int w, int h, int sx, int sy);
void SurfaceCopyTransparent(const Surface* s, HDC dst, int x, int y);

void FontCreate(FontObject* f, LPCWSTR face, LONG height, int bold, BOOL underline);
void FontRelease(FontObject* f);

// The two header fonts (Tahoma 14 and 26, weight 600), created at process start.
extern FontObject g_HeaderFont14;
extern FontObject g_HeaderFont26;
