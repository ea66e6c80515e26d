// TrackPopupMenuEx: a top-level window of a private class over the screen, holding the stylus
// while it is open, and the modal loop that waits until an item is chosen or the menu is
// dismissed. The look is in popup_menu_look.cpp.
//
// A popup menu is usually opened while the stylus is still down (a tap-and-hold): the lift of
// that press over an item chooses it; lifted anywhere else, the menu stays open for a tap. A press
// that starts outside the menu (once lifted: the whole tap is the menu's, nothing under it gets
// half of it), or one that starts in it and is lifted outside, dismisses it.
//
// Sections: open menus (for tests) | window procedure | TrackPopupMenuEx
#include <memory>
#include <utility>
#include <optional>

#include "display/display.h"
#include "look/look.h"
#include "pda/testing/dialogs.h"
#include "user/modal_loop.h"
#include "user/modal_owner.h"
#include "user/open_list.h"
#include "user/popup_menu.h"
#include "user/window_shape.h"

namespace pda::user {
namespace {

constexpr char16_t kMenuClass[] = u"pda:PopupMenu";

// One tracked menu, owned by the TrackPopupMenuEx call that waits for it.
struct Tracked {
  POINT anchor{};
  UINT flags = 0;
  int dpi = 96;
  UniqueFont font;
  PopupMenuLayout layout;
  HWND window;
  int hot = -1;          // the highlighted row
  bool pressed = false;  // a press began inside the menu and is not lifted yet
  bool closing = false;  // a press began outside the menu and is not lifted yet
  std::optional<UINT> chosen;
  bool dismissed = false;

  bool over() const { return chosen.has_value() || dismissed; }
  bool choosable(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < layout.rows.size() &&
           layout.rows[static_cast<std::size_t>(row)].enabled;
  }
};

// ---- open menus (for tests) ----------------------------------------------------------------
OpenList<Tracked>& Open() {
  static auto* const open = new OpenList<Tracked>;
  return *open;
}

// ---- window procedure ----------------------------------------------------------------------
struct MenuWindow {
  static std::unique_ptr<MenuWindow> Create(HWND window, const CREATESTRUCTW& create) {
    auto* tracked = static_cast<Tracked*>(create.lpCreateParams);
    if (!tracked) return nullptr;
    return std::make_unique<MenuWindow>(MenuWindow{window, tracked});
  }
  HWND window;
  Tracked* menu;
};

bool Inside(const Tracked& menu, POINT p) {
  return p.x >= 0 && p.y >= 0 && p.x < menu.layout.panel.right - menu.layout.panel.left &&
         p.y < menu.layout.panel.bottom - menu.layout.panel.top;
}

// The row under a client point, or -1.
int RowAt(const Tracked& menu, POINT p) {
  for (std::size_t i = 0; i < menu.layout.rows.size(); ++i) {
    const RECT& r = menu.layout.rows[i].rect;
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
      return static_cast<int>(i);
  }
  return -1;
}

void SetHot(MenuWindow& w, int row) {
  Tracked& menu = *w.menu;
  if (!menu.choosable(row)) row = -1;
  if (menu.hot == row) return;
  menu.hot = row;
  InvalidateRect(w.window, nullptr, FALSE);
}

void Choose(Tracked& menu, int row) {
  if (menu.choosable(row)) menu.chosen = menu.layout.rows[static_cast<std::size_t>(row)].command;
}

LRESULT OnButtonDown(MenuWindow& w, WPARAM, LPARAM point) {
  Tracked& menu = *w.menu;
  const POINT p = StylusPoint(point);
  if (!Inside(menu, p)) {
    menu.closing = true;  // a tap outside: over at its lift
    return 0;
  }
  menu.pressed = true;
  SetHot(w, RowAt(menu, p));
  return 0;
}

LRESULT OnMove(MenuWindow& w, WPARAM, LPARAM point) {
  SetHot(w, RowAt(*w.menu, StylusPoint(point)));
  return 0;
}

LRESULT OnButtonUp(MenuWindow& w, WPARAM, LPARAM point) {
  Tracked& menu = *w.menu;
  const POINT p = StylusPoint(point);
  const bool pressedHere = std::exchange(menu.pressed, false);
  const int row = RowAt(menu, p);
  if (std::exchange(menu.closing, false)) {
    menu.dismissed = true;
  } else if (menu.choosable(row)) {
    Choose(menu, row);
  } else if (pressedHere && !Inside(menu, p)) {
    menu.dismissed = true;  // pressed in the menu and lifted elsewhere
  } else {
    SetHot(w, -1);  // the lift of the opening press, or on a row that cannot be chosen
  }
  return 0;
}

// Another window took the stylus: the menu gives up.
LRESULT OnCaptureChanged(MenuWindow& w, WPARAM, LPARAM newHolder) {
  if (static_cast<std::uint32_t>(newHolder) != w.window.value) w.menu->dismissed = true;
  return 0;
}

// The next choosable row from `from` in `step` direction, wrapping; -1 when there is none.
int NextChoosable(const Tracked& menu, int from, int step) {
  const int count = static_cast<int>(menu.layout.rows.size());
  int row = from < 0 ? (step > 0 ? -1 : count) : from;
  for (int i = 0; i < count; ++i) {
    row = (row + step + count) % count;
    if (menu.choosable(row)) return row;
  }
  return -1;
}

LRESULT OnKeyDown(MenuWindow& w, WPARAM key, LPARAM) {
  Tracked& menu = *w.menu;
  switch (static_cast<int>(key)) {
    case VK_UP: SetHot(w, NextChoosable(menu, menu.hot, -1)); break;
    case VK_DOWN: SetHot(w, NextChoosable(menu, menu.hot, 1)); break;
    case VK_RETURN: Choose(menu, menu.hot); break;
    case VK_ESCAPE: menu.dismissed = true; break;
    default: break;
  }
  return 0;
}

LRESULT OnDismiss(MenuWindow& w, WPARAM, LPARAM) {
  w.menu->dismissed = true;
  return 0;
}

void PaintMenu(MenuWindow& w, HDC dc, const RECT&) {
  const Tracked& menu = *w.menu;
  PaintPopupMenu(dc, menu.layout, menu.font.get(), menu.dpi, menu.hot);
}

constexpr Route<MenuWindow> kMenuRoutes[] = {
    {WM_LBUTTONDOWN,    OnButtonDown},
    {WM_MOUSEMOVE,      OnMove},
    {WM_LBUTTONUP,      OnButtonUp},
    {WM_CAPTURECHANGED, OnCaptureChanged},
    {WM_KEYDOWN,        OnKeyDown},
    {WM_CLOSE,          OnDismiss},
    {WM_CANCELMODE,     OnDismiss},
    {WM_PAINT,          PaintThrough<MenuWindow, PaintMenu>},
};

}  // namespace
}  // namespace pda::user

