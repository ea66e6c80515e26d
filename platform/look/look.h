// The platform's look, in one place: the palette, the system face, and stateless primitives
// that every platform window draws through (bars, input panel, message box, controls). Nothing
// here keeps state or knows a window; each call draws into the device context it is given.
//
// Sections: palette | system face | primitives
#pragma once

#include <string_view>

#include "pda/gdi.h"
#include "pda/owners.h"

namespace pda::look {

// ---- palette -------------------------------------------------------------------------------
namespace palette {
inline constexpr COLORREF kWindow = RGB(255, 255, 255);
inline constexpr COLORREF kText = RGB(0, 0, 0);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
// Captions and selections.
inline constexpr COLORREF kAccent = RGB(0x1C, 0x4E, 0x9A);
inline constexpr COLORREF kAccentText = RGB(255, 255, 255);
// Push buttons.
inline constexpr COLORREF kButtonFace = RGB(0xE4, 0xE4, 0xE4);
inline constexpr COLORREF kButtonPressed = RGB(0xB8, 0xB8, 0xB8);
inline constexpr COLORREF kEdge = RGB(0x40, 0x40, 0x40);
inline constexpr COLORREF kDisabledText = RGB(0x8C, 0x8C, 0x8C);
// Scroll bars.
inline constexpr COLORREF kTrack = RGB(0xE8, 0xE8, 0xE8);
inline constexpr COLORREF kThumb = RGB(0x90, 0x90, 0x90);
// Icons of the message box and of the GPS status.
inline constexpr COLORREF kError = RGB(0xC8, 0x1E, 0x1E);
inline constexpr COLORREF kWarning = RGB(0xF2, 0xC2, 0x1B);
inline constexpr COLORREF kInformation = RGB(0x2A, 0x6C, 0xD0);
inline constexpr COLORREF kGood = RGB(0x3C, 0xC0, 0x50);
// The shell's bars.
inline constexpr COLORREF kBarTop = RGB(62, 70, 88);
inline constexpr COLORREF kBarBottom = RGB(16, 19, 27);
inline constexpr COLORREF kBarText = RGB(255, 255, 255);
inline constexpr COLORREF kBarTextDisabled = RGB(120, 126, 140);
inline constexpr COLORREF kBarPressedTop = RGB(90, 150, 255);     // mixed into the bar's colour
inline constexpr COLORREF kBarPressedBottom = RGB(30, 80, 190);
inline constexpr COLORREF kBarGlyph = RGB(200, 206, 218);
inline constexpr COLORREF kBarGlyphLit = RGB(255, 255, 255);
inline constexpr COLORREF kBarGlyphMark = RGB(40, 44, 56);
inline constexpr COLORREF kBarGlyphMarkLit = RGB(40, 90, 170);
// The input panel.
inline constexpr COLORREF kPanelTop = RGB(210, 214, 222);
inline constexpr COLORREF kPanelBottom = RGB(172, 178, 190);
inline constexpr COLORREF kKeyFace = RGB(252, 252, 252);
inline constexpr COLORREF kKeyFunction = RGB(150, 158, 172);
inline constexpr COLORREF kKeyLit = RGB(60, 120, 220);
inline constexpr COLORREF kKeyShadow = RGB(110, 116, 128);
inline constexpr COLORREF kKeyText = RGB(20, 22, 28);
}  // namespace palette

// `a` with `percentB` percent of `b` mixed in.
COLORREF Mix(COLORREF a, COLORREF b, int percentB);

// ---- system face ---------------------------------------------------------------------------
// The face of every text the platform draws itself; fontconfig matches it to what the system has.
inline constexpr char16_t kSystemFace[] = u"Tahoma";
// Pixel height of a point size at a DPI (9 points at 96 DPI: 12 pixels).
int PointsToPixels(int points, int dpi);
// The system face at a pixel height (character height, as CreateFont's negative height).
UniqueFont SystemFont(int pixelHeight, int weight = FW_NORMAL);

// ---- primitives ----------------------------------------------------------------------------
void Fill(HDC dc, const RECT& rect, COLORREF color);
// A frame `thickness` pixels wide inside rect.
void Frame(HDC dc, const RECT& rect, int thickness, COLORREF color);
// From `top` on the first row to `bottom` on the last.
void VerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);

enum class FaceState { Normal, Pressed, Disabled };
// A push button's face and frame; the default button's frame is twice as thick and black.
// Returns the colour its label is drawn in.
COLORREF ButtonFace(HDC dc, const RECT& rect, FaceState state, bool isDefault, int edge);

// A solid triangle centred in rect, pointing up or down (scroll arrows), half the rectangle's
// smaller side wide.
void Arrow(HDC dc, const RECT& rect, bool up, COLORREF color);

// Text in a rectangle, transparent, in the DC's font: DrawText's format bits (DT_NOPREFIX added).
void Text(HDC dc, RECT rect, std::u16string_view text, COLORREF color, UINT format);

}  // namespace pda::look
