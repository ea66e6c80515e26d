// SHCreateMenuBar and the menu bar's window: two soft keys from a menu (a resource, or one the
// platform built) and the input-panel button between them.
#include "shell/menu_bar.h"

#include <memory>
#include <optional>

#include "shell/bar_look.h"
#include "shell/input_panel.h"
#include "shell/navigation_bar.h"
#include "shell/shell_metrics.h"
#include "shell/shell_window.h"
#include "user/menu.h"
#include "user/window_shape.h"

namespace pda::shell {
namespace {

// What SHCreateMenuBar asks for, handed to the bar's creation.
struct MenuBarSetup {
  HWND owner;
  UniqueMenu menu;  // null for an empty bar; the bar takes it over when it is made
  bool inputPanelButton = false;
  std::optional<COLORREF> background;
};

// One per bar, from WM_CREATE to WM_DESTROY.
struct MenuBarState {
  static std::unique_ptr<MenuBarState> Create(HWND window, const CREATESTRUCTW& create) {
    auto* setup = static_cast<MenuBarSetup*>(create.lpCreateParams);
    if (!setup) return nullptr;
    auto state = std::make_unique<MenuBarState>();
    state->window = window;
    state->owner = setup->owner;
    state->menu = std::move(setup->menu);
    state->inputPanelButton = setup->inputPanelButton;
    state->background = setup->background;
    return state;
  }

  HWND window;
  HWND owner;
  UniqueMenu menu;
  bool inputPanelButton = false;
  std::optional<COLORREF> background;
  // The part the stylus went down on; it holds the stylus until the release. It shows pressed
  // only while the stylus is over it.
  MenuBarPart pressed = MenuBarPart::None;
  bool over = false;
};

struct SoftKey {
  SoftKeyView view;
  UINT command = 0;
  bool runs = false;   // a plain command item that is enabled
  HMENU submenu;       // an enabled popup item: the menu it opens
};

SoftKey KeyOf(const MenuBarState& state, std::size_t position) {
  SoftKey key;
  const std::vector<user::MenuItemView> items = user::MenuItems(state.menu.get());
  if (position >= items.size()) return key;
  const user::MenuItemView& item = items[position];
  key.view.text = item.text;
  key.view.enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
  key.command = item.id;
  key.runs = key.view.enabled && !(item.flags & (MF_POPUP | MF_SEPARATOR));
  if (key.view.enabled && (item.flags & MF_POPUP)) key.submenu = item.submenu;
  return key;
}

MenuBarView ViewOf(const MenuBarState& state) {
  MenuBarView view;
  view.left = KeyOf(state, 0).view;
  view.right = KeyOf(state, 1).view;
  view.inputPanelButton = state.inputPanelButton;
  view.inputPanelUp = InputPanelIsUp();
  view.pressed = state.over ? state.pressed : MenuBarPart::None;
  view.background = state.background;
  return view;
}

MenuBarPart PartUnder(const MenuBarState& state, LPARAM lParam) {
  RECT client{};
  GetClientRect(state.window, &client);
  return PartAt(LayOutMenuBar(client, state.inputPanelButton), user::StylusPoint(lParam));
}

void Paint(MenuBarState& state, HDC dc, const RECT& client) { PaintMenuBar(dc, client, ViewOf(state)); }

// Ends a press without running it; true when there was one.
bool EndPress(MenuBarState& state) {
  if (state.pressed == MenuBarPart::None) return false;
  state.pressed = MenuBarPart::None;
  state.over = false;
  InvalidateRect(state.window, nullptr, FALSE);
  return true;
}

LRESULT OnPress(MenuBarState& state, WPARAM, LPARAM lParam) {
  state.pressed = PartUnder(state, lParam);
  state.over = state.pressed != MenuBarPart::None;
  if (state.over) SetCapture(state.window);
  InvalidateRect(state.window, nullptr, FALSE);
  return 0;
}

LRESULT OnMove(MenuBarState& state, WPARAM, LPARAM lParam) {
  if (state.pressed == MenuBarPart::None) return 0;
  const bool over = PartUnder(state, lParam) == state.pressed;
  if (over != state.over) {
    state.over = over;
    InvalidateRect(state.window, nullptr, FALSE);
  }
  return 0;
}

// A soft key's submenu, above the key and lined up with its outer edge; the owner gets the
// chosen command as WM_COMMAND.
void OpenSoftKeyMenu(const MenuBarState& state, HMENU submenu, bool left) {
  RECT client{};
  GetClientRect(state.window, &client);
  const MenuBarLayout layout = LayOutMenuBar(client, state.inputPanelButton);
  const RECT& key = left ? layout.left : layout.right;
  POINT corner{left ? key.left : key.right, key.top};
  ClientToScreen(state.window, &corner);
  TrackPopupMenuEx(submenu, TPM_BOTTOMALIGN | (left ? TPM_LEFTALIGN : TPM_RIGHTALIGN), corner.x,
                   corner.y, state.owner, nullptr);
}

LRESULT OnRelease(MenuBarState& state, WPARAM, LPARAM lParam) {
  const MenuBarPart pressed = state.pressed;
  const bool runs = pressed != MenuBarPart::None && PartUnder(state, lParam) == pressed;
  EndPress(state);
  if (GetCapture() == state.window) ReleaseCapture();
  if (!runs) return 0;  // the stylus slid off the key: nothing happens
  if (pressed == MenuBarPart::InputPanelButton) {
    SipShowIM(InputPanelIsUp() ? SIPF_OFF : SIPF_ON);
    return 0;
  }
  const bool left = pressed == MenuBarPart::Left;
  const SoftKey key = KeyOf(state, left ? 0 : 1);
  // The owner may destroy the bar while it handles the command: nothing of the state is used after.
  if (key.runs)
    SendMessageW(state.owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(key.command), 0), 0);
  else if (key.submenu)
    OpenSoftKeyMenu(state, key.submenu, left);
  return 0;
}

// Another window took the stylus: the press is over, and runs nothing.
LRESULT OnCaptureChanged(MenuBarState& state, WPARAM, LPARAM) {
  EndPress(state);
  return 0;
}

LRESULT OnSettingChange(MenuBarState& state, WPARAM wParam, LPARAM) {
  if (wParam == SPI_SETSIPINFO) InvalidateRect(state.window, nullptr, FALSE);  // the button's look
  FollowScreen(state.window, wParam, MenuBarRect());
  return 0;
}

constexpr user::Route<MenuBarState> kRoutes[] = {
    {WM_PAINT,          user::PaintThrough<MenuBarState, Paint>},
    {WM_LBUTTONDOWN,    OnPress},
    {WM_MOUSEMOVE,      OnMove},
    {WM_LBUTTONUP,      OnRelease},
    {WM_CAPTURECHANGED, OnCaptureChanged},
    {WM_SETTINGCHANGE,  OnSettingChange},
};

// The bar's window at the bottom of the screen; the bar takes the setup's menu over.
HWND MakeBar(MenuBarSetup& setup, bool visible) {
  if (!user::RegisterShapedClass<MenuBarState, kRoutes>(kMenuBarClass, 0, ShellInstance()))
    return HWND{};
  EnsureNavigationBar();
  return CreateShellWindow(kMenuBarClass, MenuBarRect(), setup.owner, visible, &setup);
}

}  // namespace

