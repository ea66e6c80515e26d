// The navigation bar's window: clock timer, icon taps, repaint on foreground and title changes.
#include "shell/navigation_bar.h"

#include <atomic>
#include <memory>

#include "kernel/utf.h"
#include "shell/bar_look.h"
#include "shell/notify_icons.h"
#include "shell/shell_metrics.h"
#include "shell/shell_window.h"
#include "shell/status_bubble.h"
#include "user/shell_watch.h"
#include "user/window_shape.h"

namespace pda::shell {
namespace {

constexpr char16_t kClassName[] = u"HHTaskBar";
constexpr UINT_PTR kClockTimer = 1;
// Posted by the GPS driver's thread when the source's status changed.
constexpr UINT kGpsStatusChanged = WM_USER + 1;

// The one bar of the process (any thread may ask for it).
std::atomic<HWND> theBar{HWND{}};

struct BarState {
  static std::unique_ptr<BarState> Create(HWND window, const CREATESTRUCTW&);

  HWND window;
  std::u16string clock;
  // The icon under the stylus since the press: its owner hears the release too.
  HWND pressedOwner;
  UINT pressedId = 0;
  UINT pressedMessage = 0;
};

BarState* StateOfBar() {
  const HWND bar = theBar.load();
  return IsWindow(bar) ? user::ShapedState<BarState>(bar) : nullptr;
}

// The clock turns over on the minute: the timer is set for the rest of this minute each time.
void ArmClock(BarState& state) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const UINT rest = (60 - now.wSecond) * 1000u - now.wMilliseconds;
  SetTimer(state.window, kClockTimer, rest ? rest : 60000, nullptr);
  state.clock = ClockText(now);
}

std::unique_ptr<BarState> BarState::Create(HWND window, const CREATESTRUCTW&) {
  auto state = std::make_unique<BarState>();
  state->window = window;
  ArmClock(*state);
  return state;
}

NavigationBarView ViewOf(const BarState& state) {
  NavigationBarView view;
  if (const HWND foreground = GetForegroundWindow()) {
    char16_t title[128] = {};
    GetWindowTextW(foreground, title, 128);
    view.title = title;
  }
  view.clock = state.clock;
  view.gps = gps::CurrentSourceStatus().state;
  for (const NotifyIcon& icon : CurrentNotifyIcons()) view.icons.push_back(icon.image);
  return view;
}

void Paint(BarState& state, HDC dc, const RECT& client) {
  PaintNavigationBar(dc, client, ViewOf(state));
}

LRESULT OnTimer(BarState& state, WPARAM timer, LPARAM) {
  if (timer != kClockTimer) return 0;
  ArmClock(state);
  InvalidateRect(state.window, nullptr, FALSE);
  return 0;
}

// The GPS icon's tap: the source's name and state in words.
void ShowGpsStatus() {
  const gps::SourceStatus status = gps::CurrentSourceStatus();
  if (status.text.empty())
    ShowStatusBubble(status.state == gps::SourceState::NoSource ? u"GPS: no source" : u"GPS");
  else
    ShowStatusBubble(Utf8ToUtf16(status.text));
}

LRESULT OnPress(BarState& state, WPARAM, LPARAM lParam) {
  RECT client{};
  GetClientRect(state.window, &client);
  const std::vector<NotifyIcon> icons = CurrentNotifyIcons();
  const NavigationBarLayout layout = LayOutNavigationBar(client, icons.size());
  if (OnGpsIcon(layout, user::StylusPoint(lParam))) {
    ShowGpsStatus();
    return 0;
  }
  const int index = IconAt(layout, user::StylusPoint(lParam));
  if (index < 0) return 0;
  const NotifyIcon& icon = icons[static_cast<std::size_t>(index)];
  state.pressedOwner = icon.owner;
  state.pressedId = icon.id;
  state.pressedMessage = icon.callbackMessage;
  if (icon.callbackMessage)
    SendMessageW(icon.owner, icon.callbackMessage, icon.id, WM_LBUTTONDOWN);
  return 0;
}

LRESULT OnRelease(BarState& state, WPARAM, LPARAM) {
  const HWND owner = std::exchange(state.pressedOwner, HWND{});
  if (owner && state.pressedMessage && IsWindow(owner))
    SendMessageW(owner, state.pressedMessage, state.pressedId, WM_LBUTTONUP);
  return 0;
}

LRESULT OnGpsStatusChanged(BarState& state, WPARAM, LPARAM) {
  InvalidateRect(state.window, nullptr, FALSE);
  return 0;
}

LRESULT OnSettingChange(BarState& state, WPARAM wParam, LPARAM) {
  FollowScreen(state.window, wParam, NavigationBarRect());
  return 0;
}

LRESULT OnDestroy(BarState& state, WPARAM, LPARAM) {
  gps::SetSourceStatusCallback(nullptr, nullptr);
  HWND self = state.window;
  theBar.compare_exchange_strong(self, HWND{});
  return 0;
}

constexpr user::Route<BarState> kRoutes[] = {
    {WM_PAINT,           user::PaintThrough<BarState, Paint>},
    {WM_TIMER,           OnTimer},
    {WM_LBUTTONDOWN,     OnPress},
    {WM_LBUTTONUP,       OnRelease},
    {WM_SETTINGCHANGE,   OnSettingChange},
    {kGpsStatusChanged,  OnGpsStatusChanged},
    {WM_DESTROY,         OnDestroy},
};

}  // namespace

std::u16string ClockText(const SYSTEMTIME& time) {
  const char16_t text[] = {static_cast<char16_t>(u'0' + time.wHour / 10 % 10),
                           static_cast<char16_t>(u'0' + time.wHour % 10), u':',
                           static_cast<char16_t>(u'0' + time.wMinute / 10 % 10),
                           static_cast<char16_t>(u'0' + time.wMinute % 10)};
  return std::u16string(text, 5);
}

std::u16string NavigationBarClock() {
  const BarState* state = StateOfBar();
  return state ? state->clock : std::u16string();
}

HWND NavigationBar() {
  const HWND bar = theBar.load();
  return IsWindow(bar) ? bar : HWND{};
}

HWND EnsureNavigationBar() {
  if (const HWND bar = NavigationBar()) return bar;
  if (!user::RegisterShapedClass<BarState, kRoutes>(kClassName, 0, ShellInstance())) return HWND{};
  const HWND bar = CreateShellWindow(kClassName, NavigationBarRect(), HWND{}, true, nullptr);
  if (!bar) return HWND{};
  theBar.store(bar);
  user::SetShellWatch(RefreshNavigationBar);
  // The GPS icon follows the source; the driver's thread only asks for a repaint.
  gps::SetSourceStatusCallback(
      [](void*) { PostMessageW(theBar.load(), kGpsStatusChanged, 0, 0); }, nullptr);
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
