// Painters of the shell's bars and keyboard.
//
// Sections: drawing helpers | navigation bar | menu bar | input panel
#include "shell/bar_look.h"

#include <algorithm>

#include "gdi/solid_fill.h"
#include "resources/icons.h"
#include "shell/shell_metrics.h"

namespace pda::shell {
namespace {

// ---- drawing helpers -----------------------------------------------------------------------

COLOR16 Channel(BYTE value) { return static_cast<COLOR16>(value << 8); }

void VerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  TRIVERTEX v[2] = {
      {rect.left, rect.top, Channel(GetRValue(top)), Channel(GetGValue(top)),
       Channel(GetBValue(top)), 0},
      {rect.right, rect.bottom, Channel(GetRValue(bottom)), Channel(GetGValue(bottom)),
       Channel(GetBValue(bottom)), 0}};
  GRADIENT_RECT mesh{0, 1};
  GradientFill(dc, v, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
}

void Fill(HDC dc, const RECT& rect, COLORREF color) { gdi::FillSolid(dc, rect, color); }

COLORREF Mix(COLORREF a, COLORREF b, int percentB) {
  auto m = [&](BYTE x, BYTE y) { return static_cast<BYTE>((x * (100 - percentB) + y * percentB) / 100); };
  return RGB(m(GetRValue(a), GetRValue(b)), m(GetGValue(a), GetGValue(b)), m(GetBValue(a), GetBValue(b)));
}

// A font selected for the painter's scope, then put back and deleted.
class ScopedFont {
 public:
  ScopedFont(HDC dc, int pixelHeight, int weight) : dc_(dc) {
    font_ = CreateFontW(-pixelHeight, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                        ANTIALIASED_QUALITY, 0, u"Tahoma");
    if (font_) old_ = SelectObject(dc_, font_);
  }
  ~ScopedFont() {
    if (font_) {
      SelectObject(dc_, old_);
      DeleteObject(font_);
    }
  }
  ScopedFont(const ScopedFont&) = delete;
  ScopedFont& operator=(const ScopedFont&) = delete;

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

void Text(HDC dc, RECT rect, const std::u16string& text, COLORREF color, UINT format) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// The bar's sheen: a lighter line along the top edge and a dark one along the bottom.
void Edges(HDC dc, const RECT& bar, COLORREF top) {
  Fill(dc, {bar.left, bar.top, bar.right, bar.top + 1}, Mix(top, RGB(255, 255, 255), 25));
  Fill(dc, {bar.left, bar.bottom - 1, bar.right, bar.bottom}, RGB(0, 0, 0));
}

}  // namespace

// ---- navigation bar ------------------------------------------------------------------------

void PaintNavigationBar(HDC dc, const RECT& bar, const NavigationBarView& view) {
  VerticalGradient(dc, bar, kBarTop, kBarBottom);
  Edges(dc, bar, kBarTop);
  const NavigationBarLayout layout = LayOutNavigationBar(bar, view.icons.size());
  ScopedFont font(dc, Scaled(12), FW_BOLD);
  Text(dc, layout.title, view.title, kBarText, DT_LEFT);
  Text(dc, layout.clock, view.clock, kBarText, DT_RIGHT);
  for (std::size_t i = 0; i < view.icons.size(); ++i) {
    if (!view.icons[i]) continue;
    const RECT& r = layout.icons[i];
    resources::DrawPremultiplied(dc, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                 *view.icons[i]);
  }
}

// ---- menu bar ------------------------------------------------------------------------------

namespace {

// The input-panel button: a small keyboard, keys as dots on a rounded body.
void KeyboardGlyph(HDC dc, const RECT& area, bool up) {
  const int w = Scaled(20);
  const int h = Scaled(12);
  const int x = (area.left + area.right - w) / 2;
  const int y = (area.top + area.bottom - h) / 2;
  const COLORREF body = up ? RGB(255, 255, 255) : RGB(200, 206, 218);
  const COLORREF key = up ? RGB(40, 90, 170) : RGB(40, 44, 56);
  Fill(dc, {x + 1, y, x + w - 1, y + h}, body);
  Fill(dc, {x, y + 1, x + w, y + h - 1}, body);
  const int unit = std::max(1, Scaled(2));
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 5; ++col) {
      const int kx = x + unit + col * (w - 2 * unit) / 5;
      const int ky = y + unit + row * 2 * unit;
      Fill(dc, {kx, ky, kx + unit, ky + unit}, key);
    }
  Fill(dc, {x + w / 4, y + h - 2 * unit, x + w * 3 / 4, y + h - unit}, key);  // space bar
}

void SoftKey(HDC dc, const RECT& rect, const SoftKeyView& key, bool pressed, COLORREF top) {
  if (pressed && key.enabled)
    VerticalGradient(dc, rect, Mix(top, RGB(90, 150, 255), 60), Mix(top, RGB(30, 80, 190), 60));
  ScopedFont font(dc, Scaled(13), FW_BOLD);
  Text(dc, rect, key.text, key.enabled ? kBarText : kBarTextDisabled, DT_CENTER);
}

}  // namespace

void PaintMenuBar(HDC dc, const RECT& bar, const MenuBarView& view) {
  const COLORREF top = view.background ? *view.background : kBarTop;
  const COLORREF bottom = view.background ? Mix(*view.background, RGB(0, 0, 0), 50) : kBarBottom;
  VerticalGradient(dc, bar, top, bottom);
  Edges(dc, bar, top);
  const MenuBarLayout layout = LayOutMenuBar(bar, view.inputPanelButton);
  SoftKey(dc, layout.left, view.left, view.pressed == MenuBarPart::Left, top);
  SoftKey(dc, layout.right, view.right, view.pressed == MenuBarPart::Right, top);
  // Thin separators keep the keys apart.
  const COLORREF line = Mix(top, RGB(0, 0, 0), 45);
  const int inset = Scaled(4);
  Fill(dc, {layout.left.right, bar.top + inset, layout.left.right + 1, bar.bottom - inset}, line);
  if (view.inputPanelButton) {
    if (view.pressed == MenuBarPart::InputPanelButton)
      VerticalGradient(dc, layout.button, Mix(top, RGB(90, 150, 255), 60),
                       Mix(top, RGB(30, 80, 190), 60));
    KeyboardGlyph(dc, layout.button, view.inputPanelUp);
    Fill(dc, {layout.button.right - 1, bar.top + inset, layout.button.right, bar.bottom - inset},
         line);
  }
}

// ---- input panel ---------------------------------------------------------------------------

void PaintInputPanel(HDC dc, const RECT& panel, const InputPanelView& view) {
  VerticalGradient(dc, panel, RGB(210, 214, 222), RGB(172, 178, 190));
  ScopedFont font(dc, Scaled(10), FW_NORMAL);
  const int gap = std::max(1, Scaled(1));
  for (const PlacedKey& placed : LayOutKeyboard(view.page, panel)) {
    const RECT r{placed.rect.left + gap, placed.rect.top + gap, placed.rect.right - gap,
                 placed.rect.bottom - gap};
    const bool pressed = view.pressed && view.pressed->left == placed.rect.left &&
                         view.pressed->top == placed.rect.top;
    const bool function = placed.key.action != KeyAction::Character;
    const bool lit = pressed || (placed.key.action == KeyAction::Shift && view.shift);
    const COLORREF face = lit ? RGB(60, 120, 220) : function ? RGB(150, 158, 172) : RGB(252, 252, 252);
    VerticalGradient(dc, r, face, Mix(face, RGB(0, 0, 0), 12));
    Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, RGB(110, 116, 128));
    std::u16string label;
    if (placed.key.action == KeyAction::Character)
      label.assign(1, CharacterOf(placed.key, view.shift));
    else if (placed.key.label)
      label = placed.key.label;
    Text(dc, r, label, lit ? RGB(255, 255, 255) : RGB(20, 22, 28), DT_CENTER);
  }
}

}  // namespace pda::shell
