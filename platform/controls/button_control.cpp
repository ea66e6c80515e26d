// The BUTTON control: a push button drawn through the look's button face, or an owner-drawn
// button (BS_OWNERDRAW) whose parent draws it on WM_DRAWITEM. A press takes the stylus capture;
// the button shows pressed while the stylus is over it and sends BN_CLICKED when it is lifted
// there.
//
// Sections: the record | drawing | stylus and focus | the table
#include <algorithm>
#include <memory>
#include <string>

#include "controls/control_common.h"
#include "controls/controls.h"
#include "look/look.h"
#include "pda/controls.h"
#include "user/window_shape.h"

namespace pda::controls {
namespace {

// ---- the record ----------------------------------------------------------------------------
struct ButtonState {
  static std::unique_ptr<ButtonState> Create(HWND window, const CREATESTRUCTW& create) {
    auto state = std::make_unique<ButtonState>();
    state->window = window;
    state->type = static_cast<DWORD>(create.style) & BS_TYPEMASK;
    return state;
  }
  HWND window;
  DWORD type = BS_PUSHBUTTON;
  HFONT font;  // the caller's (WM_SETFONT); null: the system font
  bool tracking = false;  // the stylus went down on the button and is still down
  bool pressed = false;   // ...and is over it
  bool focused = false;

  bool ownerDrawn() const { return type == BS_OWNERDRAW; }
  UINT itemState() const {
    return (pressed ? ODS_SELECTED : 0u) | (IsWindowEnabled(window) ? 0u : ODS_DISABLED) |
           (focused ? ODS_FOCUS : 0u);
  }
};

// ---- drawing -------------------------------------------------------------------------------
// Asks the parent to draw the button: WM_DRAWITEM with the action and the current state.
void DrawOwned(const ButtonState& s, HDC dc, UINT action) {
  const HWND parent = GetParent(s.window);
  if (!parent) return;
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(s.window));
  item.itemAction = action;
  item.itemState = s.itemState();
  item.hwndItem = s.window;
  item.hDC = dc;
  GetClientRect(s.window, &item.rcItem);
  SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void DrawPush(const ButtonState& s, HDC dc, const RECT& client) {
  const look::FaceState face = !IsWindowEnabled(s.window) ? look::FaceState::Disabled
                               : s.pressed                ? look::FaceState::Pressed
                                                          : look::FaceState::Normal;
  const int edge = std::max(1, GetSystemMetrics(SM_CXVSCROLL) / 13);
  const COLORREF color = look::ButtonFace(dc, client, face, s.type == BS_DEFPUSHBUTTON, edge);
  const std::u16string text = WindowText(s.window);
  const ScopedSelect font(dc, s.font ? HGDIOBJ(s.font) : GetStockObject(SYSTEM_FONT));
  look::Text(dc, client, text, color, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void OnPaint(ButtonState& s, HDC dc, const RECT& client) {
  if (s.ownerDrawn())
    DrawOwned(s, dc, ODA_DRAWENTIRE);
  else
    DrawPush(s, dc, client);
}

// A change of the pressed or focus look, drawn at once (an owner-drawn button gets the action).
void Show(ButtonState& s, UINT action) {
  if (!s.ownerDrawn()) {
    InvalidateRect(s.window, nullptr, FALSE);
    return;
  }
  const ScopedWindowDC dc(s.window);
  if (dc.get()) DrawOwned(s, dc.get(), action);
}

void SetPressed(ButtonState& s, bool pressed) {
  if (s.pressed == pressed) return;
  s.pressed = pressed;
  Show(s, ODA_SELECT);
}

// ---- stylus and focus ----------------------------------------------------------------------
bool Inside(const ButtonState& s, POINT p) {
  RECT client{};
  GetClientRect(s.window, &client);
  return p.x >= client.left && p.x < client.right && p.y >= client.top && p.y < client.bottom;
}

LRESULT OnButtonDown(ButtonState& s, WPARAM, LPARAM) {
  if (!IsWindowEnabled(s.window)) return 0;
  SetCapture(s.window);
  s.tracking = true;
  SetPressed(s, true);
  return 0;
}

LRESULT OnMouseMove(ButtonState& s, WPARAM, LPARAM point) {
  if (s.tracking) SetPressed(s, Inside(s, user::StylusPoint(point)));
  return 0;
}

LRESULT OnButtonUp(ButtonState& s, WPARAM, LPARAM point) {
  if (!s.tracking) return 0;
  const bool click = Inside(s, user::StylusPoint(point));
  s.tracking = false;
  ReleaseCapture();  // WM_CAPTURECHANGED: ignored now that tracking ended
  SetPressed(s, false);
  if (click)
    if (const HWND parent = GetParent(s.window))
      SendMessageW(parent, WM_COMMAND,
                   MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(s.window)), BN_CLICKED),
                   static_cast<LPARAM>(s.window.value));
  return 0;
}

// The capture taken away mid-press (another window took it, the button was hidden): no click.
LRESULT OnCaptureChanged(ButtonState& s, WPARAM, LPARAM) {
  if (!s.tracking) return 0;
  s.tracking = false;
  SetPressed(s, false);
  return 0;
}

LRESULT OnFocus(ButtonState& s, bool focused) {
  s.focused = focused;
  Show(s, ODA_FOCUS);
  return 0;
}
LRESULT OnSetFocus(ButtonState& s, WPARAM, LPARAM) { return OnFocus(s, true); }
LRESULT OnKillFocus(ButtonState& s, WPARAM, LPARAM) { return OnFocus(s, false); }

LRESULT OnEnable(ButtonState& s, WPARAM, LPARAM) {
  InvalidateRect(s.window, nullptr, FALSE);
  return 0;
}

LRESULT OnSetText(ButtonState& s, WPARAM wParam, LPARAM lParam) {
  const LRESULT set = DefWindowProcW(s.window, WM_SETTEXT, wParam, lParam);
  InvalidateRect(s.window, nullptr, FALSE);
  return set;
}

// ---- the table -----------------------------------------------------------------------------
constexpr user::Route<ButtonState> kRoutes[] = {
    {WM_LBUTTONDOWN,    OnButtonDown},
    {WM_LBUTTONDBLCLK,  OnButtonDown},
    {WM_MOUSEMOVE,      OnMouseMove},
    {WM_LBUTTONUP,      OnButtonUp},
    {WM_CAPTURECHANGED, OnCaptureChanged},
    {WM_SETFOCUS,       OnSetFocus},
    {WM_KILLFOCUS,      OnKillFocus},
    {WM_ENABLE,         OnEnable},
    {WM_SETTEXT,        OnSetText},
    {WM_SETFONT,        SetFontRow<ButtonState>},
    {WM_GETFONT,        GetFontRow<ButtonState>},
    {WM_PAINT,          user::PaintThrough<ButtonState, OnPaint>},
};

}  // namespace

bool RegisterButtonClass() {
  return user::RegisterShapedClass<ButtonState, kRoutes>(WC_BUTTONW, CS_DBLCLKS);
}

}  // namespace pda::controls
