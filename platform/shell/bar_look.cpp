// Painters of the shell's bars and keyboard.
//
// Sections: drawing helpers | navigation bar | menu bar | input panel
#include "shell/bar_look.h"

#include <algorithm>

#include "look/look.h"
#include "resources/icons.h"
#include "shell/shell_metrics.h"

namespace pda::shell {
namespace {

// ---- drawing helpers -----------------------------------------------------------------------

namespace palette = look::palette;
using look::Fill;
using look::Mix;
using look::VerticalGradient;

// The system face at a size, selected for the painter's scope.
struct BarFont {
  BarFont(HDC dc, int pixelHeight, int weight)
      : font(look::SystemFont(pixelHeight, weight)), selected(dc, font.get()) {}
  UniqueFont font;
  ScopedSelect selected;
};

void Text(HDC dc, const RECT& rect, const std::u16string& text, COLORREF color, UINT format) {
  look::Text(dc, rect, text, color, format | DT_SINGLELINE | DT_VCENTER);
}

// The bar's sheen: a lighter line along the top edge and a dark one along the bottom.
void Edges(HDC dc, const RECT& bar, COLORREF top) {
  Fill(dc, {bar.left, bar.top, bar.right, bar.top + 1}, Mix(top, palette::kWhite, 25));
  Fill(dc, {bar.left, bar.bottom - 1, bar.right, bar.bottom}, palette::kBlack);
}

// The GPS status: a location mark (a ring with a centre dot and four ticks), green with a
// fix, amber while searching, grey and crossed out in red without a source.
void GpsGlyph(HDC dc, const RECT& icon, gps::SourceState state) {
  using gps::SourceState;
  const int size = icon.right - icon.left;
  const int u = std::max(1, size / 16);  // one unit of the 16-unit design
  const COLORREF mark = state == SourceState::Fix         ? palette::kGood
                        : state == SourceState::Searching ? palette::kWarning
                                                          : palette::kBarGlyph;
  const int x = icon.left, y = icon.top;
  auto box = [&](int l, int t, int r, int b, COLORREF c) {
    Fill(dc, {x + l * u, y + t * u, x + r * u, y + b * u}, c);
  };
  box(4, 4, 12, 5, mark);    // the ring
  box(4, 11, 12, 12, mark);
  box(4, 4, 5, 12, mark);
  box(11, 4, 12, 12, mark);
  box(7, 7, 9, 9, mark);     // the centre
  box(7, 1, 9, 4, mark);     // the ticks
  box(7, 12, 9, 15, mark);
  box(1, 7, 4, 9, mark);
  box(12, 7, 15, 9, mark);
  if (state != SourceState::NoSource) return;
  for (int k = 1; k < 14; ++k) box(k, k, k + 2, k + 2, palette::kError);
}

}  // namespace

// ---- navigation bar ------------------------------------------------------------------------

void PaintNavigationBar(HDC dc, const RECT& bar, const NavigationBarView& view) {
  VerticalGradient(dc, bar, palette::kBarTop, palette::kBarBottom);
  Edges(dc, bar, palette::kBarTop);
  const NavigationBarLayout layout = LayOutNavigationBar(bar, view.icons.size());
  const BarFont font(dc, Scaled(12), FW_BOLD);
  Text(dc, layout.title, view.title, palette::kBarText, DT_LEFT);
  Text(dc, layout.clock, view.clock, palette::kBarText, DT_RIGHT);
  GpsGlyph(dc, layout.gps, view.gps);
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
  const COLORREF body = up ? palette::kBarGlyphLit : palette::kBarGlyph;
  const COLORREF key = up ? palette::kBarGlyphMarkLit : palette::kBarGlyphMark;
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

// The pressed look of a part of the bar.
void PressedPart(HDC dc, const RECT& rect, COLORREF top) {
  VerticalGradient(dc, rect, Mix(top, palette::kBarPressedTop, 60),
                   Mix(top, palette::kBarPressedBottom, 60));
}

void SoftKey(HDC dc, const RECT& rect, const SoftKeyView& key, bool pressed, COLORREF top) {
  if (pressed && key.enabled) PressedPart(dc, rect, top);
  const BarFont font(dc, Scaled(13), FW_BOLD);
  Text(dc, rect, key.text, key.enabled ? palette::kBarText : palette::kBarTextDisabled, DT_CENTER);
}

}  // namespace

void PaintMenuBar(HDC dc, const RECT& bar, const MenuBarView& view) {
  const COLORREF top = view.background ? *view.background : palette::kBarTop;
  const COLORREF bottom =
      view.background ? Mix(*view.background, palette::kBlack, 50) : palette::kBarBottom;
  VerticalGradient(dc, bar, top, bottom);
  Edges(dc, bar, top);
  const MenuBarLayout layout = LayOutMenuBar(bar, view.inputPanelButton);
  SoftKey(dc, layout.left, view.left, view.pressed == MenuBarPart::Left, top);
  SoftKey(dc, layout.right, view.right, view.pressed == MenuBarPart::Right, top);
  // Thin separators keep the keys apart.
  const COLORREF line = Mix(top, palette::kBlack, 45);
  const int inset = Scaled(4);
  Fill(dc, {layout.left.right, bar.top + inset, layout.left.right + 1, bar.bottom - inset}, line);
  if (view.inputPanelButton) {
    if (view.pressed == MenuBarPart::InputPanelButton) PressedPart(dc, layout.button, top);
    KeyboardGlyph(dc, layout.button, view.inputPanelUp);
    Fill(dc, {layout.button.right - 1, bar.top + inset, layout.button.right, bar.bottom - inset},
         line);
  }
}

// ---- input panel ---------------------------------------------------------------------------

void PaintInputPanel(HDC dc, const RECT& panel, const InputPanelView& view) {
  VerticalGradient(dc, panel, palette::kPanelTop, palette::kPanelBottom);
  const BarFont font(dc, Scaled(10), FW_NORMAL);
  const int gap = std::max(1, Scaled(1));
  for (const PlacedKey& placed : LayOutKeyboard(view.page, panel)) {
    const RECT r{placed.rect.left + gap, placed.rect.top + gap, placed.rect.right - gap,
                 placed.rect.bottom - gap};
    const bool pressed = view.pressed && view.pressed->left == placed.rect.left &&
                         view.pressed->top == placed.rect.top;
    const bool function = placed.key.action != KeyAction::Character;
    const bool lit = pressed || (placed.key.action == KeyAction::Shift && view.shift);
    const COLORREF face =
        lit ? palette::kKeyLit : function ? palette::kKeyFunction : palette::kKeyFace;
    VerticalGradient(dc, r, face, Mix(face, palette::kBlack, 12));
    Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, palette::kKeyShadow);
    std::u16string label;
    if (placed.key.action == KeyAction::Character)
      label.assign(1, CharacterOf(placed.key, view.shift));
    else if (placed.key.label)
      label = placed.key.label;
    Text(dc, r, label, lit ? palette::kWhite : palette::kKeyText, DT_CENTER);
  }
}

}  // namespace pda::shell
