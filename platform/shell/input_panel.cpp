// The input panel's state and window, and the panel calls (SHSipPreference, SipShowIM,
// SipGetInfo, SHSipInfo).
#include "shell/input_panel.h"

#include <mutex>

#include "shell/bar_look.h"
#include "shell/keyboard_layout.h"
#include "shell/navigation_bar.h"
#include "shell/shell_metrics.h"
#include "shell/shell_window.h"

namespace pda::shell {
namespace {

constexpr char16_t kClassName[] = u"SipWndClass";

struct PanelState {
  bool up = false;
  HWND window;
  KeyboardPage page = KeyboardPage::Letters;
  bool shift = false;
  std::optional<RECT> pressed;
};
std::mutex panelMutex;
PanelState& State() {
  static PanelState* const state = new PanelState;
  return *state;
}

POINT PointOf(LPARAM lParam) {
  return {static_cast<SHORT>(LOWORD(static_cast<WPARAM>(lParam))),
          static_cast<SHORT>(HIWORD(static_cast<WPARAM>(lParam)))};
}

// The character goes to the focus window as the platform's typed-character sequence. The key
// messages carry VK_PACKET, which TranslateMessage leaves alone, so a message loop that
// translates does not type the character twice.
void Type(char16_t c) {
  HWND target = GetFocus();
  if (!target) target = GetForegroundWindow();
  if (!target) return;
  PostMessageW(target, WM_KEYDOWN, VK_PACKET, 1);
  PostMessageW(target, WM_CHAR, c, 1);
  PostMessageW(target, WM_KEYUP, VK_PACKET, static_cast<LPARAM>(0xC0000001u));
}

void OnKey(const Key& key) {
  char16_t typed = 0;
  {
    std::lock_guard lock(panelMutex);
    PanelState& s = State();
    switch (key.action) {
      case KeyAction::Shift: s.shift = !s.shift; break;
      case KeyAction::Symbols: s.page = KeyboardPage::Symbols; break;
      case KeyAction::Letters: s.page = KeyboardPage::Letters; break;
      default:
        typed = CharacterOf(key, s.shift);
        if (key.action == KeyAction::Character) s.shift = false;  // shift holds for one key
        break;
    }
  }
  if (typed) Type(typed);
}

LRESULT PanelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  RECT client{};
  switch (message) {
    case WM_PAINT:
      PaintShellWindow(window, [](HDC dc, const RECT& area) {
        InputPanelView view;
        {
          std::lock_guard lock(panelMutex);
          view = {State().page, State().shift, State().pressed};
        }
        PaintInputPanel(dc, area, view);
      });
      return 0;
    case WM_SETTINGCHANGE: FollowScreen(window, wParam, InputPanelRect()); return 0;
    case WM_LBUTTONDOWN: {
      GetClientRect(window, &client);
      std::lock_guard lock(panelMutex);
      const auto key = KeyAt(State().page, client, PointOf(lParam));
      State().pressed = key ? std::optional<RECT>(key->rect) : std::nullopt;
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    }
    case WM_LBUTTONUP: {
      GetClientRect(window, &client);
      std::optional<PlacedKey> key;
      std::optional<RECT> pressed;
      {
        std::lock_guard lock(panelMutex);
        key = KeyAt(State().page, client, PointOf(lParam));
        pressed = State().pressed;
        State().pressed.reset();
      }
      InvalidateRect(window, nullptr, FALSE);
      // The key fires on release over the key it was pressed on; sliding off cancels it.
      if (key && pressed && pressed->left == key->rect.left && pressed->top == key->rect.top)
        OnKey(key->key);
      return 0;
    }
    case WM_DESTROY: {
      std::lock_guard lock(panelMutex);
      if (State().window == window) State().window = HWND{};
      return 0;
    }
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND EnsurePanelWindow() {
  {
    std::lock_guard lock(panelMutex);
    if (IsWindow(State().window)) return State().window;
  }
  if (!EnsureShellClass(kClassName, PanelProcedure)) return HWND{};
  const HWND window = CreateShellWindow(kClassName, InputPanelRect(), HWND{}, false, nullptr);
  std::lock_guard lock(panelMutex);
  State().window = window;
  return window;
}

}  // namespace

bool InputPanelIsUp() {
  std::lock_guard lock(panelMutex);
  return State().up;
}

HWND InputPanel() {
  std::lock_guard lock(panelMutex);
  return IsWindow(State().window) ? State().window : HWND{};
}

RECT VisibleDesktop() {
  const RECT top = NavigationBarRect();
  const RECT bottom = InputPanelIsUp() ? InputPanelRect() : MenuBarRect();
  return {top.left, top.bottom, top.right, bottom.top};
}

void SetInputPanel(bool up) {
  {
    std::lock_guard lock(panelMutex);
    if (State().up == up) return;
    State().up = up;
    if (!up) {
      State().shift = false;
      State().pressed.reset();
    }
  }
  const HWND window = up ? EnsurePanelWindow() : InputPanel();
  if (window) {
    const RECT r = InputPanelRect();
    if (up)
      SetWindowPos(window, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    else
      ShowWindow(window, SW_HIDE);
  }
  TellTopLevelWindows(window ? window : NavigationBar(), WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
}

void ResetInputPanel() {
  HWND window;
  {
    std::lock_guard lock(panelMutex);
    State().up = false;
    State().page = KeyboardPage::Letters;
    State().shift = false;
    State().pressed.reset();
    window = State().window;
  }
  if (IsWindow(window)) DestroyWindow(window);
}

}  // namespace pda::shell

using namespace pda::shell;

BOOL SHSipPreference(HWND window, SIPSTATE state) {
  if (!IsWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  switch (state) {
    case SIP_UP: SetInputPanel(true); return TRUE;
    case SIP_DOWN:
    case SIP_FORCEDOWN: SetInputPanel(false); return TRUE;
    case SIP_UNCHANGED:
    case SIP_INPUTDIALOG: return TRUE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

BOOL SipShowIM(DWORD flags) {
  SetInputPanel((flags & SIPF_ON) != 0);
  return TRUE;
}

BOOL SipGetInfo(SIPINFO* info) {
  if (!info || info->cbSize != SIPINFO_PUBLISHED_SIZE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const bool up = InputPanelIsUp();
  info->fdwFlags = SIPF_DOCKED | (up ? SIPF_ON : SIPF_OFF);
  info->rcVisibleDesktop = VisibleDesktop();
  info->rcSipRect = InputPanelRect();
  info->dwImDataSize = 0;
  info->pvImData = nullptr;
  return TRUE;
}

BOOL SHSipInfo(UINT action, UINT /*param*/, void* pvParam, UINT /*winIni*/) {
  auto* info = static_cast<SIPINFO*>(pvParam);
  if (action == SPI_GETSIPINFO) return SipGetInfo(info);
  if (action == SPI_SETSIPINFO) {
    if (!info || info->cbSize != SIPINFO_PUBLISHED_SIZE) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    SetInputPanel((info->fdwFlags & SIPF_ON) != 0);
    return TRUE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
