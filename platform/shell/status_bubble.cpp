// The status bubble's window: a shaped window of the shell, drawn through the look.
#include "shell/status_bubble.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "display/display.h"
#include "look/look.h"
#include "shell/shell_metrics.h"
#include "shell/shell_window.h"
#include "user/window_shape.h"

namespace pda::shell {
namespace {

constexpr char16_t kClassName[] = u"StatusBubble";
constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kShownMs = 5000;

std::atomic<HWND> theBubble{HWND{}};

struct BubbleState {
  static std::unique_ptr<BubbleState> Create(HWND window, const CREATESTRUCTW& create) {
    auto state = std::make_unique<BubbleState>();
    state->window = window;
    state->text = *static_cast<const std::u16string*>(create.lpCreateParams);
    SetTimer(window, kCloseTimer, kShownMs, nullptr);
    return state;
  }
  HWND window;
  std::u16string text;
};

int Padding() { return Scaled(6); }
UniqueFont BubbleFont() { return look::SystemFont(Scaled(12)); }

void Paint(BubbleState& state, HDC dc, const RECT& client) {
  look::Fill(dc, client, look::palette::kWindow);
  look::Frame(dc, client, std::max(1, Scaled(1)), look::palette::kEdge);
  const UniqueFont font = BubbleFont();
  const ScopedSelect selected(dc, font.get());
  const RECT text{client.left + Padding(), client.top + Padding(), client.right - Padding(),
                  client.bottom - Padding()};
  look::Text(dc, text, state.text, look::palette::kText, DT_LEFT | DT_WORDBREAK);
}

// The bubble's place: under the navigation bar at the right, as tall as its text.
RECT Placement(const std::u16string& text) {
  const auto screen = display::CurrentScreen();
  const int width = screen.width * 3 / 4;
  const UniqueMemoryDC dc(CreateCompatibleDC(HDC{}));
  const UniqueFont font = BubbleFont();
  const ScopedSelect selected(dc.get(), font.get());
  RECT measured{0, 0, width - 2 * Padding(), 0};
  DrawTextW(dc.get(), reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()),
            &measured, DT_LEFT | DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
  const RECT bar = NavigationBarRect();
  const int right = screen.width - Scaled(4);
  return {right - width, bar.bottom, right,
          bar.bottom + (measured.bottom - measured.top) + 2 * Padding()};
}

LRESULT OnPress(BubbleState& state, WPARAM, LPARAM) {
  SetCapture(state.window);
  return 0;
}

LRESULT OnRelease(BubbleState& state, WPARAM, LPARAM) {
  ReleaseCapture();
  DestroyWindow(state.window);
  return 0;
}

LRESULT OnTimer(BubbleState& state, WPARAM timer, LPARAM) {
  if (timer == kCloseTimer) DestroyWindow(state.window);
  return 0;
}

LRESULT OnDestroy(BubbleState& state, WPARAM, LPARAM) {
  KillTimer(state.window, kCloseTimer);
  HWND self = state.window;
  theBubble.compare_exchange_strong(self, HWND{});
  return 0;
}

constexpr user::Route<BubbleState> kRoutes[] = {
    {WM_PAINT,       user::PaintThrough<BubbleState, Paint>},
    {WM_LBUTTONDOWN, OnPress},
    {WM_LBUTTONUP,   OnRelease},
    {WM_TIMER,       OnTimer},
    {WM_DESTROY,     OnDestroy},
};

}  // namespace

HWND StatusBubble() {
  const HWND bubble = theBubble.load();
  return IsWindow(bubble) ? bubble : HWND{};
}

std::u16string StatusBubbleText() {
  const HWND bubble = StatusBubble();
  const BubbleState* state = bubble ? user::ShapedState<BubbleState>(bubble) : nullptr;
  return state ? state->text : std::u16string();
}

void ShowStatusBubble(const std::u16string& text) {
  if (const HWND old = StatusBubble()) DestroyWindow(old);
  if (!user::RegisterShapedClass<BubbleState, kRoutes>(kClassName, 0, ShellInstance())) return;
  std::u16string copy = text;
  const HWND bubble = CreateShellWindow(kClassName, Placement(text), HWND{}, true, &copy);
  if (bubble) theBubble.store(bubble);
}

}  // namespace pda::shell
