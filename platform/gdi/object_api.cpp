// The object calls: stock objects, bitmaps, brushes, fonts, GetObjectW and DeleteObject.
#include <cstring>

#include "display/display.h"
#include "gdi/bitmaps.h"
#include "gdi/font_library.h"
#include "gdi/objects.h"
#include "gdi/png_codec.h"

namespace pda::gdi {

HBITMAP CreateBitmapFromPixels(Pixels pixels) {
  return HBITMAP{InsertObject(std::make_shared<Bitmap>(std::move(pixels)))};
}

HBITMAP CreateBitmapFromPng(std::span<const std::uint8_t> png) {
  std::optional<Pixels> pixels = DecodePng(png);
  if (!pixels) return nullptr;
  return CreateBitmapFromPixels(std::move(*pixels));
}

std::shared_ptr<Pixels> BitmapPixels(HBITMAP bitmap) {
  std::shared_ptr<Bitmap> object = LookupObject<Bitmap>(bitmap.value);
  if (!object) return nullptr;
  // Shares the bitmap's ownership, so the pixels live as long as the pointer.
  return std::shared_ptr<Pixels>(object, &object->pixels());
}

}  // namespace pda::gdi

using namespace pda::gdi;  // NOLINT: the C surface below is a thin layer over this namespace

HGDIOBJ GetStockObject(int index) {
  std::uint32_t handle = 0;
  StockObject(index, &handle);
  return HGDIOBJ{handle};
}

BOOL DeleteObject(HGDIOBJ object) {
  std::shared_ptr<GdiObject> found = LookupObject<GdiObject>(object.value);
  if (!found) return FALSE;
  if (found->stock()) return TRUE;  // stock objects are never deleted; asking is harmless
  if (found->selections() > 0) return FALSE;
  return GdiObjects().Remove(object.value, pda::HandleKind::GdiObject) ? TRUE : FALSE;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return HBRUSH{InsertObject(std::make_shared<Brush>(color & 0x00FFFFFFu))};
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  if (width < 0 || height < 0) return nullptr;
  std::optional<Pixels> pixels =
      Pixels::Create(width == 0 || height == 0 ? 1 : width, width == 0 || height == 0 ? 1 : height);
  if (!pixels) return nullptr;
  return CreateBitmapFromPixels(std::move(*pixels));
}

HFONT CreateFontIndirectW(const LOGFONTW* logfont) {
  if (!logfont) return nullptr;
  std::shared_ptr<FontInstance> instance =
      OpenFont(*logfont, pda::display::CurrentScreen().dpi);
  if (!instance) return nullptr;
  return HFONT{InsertObject(std::make_shared<Font>(*logfont, std::move(instance)))};
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                  DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                  LPCWSTR faceName) {
  LOGFONTW logfont;
  std::memset(&logfont, 0, sizeof logfont);
  logfont.lfHeight = height;
  logfont.lfWidth = width;
  logfont.lfEscapement = escapement;
  logfont.lfOrientation = orientation;
  logfont.lfWeight = weight;
  logfont.lfItalic = static_cast<BYTE>(italic != 0);
  logfont.lfUnderline = static_cast<BYTE>(underline != 0);
  logfont.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
  logfont.lfCharSet = static_cast<BYTE>(charSet);
  logfont.lfOutPrecision = static_cast<BYTE>(outPrecision);
  logfont.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  logfont.lfQuality = static_cast<BYTE>(quality);
  logfont.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  for (int i = 0; faceName && i < LF_FACESIZE - 1 && faceName[i]; ++i)
    logfont.lfFaceName[i] = faceName[i];
  return CreateFontIndirectW(&logfont);
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
  std::shared_ptr<GdiObject> found = LookupObject<GdiObject>(object.value);
  if (auto* bitmap = dynamic_cast<Bitmap*>(found.get())) {
    if (!buffer) return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP info{};
    info.bmType = 0;
    info.bmWidth = bitmap->pixels().width();
    info.bmHeight = bitmap->pixels().height();
    info.bmWidthBytes = bitmap->pixels().stride();
    info.bmPlanes = 1;
    info.bmBitsPixel = 32;
    info.bmBits = nullptr;  // the pixels are the platform's own
    std::memcpy(buffer, &info, sizeof info);
    return sizeof(BITMAP);
  }
  if (auto* font = dynamic_cast<Font*>(found.get())) {
    if (!buffer) return sizeof(LOGFONTW);
    if (size < static_cast<int>(sizeof(LOGFONTW))) return 0;
    std::memcpy(buffer, &font->logfont(), sizeof(LOGFONTW));
    return sizeof(LOGFONTW);
  }
  return 0;
}
