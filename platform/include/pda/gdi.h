// The drawing library of the handheld platform: device contexts, memory contexts, 32-bit
// bitmaps, brushes, fonts, text output and metrics, block copy, colour-key copy, constant-alpha
// blend, gradient fill and regions.
//
// Sections: handles | colours | objects | device contexts | regions | drawing | text | caps
#pragma once

#include <concepts>

#include "pda/types.h"

// ---- handles -------------------------------------------------------------------------------
struct DeviceContextTag;
struct BitmapTag;
struct FontTag;
struct BrushTag;
struct RegionTag;

using HDC = Handle<DeviceContextTag>;
using HBITMAP = Handle<BitmapTag>;
using HFONT = Handle<FontTag>;
using HBRUSH = Handle<BrushTag>;
using HRGN = Handle<RegionTag>;

template <class Tag>
concept GdiObjectTag = std::same_as<Tag, BitmapTag> || std::same_as<Tag, FontTag> ||
                       std::same_as<Tag, BrushTag> || std::same_as<Tag, RegionTag>;

// Any drawing object. Every typed handle converts to it implicitly (SelectObject(dc, bitmap),
// DeleteObject(font)); the way back is explicit, as a cast is in Win32.
struct HGDIOBJ {
  std::uint32_t value = 0;

  constexpr HGDIOBJ() = default;
  constexpr HGDIOBJ(std::nullptr_t) {}  // NOLINT: compares with and is set to nullptr
  constexpr explicit HGDIOBJ(std::uint32_t v) : value(v) {}
  template <GdiObjectTag Tag>
  constexpr HGDIOBJ(Handle<Tag> handle) : value(handle.value) {}  // NOLINT: implicit on purpose
  template <GdiObjectTag Tag>
  constexpr explicit operator Handle<Tag>() const {
    return Handle<Tag>{value};
  }
  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr bool operator==(HGDIOBJ a, HGDIOBJ b) { return a.value == b.value; }
  friend constexpr bool operator==(HGDIOBJ a, std::nullptr_t) { return a.value == 0; }
};
static_assert(sizeof(HDC) == 4 && sizeof(HGDIOBJ) == 4);

// ---- colours -------------------------------------------------------------------------------
// COLORREF is 0x00BBGGRR.
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
         (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

// ---- objects -------------------------------------------------------------------------------
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;

HGDIOBJ GetStockObject(int object);
// Refuses (FALSE) an object that is selected into a device context. Stock objects stay.
BOOL DeleteObject(HGDIOBJ object);

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};

constexpr int LF_FACESIZE = 32;
struct LOGFONTW {
  LONG lfHeight;  // < 0: character (em) height in pixels; > 0: cell height; 0: default
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
};
static_assert(sizeof(LOGFONTW) == 92);
using LPLOGFONTW = LOGFONTW*;

constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_THIN = 100;
constexpr LONG FW_LIGHT = 300;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_MEDIUM = 500;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;
constexpr LONG FW_HEAVY = 900;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE EASTEUROPE_CHARSET = 238;
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_RASTER_PRECIS = 6;
constexpr BYTE OUT_TT_ONLY_PRECIS = 7;
constexpr BYTE OUT_OUTLINE_PRECIS = 8;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE CLEARTYPE_QUALITY = 5;

// Fails with an empty handle when no size of the given (or a stand-in) face can be made.
HFONT CreateFontIndirectW(const LOGFONTW* font);
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                  DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                  LPCWSTR faceName);

HBRUSH CreateSolidBrush(COLORREF color);

// Bitmaps are always 32 bits per pixel. A width or height of zero gives a 1x1 bitmap.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

// Fills a BITMAP (bitmaps) or LOGFONTW (fonts). With a null buffer, returns the size needed.
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);

// ---- device contexts -----------------------------------------------------------------------
// A memory context; a fresh one has a 1x1 stock bitmap selected. The argument is ignored.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
// Returns the object that was selected before (or null on failure). A bitmap can be selected
// into one memory context at a time. Selecting a region sets the clip region and returns the
// region's type as the handle value, as Win32 does.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);

constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;
HGDIOBJ GetCurrentObject(HDC dc, UINT type);

// ---- regions -------------------------------------------------------------------------------
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
int OffsetRgn(HRGN region, int dx, int dy);
int GetRgnBox(HRGN region, LPRECT box);
// Right and bottom edges are outside the region.
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
BOOL EqualRgn(HRGN a, HRGN b);

// Clip regions of a device context, in its logical coordinates. Everything drawn is clipped to
// the context's own bounds (the bitmap, or the window's visible part) and to this region.
int SelectClipRgn(HDC dc, HRGN region);  // a copy is kept; null removes it
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, LPRECT box);

// ---- drawing -------------------------------------------------------------------------------
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rop);
// Nearest-neighbour scaling; SRCCOPY only.
BOOL StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rop);
// Copies, leaving out every source pixel equal to the key colour (nearest-neighbour scaling).
BOOL TransparentBlt(HDC destination, int x, int y, int width, int height, HDC source,
                    int sourceX, int sourceY, int sourceWidth, int sourceHeight, UINT keyColor);
BOOL TransparentImage(HDC destination, int x, int y, int width, int height, HDC source,
                      int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                      COLORREF keyColor);

constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
  BYTE BlendOp;
  BYTE BlendFlags;
  BYTE SourceConstantAlpha;
  BYTE AlphaFormat;
};
// source x constant alpha + destination x (1 - constant alpha); with AC_SRC_ALPHA the source
// is taken as premultiplied ARGB. Source and destination sizes must be equal.
BOOL AlphaBlend(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend);

using COLOR16 = USHORT;
struct TRIVERTEX {
  LONG x;
  LONG y;
  COLOR16 Red;
  COLOR16 Green;
  COLOR16 Blue;
  COLOR16 Alpha;
};
static_assert(sizeof(TRIVERTEX) == 16);
using PTRIVERTEX = TRIVERTEX*;
struct GRADIENT_RECT {
  ULONG UpperLeft;
  ULONG LowerRight;
};
constexpr ULONG GRADIENT_FILL_RECT_H = 0;
constexpr ULONG GRADIENT_FILL_RECT_V = 1;
constexpr ULONG GRADIENT_FILL_TRIANGLE = 2;  // not supported: FALSE
// The first row (column) has the first vertex's colour and the last row (column) the second's.
BOOL GradientFill(HDC dc, PTRIVERTEX vertices, ULONG vertexCount, LPVOID mesh, ULONG meshCount,
                  ULONG mode);

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);

// ---- text ----------------------------------------------------------------------------------
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);

struct TEXTMETRICW {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  WCHAR tmFirstChar;
  WCHAR tmLastChar;
  WCHAR tmDefaultChar;
  WCHAR tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
static_assert(sizeof(TEXTMETRICW) == 60);
using LPTEXTMETRICW = TEXTMETRICW*;

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics);
// Width of the text and the font's cell height.
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);
// Also how many characters fit in maxExtent (fit, may be null) and the extent after each
// character (extents, count entries, may be null).
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, int* fit,
                           int* extents, LPSIZE size);

constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
// (x, y) is the top-left of the first character cell. dx, when given, holds the advance of
// each character.
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const int* dx);
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);

constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
// Lays text out in the rectangle and draws it (or, with DT_CALCRECT, only measures it and sets
// the rectangle's right and bottom). count -1: up to the terminator. Returns the text height.
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);

// ---- caps ----------------------------------------------------------------------------------
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
int GetDeviceCaps(HDC dc, int index);
