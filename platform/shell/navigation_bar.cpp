// The navigation bar's window: clock timer, icon taps, repaint on foreground and title changes.
#include "shell/navigation_bar.h"

#include <mutex>

#include "shell/bar_look.h"
#include "shell/notify_icons.h"
#include "shell/shell_metrics.h"
#include "shell/shell_window.h"
#include "user/shell_watch.h"

namespace pda::shell {
namespace {

constexpr char16_t kClassName[] = u"HHTaskBar";
constexpr UINT_PTR kClockTimer = 1;

struct BarState {
  HWND window;
  std::u16string clock;
  // The icon under the stylus since the press: its owner hears the release too.
  HWND pressedOwner;
  UINT pressedId = 0;
  UINT pressedMessage = 0;
};
std::mutex stateMutex;
BarState& State() {
  static BarState* const state = new BarState;
  return *state;
}

// The clock turns over on the minute: the timer is set for the rest of this minute each time.
void ArmClock(HWND window) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const UINT rest = (60 - now.wSecond) * 1000u - now.wMilliseconds;
  SetTimer(window, kClockTimer, rest ? rest : 60000, nullptr);
  std::lock_guard lock(stateMutex);
  State().clock = ClockText(now);
}

NavigationBarView CurrentView() {
  NavigationBarView view;
  if (const HWND foreground = GetForegroundWindow()) {
    char16_t title[128] = {};
    GetWindowTextW(foreground, title, 128);
    view.title = title;
  }
  view.clock = NavigationBarClock();
  for (const NotifyIcon& icon : CurrentNotifyIcons()) view.icons.push_back(icon.image);
  return view;
}

void OnPress(HWND window, POINT point) {
  RECT client{};
  GetClientRect(window, &client);
  const std::vector<NotifyIcon> icons = CurrentNotifyIcons();
  const int index = IconAt(LayOutNavigationBar(client, icons.size()), point);
  if (index < 0) return;
  const NotifyIcon& icon = icons[static_cast<std::size_t>(index)];
  {
    std::lock_guard lock(stateMutex);
    State().pressedOwner = icon.owner;
    State().pressedId = icon.id;
    State().pressedMessage = icon.callbackMessage;
  }
  if (icon.callbackMessage)
    SendMessageW(icon.owner, icon.callbackMessage, icon.id, WM_LBUTTONDOWN);
}

void OnRelease() {
  BarState pressed;
  {
    std::lock_guard lock(stateMutex);
    pressed = State();
    State().pressedOwner = HWND{};
  }
  if (pressed.pressedOwner && pressed.pressedMessage && IsWindow(pressed.pressedOwner))
    SendMessageW(pressed.pressedOwner, pressed.pressedMessage, pressed.pressedId, WM_LBUTTONUP);
}

LRESULT BarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: ArmClock(window); return 0;
    case WM_TIMER:
      if (wParam != kClockTimer) break;
      ArmClock(window);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_PAINT:
      PaintShellWindow(window, [](HDC dc, const RECT& client) {
        PaintNavigationBar(dc, client, CurrentView());
      });
      return 0;
    case WM_LBUTTONDOWN:
      OnPress(window, {static_cast<SHORT>(LOWORD(static_cast<WPARAM>(lParam))),
                       static_cast<SHORT>(HIWORD(static_cast<WPARAM>(lParam)))});
      return 0;
    case WM_LBUTTONUP: OnRelease(); return 0;
    case WM_SETTINGCHANGE: FollowScreen(window, wParam, NavigationBarRect()); return 0;
    case WM_DESTROY: {
      std::lock_guard lock(stateMutex);
      if (State().window == window) State().window = HWND{};
      return 0;
    }
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::u16string ClockText(const SYSTEMTIME& time) {
  const char16_t text[] = {static_cast<char16_t>(u'0' + time.wHour / 10 % 10),
                           static_cast<char16_t>(u'0' + time.wHour % 10), u':',
                           static_cast<char16_t>(u'0' + time.wMinute / 10 % 10),
                           static_cast<char16_t>(u'0' + time.wMinute % 10)};
  return std::u16string(text, 5);
}

std::u16string NavigationBarClock() {
  std::lock_guard lock(stateMutex);
  return State().clock;
}

HWND NavigationBar() {
  std::lock_guard lock(stateMutex);
  return IsWindow(State().window) ? State().window : HWND{};
}

HWND EnsureNavigationBar() {
  if (const HWND bar = NavigationBar()) return bar;
  if (!EnsureShellClass(kClassName, BarProcedure)) return HWND{};
  const HWND bar = CreateShellWindow(kClassName, NavigationBarRect(), HWND{}, true, nullptr);
  if (!bar) return HWND{};
  {
    std::lock_guard lock(stateMutex);
    State().window = bar;
  }
  user::SetShellWatch(RefreshNavigationBar);
  return bar;
}

void RefreshNavigationBar() {
  if (const HWND bar = NavigationBar()) InvalidateRect(bar, nullptr, FALSE);
}

void DestroyNavigationBar() {
  user::SetShellWatch({});
  if (const HWND bar = NavigationBar()) DestroyWindow(bar);
}

}  // namespace pda::shell
