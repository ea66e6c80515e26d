// The platform's look: colour mixing, the system face and the drawing primitives.
#include "look/look.h"

#include <algorithm>

namespace pda::look {

COLORREF Mix(COLORREF a, COLORREF b, int percentB) {
  auto m = [&](BYTE x, BYTE y) {
    return static_cast<BYTE>((x * (100 - percentB) + y * percentB) / 100);
  };
  return RGB(m(GetRValue(a), GetRValue(b)), m(GetGValue(a), GetGValue(b)),
             m(GetBValue(a), GetBValue(b)));
}

int PointsToPixels(int points, int dpi) { return (points * dpi + 36) / 72; }

UniqueFont SystemFont(int pixelHeight, int weight) {
  return UniqueFont(CreateFontW(-pixelHeight, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                ANTIALIASED_QUALITY, 0, kSystemFace));
}

void Fill(HDC dc, const RECT& rect, COLORREF color) {
  const UniqueBrush brush(CreateSolidBrush(color));
  FillRect(dc, &rect, brush.get());
}

void Frame(HDC dc, const RECT& r, int thickness, COLORREF color) {
  Fill(dc, RECT{r.left, r.top, r.right, r.top + thickness}, color);
  Fill(dc, RECT{r.left, r.bottom - thickness, r.right, r.bottom}, color);
  Fill(dc, RECT{r.left, r.top, r.left + thickness, r.bottom}, color);
  Fill(dc, RECT{r.right - thickness, r.top, r.right, r.bottom}, color);
}

void VerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  auto channel = [](BYTE value) { return static_cast<COLOR16>(value << 8); };
  TRIVERTEX v[2] = {{rect.left, rect.top, channel(GetRValue(top)), channel(GetGValue(top)),
                     channel(GetBValue(top)), 0},
                    {rect.right, rect.bottom, channel(GetRValue(bottom)),
                     channel(GetGValue(bottom)), channel(GetBValue(bottom)), 0}};
  GRADIENT_RECT mesh{0, 1};
  GradientFill(dc, v, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
}

COLORREF ButtonFace(HDC dc, const RECT& rect, FaceState state, bool isDefault, int edge) {
  Fill(dc, rect, state == FaceState::Pressed ? palette::kButtonPressed : palette::kButtonFace);
  Frame(dc, rect, isDefault ? 2 * edge : edge, isDefault ? palette::kBlack : palette::kEdge);
  return state == FaceState::Disabled ? palette::kDisabledText : palette::kText;
}

void Arrow(HDC dc, const RECT& rect, bool up, COLORREF color) {
  const int side = std::min(rect.right - rect.left, rect.bottom - rect.top);
  const int rows = std::max(side / 4, 1);  // the base is 2 * rows - 1 wide
  const int cx = (rect.left + rect.right) / 2;
  const int top = (rect.top + rect.bottom - rows) / 2;
  for (int i = 0; i < rows; ++i) {
    const int half = up ? i : rows - 1 - i;
    Fill(dc, RECT{cx - half, top + i, cx + half + 1, top + i + 1}, color);
  }
}

void Text(HDC dc, RECT rect, std::u16string_view text, COLORREF color, UINT format) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect, format | DT_NOPREFIX);
}

}  // namespace pda::look
