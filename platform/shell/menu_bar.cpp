// SHCreateMenuBar and the menu bar's window: two soft keys from a menu resource and the
// input-panel button between them.
#include "shell/menu_bar.h"

#include <memory>

#include "shell/bar_look.h"
#include "shell/input_panel.h"
#include "shell/navigation_bar.h"
#include "shell/shell_metrics.h"
#include "shell/shell_window.h"
#include "user/menu.h"

namespace pda::shell {
namespace {

// One per bar, made at WM_CREATE and freed at WM_DESTROY (the window's user data).
struct MenuBarState {
  HWND owner;
  HMENU menu;  // null for an empty bar
  bool inputPanelButton = false;
  std::optional<COLORREF> background;
  MenuBarPart pressed = MenuBarPart::None;
};

MenuBarState* StateOf(HWND window) {
  return reinterpret_cast<MenuBarState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

struct SoftKey {
  SoftKeyView view;
  UINT command = 0;
  bool runs = false;  // a plain command item that is enabled
};

SoftKey KeyOf(const MenuBarState& state, std::size_t position) {
  SoftKey key;
  const std::vector<user::MenuItemView> items = user::MenuItems(state.menu);
  if (position >= items.size()) return key;
  const user::MenuItemView& item = items[position];
  key.view.text = item.text;
  key.view.enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
  key.command = item.id;
  // A popup item would open its menu; popup menus are not offered by the platform yet.
  key.runs = key.view.enabled && !(item.flags & (MF_POPUP | MF_SEPARATOR));
  return key;
}

MenuBarView ViewOf(const MenuBarState& state) {
  MenuBarView view;
  view.left = KeyOf(state, 0).view;
  view.right = KeyOf(state, 1).view;
  view.inputPanelButton = state.inputPanelButton;
  view.inputPanelUp = InputPanelIsUp();
  view.pressed = state.pressed;
  view.background = state.background;
  return view;
}

POINT PointOf(LPARAM lParam) {
  return {static_cast<SHORT>(LOWORD(static_cast<WPARAM>(lParam))),
          static_cast<SHORT>(HIWORD(static_cast<WPARAM>(lParam)))};
}

MenuBarPart PartUnder(HWND window, const MenuBarState& state, LPARAM lParam) {
  RECT client{};
  GetClientRect(window, &client);
  return PartAt(LayOutMenuBar(client, state.inputPanelButton), PointOf(lParam));
}

void OnRelease(HWND window, MenuBarState& state, LPARAM lParam) {
  const MenuBarPart part = PartUnder(window, state, lParam);
  const MenuBarPart pressed = state.pressed;
  state.pressed = MenuBarPart::None;
  InvalidateRect(window, nullptr, FALSE);
  if (part != pressed) return;  // the stylus slid off the key: nothing happens
  if (part == MenuBarPart::InputPanelButton) {
    SipShowIM(InputPanelIsUp() ? SIPF_OFF : SIPF_ON);
    return;
  }
  const SoftKey key = KeyOf(state, part == MenuBarPart::Left ? 0 : 1);
  // The owner may destroy the bar while it handles the command: nothing of the state is used after.
  if (key.runs) SendMessageW(state.owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(key.command), 0), 0);
}

LRESULT BarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return 0;
  }
  MenuBarState* state = StateOf(window);
  if (!state) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      PaintShellWindow(window, [&](HDC dc, const RECT& client) { PaintMenuBar(dc, client, ViewOf(*state)); });
      return 0;
    case WM_LBUTTONDOWN:
      state->pressed = PartUnder(window, *state, lParam);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: OnRelease(window, *state, lParam); return 0;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETSIPINFO) InvalidateRect(window, nullptr, FALSE);  // the button's look
      FollowScreen(window, wParam, MenuBarRect());
      return 0;
    case WM_DESTROY: {
      std::unique_ptr<MenuBarState> owned(state);
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      if (owned->menu) DestroyMenu(owned->menu);
      return 0;
    }
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace
}  // namespace pda::shell

using namespace pda::shell;

BOOL SHCreateMenuBar(PSHMENUBARINFO info) {
  if (!info || info->cbSize != sizeof(SHMENUBARINFO) || !IsWindow(info->hwndParent)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto state = std::make_unique<MenuBarState>();
  state->owner = info->hwndParent;
  state->inputPanelButton = !(info->dwFlags & SHCMBF_HIDESIPBUTTON);
  if (info->dwFlags & SHCMBF_COLORBK) state->background = info->clrBk;
  if (!(info->dwFlags & SHCMBF_EMPTYBAR)) {
    if (!(info->dwFlags & SHCMBF_HMENU)) {
      SetLastError(ERROR_NOT_SUPPORTED);  // toolbar resources
      return FALSE;
    }
    state->menu = LoadMenuW(info->hInstRes, MAKEINTRESOURCEW(static_cast<WORD>(info->nToolBarId)));
    if (!state->menu) return FALSE;  // last error from LoadMenuW
  }
  if (!EnsureShellClass(kMenuBarClass, BarProcedure)) return FALSE;
  EnsureNavigationBar();
  const HMENU menu = state->menu;
  const HWND bar = CreateShellWindow(kMenuBarClass, MenuBarRect(), info->hwndParent,
                                     !(info->dwFlags & SHCMBF_HIDDEN), state.get());
  if (!bar) {
    if (menu) DestroyMenu(menu);
    return FALSE;
  }
  state.release();  // the window owns it now (freed at WM_DESTROY)
  info->hwndMB = bar;
  return TRUE;
}
