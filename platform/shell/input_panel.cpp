// The input panel's state and window, and the panel calls (SHSipPreference, SipShowIM,
// SipGetInfo, SHSipInfo).
#include "shell/input_panel.h"

#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "shell/bar_look.h"
#include "shell/keyboard_layout.h"
#include "shell/navigation_bar.h"
#include "shell/shell_metrics.h"
#include "shell/shell_window.h"
#include "user/window_shape.h"

namespace pda::shell {
namespace {

constexpr char16_t kClassName[] = u"SipWndClass";

// Whether the panel is up, and its window: the panel's state outside its window (any thread).
struct Panel {
  bool up = false;
  HWND window;
};
std::mutex panelMutex;
Panel& ThePanel() {
  static Panel* const panel = new Panel;
  return *panel;
}

// The keyboard's own state, from its window's creation to its destruction (the UI thread).
struct KeyboardState {
  static std::unique_ptr<KeyboardState> Create(HWND window, const CREATESTRUCTW&) {
    auto state = std::make_unique<KeyboardState>();
    state->window = window;
    return state;
  }

  HWND window;
  KeyboardPage page = KeyboardPage::Letters;
  bool shift = false;
  // The key the stylus went down on; it holds the stylus until the release and shows pressed
  // only while the stylus is over it.
  std::optional<RECT> pressed;
  bool over = false;
};

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

void OnKey(KeyboardState& s, const Key& key) {
  switch (key.action) {
    case KeyAction::Shift: s.shift = !s.shift; return;
    case KeyAction::Symbols: s.page = KeyboardPage::Symbols; return;
    case KeyAction::Letters: s.page = KeyboardPage::Letters; return;
    default: break;
  }
  const char16_t typed = CharacterOf(key, s.shift);
  if (key.action == KeyAction::Character) s.shift = false;  // shift holds for one key
  if (typed) Type(typed);
}

std::optional<PlacedKey> KeyUnder(const KeyboardState& s, LPARAM lParam) {
  RECT client{};
  GetClientRect(s.window, &client);
  return KeyAt(s.page, client, user::StylusPoint(lParam));
}

bool SameKey(const RECT& a, const RECT& b) { return a.left == b.left && a.top == b.top; }

void Paint(KeyboardState& s, HDC dc, const RECT& area) {
  PaintInputPanel(dc, area, InputPanelView{s.page, s.shift, s.over ? s.pressed : std::nullopt});
}

bool Over(const KeyboardState& s, LPARAM lParam) {
  const auto key = KeyUnder(s, lParam);
  return key && s.pressed && SameKey(*s.pressed, key->rect);
}

// Ends a press without typing.
void EndPress(KeyboardState& s) {
  if (!s.pressed) return;
  s.pressed.reset();
  s.over = false;
  InvalidateRect(s.window, nullptr, FALSE);
}

LRESULT OnPress(KeyboardState& s, WPARAM, LPARAM lParam) {
  const auto key = KeyUnder(s, lParam);
  s.pressed = key ? std::optional<RECT>(key->rect) : std::nullopt;
  s.over = key.has_value();
  if (s.over) SetCapture(s.window);
  InvalidateRect(s.window, nullptr, FALSE);
  return 0;
}

LRESULT OnMove(KeyboardState& s, WPARAM, LPARAM lParam) {
  if (!s.pressed) return 0;
  const bool over = Over(s, lParam);
  if (over != s.over) {
    s.over = over;
    InvalidateRect(s.window, nullptr, FALSE);
  }
  return 0;
}

LRESULT OnRelease(KeyboardState& s, WPARAM, LPARAM lParam) {
  const auto key = KeyUnder(s, lParam);
  const bool types = Over(s, lParam);
  EndPress(s);
  if (GetCapture() == s.window) ReleaseCapture();
  // The key fires on release over the key it was pressed on; sliding off cancels it.
  if (types) OnKey(s, key->key);
  return 0;
}

// Another window took the stylus: the press is over, and types nothing.
LRESULT OnCaptureChanged(KeyboardState& s, WPARAM, LPARAM) {
  EndPress(s);
  return 0;
}

LRESULT OnSettingChange(KeyboardState& s, WPARAM wParam, LPARAM) {
  FollowScreen(s.window, wParam, InputPanelRect());
  return 0;
}

LRESULT OnHide(KeyboardState& s, WPARAM shown, LPARAM) {
  if (!shown) {  // a lowered panel comes back unshifted, nothing pressed
    s.shift = false;
    EndPress(s);
  }
  return 0;
}

LRESULT OnDestroy(KeyboardState& s, WPARAM, LPARAM) {
  std::lock_guard lock(panelMutex);
  if (ThePanel().window == s.window) ThePanel().window = HWND{};
  return 0;
}

constexpr user::Route<KeyboardState> kRoutes[] = {
    {WM_PAINT,          user::PaintThrough<KeyboardState, Paint>},
    {WM_LBUTTONDOWN,    OnPress},
    {WM_MOUSEMOVE,      OnMove},
    {WM_LBUTTONUP,      OnRelease},
    {WM_CAPTURECHANGED, OnCaptureChanged},
    {WM_SETTINGCHANGE,  OnSettingChange},
    {WM_SHOWWINDOW,     OnHide},
    {WM_DESTROY,        OnDestroy},
};

HWND EnsurePanelWindow() {
  {
    std::lock_guard lock(panelMutex);
    if (IsWindow(ThePanel().window)) return ThePanel().window;
  }
  if (!user::RegisterShapedClass<KeyboardState, kRoutes>(kClassName, 0, ShellInstance()))
    return HWND{};
  const HWND window = CreateShellWindow(kClassName, InputPanelRect(), HWND{}, false, nullptr);
  std::lock_guard lock(panelMutex);
  ThePanel().window = window;
  return window;
}

}  // namespace

bool InputPanelIsUp() {
  std::lock_guard lock(panelMutex);
  return ThePanel().up;
}

HWND InputPanel() {
  std::lock_guard lock(panelMutex);
  return IsWindow(ThePanel().window) ? ThePanel().window : HWND{};
}

RECT VisibleDesktop() {
  const RECT top = NavigationBarRect();
  const RECT bottom = InputPanelIsUp() ? InputPanelRect() : MenuBarRect();
  return {top.left, top.bottom, top.right, bottom.top};
}

void SetInputPanel(bool up) {
  {
    std::lock_guard lock(panelMutex);
    if (ThePanel().up == up) return;
    ThePanel().up = up;
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
    ThePanel().up = false;
    window = ThePanel().window;
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
