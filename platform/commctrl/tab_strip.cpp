// The sheet's tab strip (see tab_strip.h): equal tabs across the strip, the press held with
// capture until the lift.
#include "commctrl/tab_strip.h"

#include <memory>

#include "look/look.h"
#include "pda/commctrl.h"
#include "pda/gdi.h"
#include "user/window_shape.h"

namespace pda::commctrl {
namespace {

struct TabStrip {
  static std::unique_ptr<TabStrip> Create(HWND window, const CREATESTRUCTW& create) {
    const auto* content = static_cast<const TabStripContent*>(create.lpCreateParams);
    if (!content || content->titles.empty()) return nullptr;
    return std::make_unique<TabStrip>(TabStrip{window, *content, -1, -1});
  }
  HWND window;
  TabStripContent content;
  int selected;
  int pressed;  // the tab the stylus went down on, until the lift
};

RECT TabRect(const TabStrip& s, int index) {
  RECT client{};
  GetClientRect(s.window, &client);
  const int count = static_cast<int>(s.content.titles.size());
  return {client.right * index / count, 0, client.right * (index + 1) / count, client.bottom};
}

int TabAt(const TabStrip& s, LPARAM point) {
  const POINT p = user::StylusPoint(point);
  for (int i = 0; i < static_cast<int>(s.content.titles.size()); ++i) {
    const RECT r = TabRect(s, i);
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return i;
  }
  return -1;
}

LRESULT OnButtonDown(TabStrip& s, WPARAM, LPARAM point) {
  s.pressed = TabAt(s, point);
  if (s.pressed >= 0) SetCapture(s.window);
  return 0;
}

LRESULT OnButtonUp(TabStrip& s, WPARAM, LPARAM point) {
  const int held = s.pressed;
  s.pressed = -1;
  if (GetCapture() == s.window) ReleaseCapture();
  if (held >= 0 && TabAt(s, point) == held)
    SendMessageW(GetParent(s.window), PSM_SETCURSEL, static_cast<WPARAM>(held), 0);
  return 0;
}

LRESULT OnCaptureChanged(TabStrip& s, WPARAM, LPARAM) {
  s.pressed = -1;
  return 0;
}

void Paint(TabStrip& s, HDC dc, const RECT& client) {
  look::Fill(dc, client, look::palette::kButtonFace);
  const ScopedSelect font(dc, s.content.font ? HGDIOBJ(s.content.font)
                                             : GetStockObject(SYSTEM_FONT));
  for (int i = 0; i < static_cast<int>(s.content.titles.size()); ++i) {
    const RECT r = TabRect(s, i);
    if (i == s.selected) look::Fill(dc, r, look::palette::kWindow);
    look::Frame(dc, r, 1, look::palette::kEdge);
    look::Text(dc, r, s.content.titles[static_cast<std::size_t>(i)], look::palette::kText,
               DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

constexpr user::Route<TabStrip> kRoutes[] = {
    {WM_LBUTTONDOWN,    OnButtonDown},
    {WM_LBUTTONUP,      OnButtonUp},
    {WM_CAPTURECHANGED, OnCaptureChanged},
    {WM_PAINT,          user::PaintThrough<TabStrip, Paint>},
};

}  // namespace

bool RegisterTabStripClass() {
  return user::RegisterShapedClass<TabStrip, kRoutes>(kTabStripClass);
}

void SelectTab(HWND strip, int index) {
  TabStrip* s = user::ShapedState<TabStrip>(strip);
  if (!s || s->selected == index) return;
  s->selected = index;
  InvalidateRect(strip, nullptr, FALSE);
}

}  // namespace pda::commctrl