// ---- TrackPopupMenuEx ----------------------------------------------------------------------
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
  using namespace pda::user;
  static const bool registered = RegisterShapedClass<MenuWindow, kMenuRoutes>(kMenuClass);
  if (!registered || !IsMenu(menu)) return FALSE;
  if (owner && !(flags & TPM_NONOTIFY))
    SendMessageW(owner, WM_INITMENUPOPUP, static_cast<WPARAM>(menu.value), 0);
  const auto screen = pda::display::CurrentScreen();
  Tracked tracked;
  tracked.anchor = POINT{x, y};
  tracked.flags = flags;
  tracked.dpi = screen.dpi;
  tracked.font = pda::look::SystemFont(pda::look::PointsToPixels(9, screen.dpi));
  const RECT exclude = params && params->cbSize >= sizeof(TPMPARAMS) ? params->rcExclude : RECT{};
  tracked.layout = LayOutPopupMenu(MenuItems(menu), tracked.font.get(), tracked.anchor, flags,
                                   exclude, screen.width, screen.height, screen.dpi);
  const HWND topOwner = TopLevelOf(owner);
  const HWND focusBefore = GetFocus();
  const RECT& panel = tracked.layout.panel;
  tracked.window = CreateWindowExW(0, kMenuClass, u"", WS_POPUP | WS_VISIBLE, panel.left, panel.top,
                                   panel.right - panel.left, panel.bottom - panel.top, topOwner,
                                   HANDLE{}, HINSTANCE{}, &tracked);
  if (!tracked.window) return FALSE;
  {
    OpenList<Tracked>::Entry entry(Open(), &tracked);
    SetForegroundWindow(tracked.window);
    SetFocus(tracked.window);
    SetCapture(tracked.window);  // every press and lift comes here, wherever it is
    RunModalLoop(tracked.window, [&tracked] { return tracked.over(); });
  }
  if (GetCapture() == tracked.window) ReleaseCapture();
  if (IsWindow(tracked.window)) DestroyWindow(tracked.window);
  if (topOwner && IsWindow(topOwner)) SetForegroundWindow(topOwner);
  if (focusBefore && IsWindow(focusBefore)) SetFocus(focusBefore);

  const UINT command = tracked.chosen.value_or(0);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(command);
  if (!tracked.chosen) return FALSE;
  if (owner) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
  return TRUE;
}

namespace pda::testing {

std::optional<PopupMenuInfo> OpenPopupMenu() {
  return user::Open().Newest([](const user::Tracked& menu) {
    PopupMenuInfo info{menu.window, menu.anchor, menu.flags, {}};
    const RECT& panel = menu.layout.panel;
    for (const auto& row : menu.layout.rows)
      info.items.push_back({row.text, row.command,
                            RECT{panel.left + row.rect.left, panel.top + row.rect.top,
                                 panel.left + row.rect.right, panel.top + row.rect.bottom}});
    return info;
  });
}

}  // namespace pda::testing