HWND CreateMenuBar(HWND owner, UniqueMenu menu, bool inputPanelButton) {
  if (!IsWindow(owner)) return HWND{};
  MenuBarSetup setup{owner, std::move(menu), inputPanelButton, std::nullopt};
  return MakeBar(setup, true);
}

}  // namespace pda::shell

using namespace pda::shell;

BOOL SHCreateMenuBar(PSHMENUBARINFO info) {
  if (!info || info->cbSize != sizeof(SHMENUBARINFO) || !IsWindow(info->hwndParent)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  MenuBarSetup setup{info->hwndParent, pda::UniqueMenu{},
                     !(info->dwFlags & SHCMBF_HIDESIPBUTTON), std::nullopt};
  if (info->dwFlags & SHCMBF_COLORBK) setup.background = info->clrBk;
  if (!(info->dwFlags & SHCMBF_EMPTYBAR)) {
    if (!(info->dwFlags & SHCMBF_HMENU)) {
      SetLastError(ERROR_NOT_SUPPORTED);  // toolbar resources
      return FALSE;
    }
    setup.menu.reset(
        LoadMenuW(info->hInstRes, MAKEINTRESOURCEW(static_cast<WORD>(info->nToolBarId))));
    if (!setup.menu) return FALSE;  // last error from LoadMenuW
  }
  const HWND bar = MakeBar(setup, !(info->dwFlags & SHCMBF_HIDDEN));
  if (!bar) return FALSE;  // the setup still holds the menu and destroys it
  info->hwndMB = bar;
  return TRUE;
}
