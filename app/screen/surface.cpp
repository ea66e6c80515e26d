#include "screen/surface.h"

#include <cstdarg>
#include <cstring>

FontObject g_HeaderFont14;
FontObject g_HeaderFont26;

namespace {

constexpr WCHAR kSurfaceFace[] = u"Tahoma";

// Attributes shared by every font made here; only face, height, weight and underline vary.
HFONT MakeFont(LPCWSTR face, LONG height, LONG weight, BOOL underline) {
  LOGFONTW lf = {};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfUnderline = static_cast<BYTE>(underline ? 1 : 0);
  lf.lfCharSet = EASTEUROPE_CHARSET;
  lf.lfOutPrecision = OUT_RASTER_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lf.lfPitchAndFamily = 0;
  lstrcpynW(lf.lfFaceName, face, 32);
  return CreateFontIndirectW(&lf);
}

// A gradient vertex: each 8-bit channel widened to 16 bits, alpha 0.
// The common tail of the three builds.
void Build(Surface* s, HWND hwnd) {
  s->width = s->right - s->left;
  s->height = s->bottom - s->top;
  HDC screen = GetDC(hwnd);
  s->hdc = CreateCompatibleDC(screen);
  if (!s->hbm) s->hbm = CreateCompatibleBitmap(screen, s->width, s->height);
  SelectObject(s->hdc, s->hbm);
  SurfaceSetFont(s, IsHighResolution() ? 32 : 16, 0, FALSE);
  SetTextColor(s->hdc, RGB(255, 255, 255));
  SetBkMode(s->hdc, TRANSPARENT);
  ReleaseDC(hwnd, screen);
  s->screenWidth = GetSystemMetrics(SM_CXSCREEN);
  s->screenHeight = GetSystemMetrics(SM_CYSCREEN);
}

}  // namespace

bool IsHighResolution() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 96;
}

void SurfaceClear(Surface* s) { *s = Surface{}; }

void SurfaceRelease(Surface* s) {
  // The context goes first so that the bitmap and font are no longer selected into it.
  if (s->hdc) DeleteDC(s->hdc);
  if (s->hbm) DeleteObject(s->hbm);
  if (s->hrgn) DeleteObject(s->hrgn);
  if (s->hfont) DeleteObject(s->hfont);
  s->hdc = nullptr;
  s->hbm = nullptr;
  s->hrgn = nullptr;
  s->hfont = nullptr;
}

void SurfaceBuildForWindow(Surface* s, HWND hwnd) {
  SurfaceRelease(s);
  RECT rc;
  GetClientRect(hwnd, &rc);
  s->left = rc.left;
  s->top = rc.top;
  s->right = rc.right;
  s->bottom = rc.bottom;
  Build(s, hwnd);
}

void SurfaceBuildForRect(Surface* s, HWND hwnd, const RECT* rc) {
  SurfaceRelease(s);
  s->left = rc->left;
  s->top = rc->top;
  s->right = rc->right;
  s->bottom = rc->bottom;
  Build(s, hwnd);
}

void SurfaceBuildFromBitmap(Surface* s, HINSTANCE hinst, HWND hwnd, WORD idBitmap) {
  SurfaceRelease(s);
  s->hbm = LoadBitmapW(hinst, MAKEINTRESOURCEW(idBitmap));
  BITMAP bm = {};
  if (s->hbm) GetObjectW(s->hbm, sizeof bm, &bm);
  s->right = bm.bmWidth;
  s->bottom = bm.bmHeight;
  Build(s, hwnd);
}

void SurfaceSetFont(Surface* s, LONG height, int bold, BOOL underline) {
  HFONT font = MakeFont(kSurfaceFace, height, bold == 1 ? FW_BOLD : FW_MEDIUM, underline);
  SelectObject(s->hdc, font);  // the old font is no longer selected, so it can go
  if (s->hfont) DeleteObject(s->hfont);
  s->hfont = font;
  s->fontHeight = height;
}

void SurfaceSetTextColor(Surface* s, COLORREF color) { SetTextColor(s->hdc, color); }

void SurfaceFill(Surface* s, COLORREF color) {
  s->hbr = CreateSolidBrush(color);
  RECT rc = {s->left, s->top, s->right, s->bottom};
  FillRect(s->hdc, &rc, s->hbr);
  DeleteObject(s->hbr);
  s->hbr = nullptr;
}

TRIVERTEX ColorVertex(LONG x, LONG y, COLORREF color) {
  return TRIVERTEX{x, y, static_cast<COLOR16>(GetRValue(color) << 8),
                   static_cast<COLOR16>(GetGValue(color) << 8),
                   static_cast<COLOR16>(GetBValue(color) << 8), 0};
}

void SurfaceGradient(Surface* s, COLORREF top, COLORREF bottom) {
  TRIVERTEX vertex[2] = {ColorVertex(s->left, s->top, top), ColorVertex(s->right, s->bottom, bottom)};
  GRADIENT_RECT rect = {0, 1};
  GradientFill(s->hdc, vertex, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

HRGN SurfaceSetHitRegion(Surface* s, LONG left, LONG top, LONG right, LONG bottom) {
  if (s->hrgn) DeleteObject(s->hrgn);
  s->hrgn = CreateRectRgn(left, top, right, bottom);
  return s->hrgn;
}

void SurfaceDrawText(Surface* s, int x, int y, LPCWSTR format, ...) {
  WCHAR text[512];
  std::memset(text, 0, sizeof text);
  va_list args;
  va_start(args, format);
  StringCchVPrintfW(text, 512, format, args);  // cut to 511 characters, always terminated
  va_end(args);
  ExtTextOutW(s->hdc, x, y, 0, nullptr, text, static_cast<UINT>(lstrlenW(text)), nullptr);
}

void SurfaceCopy(const Surface* s, HDC dst) {
  BitBlt(dst, 0, 0, s->width, s->height, s->hdc, s->left, s->top, SRCCOPY);
}

void SurfaceCopyAt(const Surface* s, HDC dst, int x, int y) {
  BitBlt(dst, x, y, s->width, s->height, s->hdc, s->left, s->top, SRCCOPY);
}

void SurfaceCopyPart(const Surface* s, HDC dst, int x, int y, int w, int h, int sx, int sy) {
  BitBlt(dst, x, y, w, h, s->hdc, sx, sy, SRCCOPY);
}

void SurfaceCopyTransparent(const Surface* s, HDC dst, int x, int y) {
  TransparentImage(dst, x, y, s->width, s->height, s->hdc, s->left, s->top, s->width, s->height,
                   RGB(0, 0, 0));
}

void FontCreate(FontObject* f, LPCWSTR face, LONG height, int bold, BOOL underline) {
  if (f->hfont) DeleteObject(f->hfont);
  f->hfont = MakeFont(face, height, bold == 1 ? FW_SEMIBOLD : FW_MEDIUM, underline);
  f->height = height;
}

void FontRelease(FontObject* f) {
  if (f->hfont) DeleteObject(f->hfont);
  f->hfont = nullptr;
  f->height = 0;
}
