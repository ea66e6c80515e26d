#include "screen/main_screen.h"

#include "position/coordinate_text.h"
#include "shell/globals.h"
#include "shell/main_window.h"

Surface g_ScreenSurface;
Surface g_BackgroundSurface;
Surface g_DimmingSurface;
Surface g_LatitudeIcon;
Surface g_LongitudeIcon;
Surface g_ButtonStrip;
Surface g_ButtonImage[kButtonCount];

LONG g_ValueFontHeight;
BYTE g_ButtonsEnabled;
BYTE g_Pressed[kButtonCount];

namespace {

constexpr COLORREF kGradientTop = 0x68625C;
constexpr COLORREF kGradientBottom = 0x42362E;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr BYTE kDimAlpha = 200;

// Bitmap identifiers of the normal layout; the high-resolution ones are these plus 200.
constexpr WORD kLatitudeBitmap = 10000;
constexpr WORD kLongitudeBitmap = 10010;
constexpr WORD kTileBitmap = 10020;
constexpr WORD kTilePressedBitmap = 10025;
constexpr WORD kFaceBitmap[kButtonCount] = {10030, 10040, 10050, 10060};
constexpr WORD kFacePressedBitmap[kButtonCount] = {10035, 10045, 10055, 10065};
constexpr WORD kHighResOffset = 200;

// Screen positions as fractions of the client width (W) and height (H).
constexpr double kIconX = 0.14, kLatitudeIconY = 0.22, kLongitudeIconY = 0.49;
constexpr double kTextX = 0.4;
constexpr double kLatitudeLabelY = 0.2, kLatitudeValueY = 0.31;
constexpr double kLongitudeLabelY = 0.47, kLongitudeValueY = 0.58;
constexpr double kStatusX = 0.14, kStatusY = 0.02;

int At(double fraction, LONG extent) { return static_cast<int>(fraction * extent); }

// Repeats the tile across the strip, then once more flush right to cover the remainder. A tile
// that could not be loaded has no width and leaves the strip as it is.
void TileStrip(Surface* strip, const Surface* tile) {
  if (tile->width <= 0) return;
  const LONG n = strip->width / tile->width;
  for (LONG i = 0; i < n; ++i) SurfaceCopyAt(tile, strip->hdc, i * tile->width, 0);
  SurfaceCopyAt(tile, strip->hdc, strip->right - tile->width, 0);
}

// Centres each button's face in its quarter of the strip.
void PlaceFaces(Surface* strip, Surface* face, const WORD (&faces)[kButtonCount], WORD offset,
                HWND hwnd) {
  const LONG q = strip->width / 4;
  const LONG h = q / 2;
  for (int k = 0; k < kButtonCount; ++k) {
    SurfaceBuildFromBitmap(face, g_hInstance, hwnd, static_cast<WORD>(faces[k] + offset));
    SurfaceCopyAt(face, strip->hdc, k * q + h - face->width / 2, 0);
  }
}

}  // namespace

void BuildLayout(HWND hwnd, bool highRes) {
  const WORD offset = highRes ? kHighResOffset : 0;
  Surface tile, face, pressedStrip;
  SurfaceClear(&tile);
  SurfaceClear(&face);
  SurfaceClear(&pressedStrip);

  SurfaceBuildForWindow(&g_ScreenSurface, hwnd);
  SurfaceSetTextColor(&g_ScreenSurface, kWhite);
  SurfaceBuildForWindow(&g_BackgroundSurface, hwnd);
  SurfaceGradient(&g_BackgroundSurface, kGradientTop, kGradientBottom);
  // Dimmed in both layouts, so the acquiring screen looks the same at every resolution.
  SurfaceBuildForWindow(&g_DimmingSurface, hwnd);
  SurfaceFill(&g_DimmingSurface, kBlack);
  SurfaceBuildFromBitmap(&g_LatitudeIcon, g_hInstance, hwnd, kLatitudeBitmap + offset);
  SurfaceBuildFromBitmap(&g_LongitudeIcon, g_hInstance, hwnd, kLongitudeBitmap + offset);

  SurfaceBuildFromBitmap(&tile, g_hInstance, hwnd, kTileBitmap + offset);
  const RECT strip = {tile.left, tile.top, g_ScreenSurface.screenWidth, tile.bottom};
  SurfaceBuildForRect(&g_ButtonStrip, hwnd, &strip);
  TileStrip(&g_ButtonStrip, &tile);
  PlaceFaces(&g_ButtonStrip, &face, kFaceBitmap, offset, hwnd);

  SurfaceBuildFromBitmap(&tile, g_hInstance, hwnd, kTilePressedBitmap + offset);
  SurfaceBuildForRect(&pressedStrip, hwnd, &strip);
  TileStrip(&pressedStrip, &tile);
  PlaceFaces(&pressedStrip, &face, kFacePressedBitmap, offset, hwnd);

  const LONG q = pressedStrip.width / 4;
  const LONG c = g_ScreenSurface.bottom;
  const LONG s = g_ButtonStrip.height;
  for (int k = 0; k < kButtonCount; ++k) {
    SurfaceBuildForRect(&g_ButtonImage[k], hwnd, &strip);
    SurfaceCopyAt(&g_ButtonStrip, g_ButtonImage[k].hdc, 0, 0);
  }
  for (int k = 0; k < kButtonCount; ++k) {
    SurfaceSetHitRegion(&g_ButtonImage[k], k * q, c - s, (k + 1) * q, c);
    SurfaceCopyPart(&pressedStrip, g_ButtonImage[k].hdc, k * q, 0, q, pressedStrip.height, k * q,
                    0);
  }

  SurfaceRelease(&tile);
  SurfaceRelease(&face);
  SurfaceRelease(&pressedStrip);
}

