// The STATIC control: its text in its rectangle, left-aligned or centred, wrapping at words,
// grey when the control is disabled.
#include <memory>

#include "controls/control_common.h"
#include "controls/controls.h"
#include "look/look.h"
#include "pda/controls.h"
#include "user/window_shape.h"

namespace pda::controls {
namespace {

struct StaticState {
  static std::unique_ptr<StaticState> Create(HWND window, const CREATESTRUCTW&) {
    auto state = std::make_unique<StaticState>();
    state->window = window;
    return state;
  }
  HWND window;
  HFONT font;  // the caller's (WM_SETFONT); null: the system font
};

void Redraw(const StaticState& s) { InvalidateRect(s.window, nullptr, FALSE); }

LRESULT OnSetText(StaticState& s, WPARAM wParam, LPARAM lParam) {
  const LRESULT set = DefWindowProcW(s.window, WM_SETTEXT, wParam, lParam);
  Redraw(s);
  return set;
}

LRESULT OnEnable(StaticState& s, WPARAM, LPARAM) {
  Redraw(s);
  return 0;
}

void OnPaint(StaticState& s, HDC dc, const RECT& client) {
  const DWORD style = static_cast<DWORD>(GetWindowLongW(s.window, GWL_STYLE));
  look::Fill(dc, client, look::palette::kWindow);
  const std::u16string text = WindowText(s.window);
  const ScopedSelect font(dc, s.font ? HGDIOBJ(s.font) : GetStockObject(SYSTEM_FONT));
  const UINT align = (style & SS_TYPEMASK) == SS_CENTER  ? DT_CENTER
                     : (style & SS_TYPEMASK) == SS_RIGHT ? DT_RIGHT
                                                          : DT_LEFT;
  const COLORREF color =
      IsWindowEnabled(s.window) ? look::palette::kText : look::palette::kDisabledText;
  look::Text(dc, client, text, color, align | DT_WORDBREAK);
}

constexpr user::Route<StaticState> kRoutes[] = {
    {WM_SETTEXT, OnSetText},
    {WM_ENABLE,  OnEnable},
    {WM_SETFONT, SetFontRow<StaticState>},
    {WM_GETFONT, GetFontRow<StaticState>},
    {WM_PAINT,   user::PaintThrough<StaticState, OnPaint>},
};

}  // namespace

bool RegisterStaticClass() { return user::RegisterShapedClass<StaticState, kRoutes>(WC_STATICW); }

}  // namespace pda::controls