void ComposeMainScreen() {
  Surface* screen = &g_ScreenSurface;
  SurfaceCopyAt(&g_BackgroundSurface, screen->hdc, 0, 0);
  const LONG w = screen->right;
  const LONG h = screen->bottom;
  const double latitude = g_PositionCopy.dblLatitude;
  const double longitude = g_PositionCopy.dblLongitude;

  SurfaceCopyTransparent(&g_LatitudeIcon, screen->hdc, At(kIconX, w), At(kLatitudeIconY, h));
  SurfaceCopyTransparent(&g_LongitudeIcon, screen->hdc, At(kIconX, w), At(kLongitudeIconY, h));

  WCHAR text[HEMISPHERE_TEXT_CHARS] = {};
  FormatLatitude(latitude, text);
  SurfaceSetFont(screen, g_ValueFontHeight, 0, TRUE);
  SurfaceDrawText(screen, At(kTextX, w), At(kLatitudeLabelY, h), u"%s", u"Latitude");
  SurfaceSetFont(screen, g_ValueFontHeight, 0, FALSE);
  SurfaceDrawText(screen, At(kTextX, w), At(kLatitudeValueY, h), u"%s", text);

  FormatLongitude(longitude, text);
  SurfaceSetFont(screen, g_ValueFontHeight, 0, TRUE);
  SurfaceDrawText(screen, At(kTextX, w), At(kLongitudeLabelY, h), u"%s", u"Longitude");
  SurfaceSetFont(screen, g_ValueFontHeight, 0, FALSE);
  SurfaceDrawText(screen, At(kTextX, w), At(kLongitudeValueY, h), u"%s", text);

  const Surface* strip = &g_ButtonStrip;
  for (int k = 0; k < kButtonCount; ++k) {
    if (g_Pressed[k]) {
      strip = &g_ButtonImage[k];
      break;
    }
  }
  SurfaceCopyAt(strip, screen->hdc, 0, h - g_ButtonStrip.height);

  WCHAR status[64];
  if (!IsPositionFix(latitude, longitude)) {
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, kDimAlpha, 0};
    AlphaBlend(screen->hdc, 0, 0, w, h, g_DimmingSurface.hdc, 0, 0, g_DimmingSurface.width,
               g_DimmingSurface.height, blend);
    StringCchCopyW(status, 64, u"Acquiring satellites...");
    g_ButtonsEnabled = 0;
  } else {
    StringCchPrintfW(status, 64, u"Satellite count: %d / %d", g_PositionCopy.dwSatelliteCount,
                     g_PositionCopy.dwSatellitesInView);
    g_ButtonsEnabled = 1;
  }
  SurfaceSetFont(screen, IsHighResolution() ? 26 : 14, 0, FALSE);
  SurfaceDrawText(screen, At(kStatusX, w), At(kStatusY, h), u"%s", status);
}

LRESULT PaintMainScreen(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  ComposeMainScreen();
  SurfaceCopy(&g_ScreenSurface, hdc);
  EndPaint(hwnd, &ps);
  return 0;
}

void ReleaseLayout() {
  SurfaceRelease(&g_ScreenSurface);
  SurfaceRelease(&g_BackgroundSurface);
  SurfaceRelease(&g_DimmingSurface);
  SurfaceRelease(&g_LatitudeIcon);
  SurfaceRelease(&g_LongitudeIcon);
  SurfaceRelease(&g_ButtonStrip);
  for (Surface& image : g_ButtonImage) SurfaceRelease(&image);
}
