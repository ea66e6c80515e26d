// Typing into the note editor (RichInk) at 480x640 (192 DPI), one key at a time as the input
// panel types (VK_PACKET down, WM_CHAR, VK_PACKET up): 10,000 characters of words, spaces and a
// line break now and then, each followed by the repaint it causes and the hand-over of the damaged
// pixels to the presenter, as a person would see the key land. Time per key, median and p99; the
// later keys are typed into a long, scrolled note.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include <pda.h>

#include "controls/controls.h"
#include "display/display.h"
#include "user/screen_surface.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kKeys = 10'000;

constexpr char16_t kNoteClass[] = u"BenchNoteWindow";

// The characters typed: words of 2..9 letters, a space after each, Enter after every ninth word.
std::u16string Keys() {
  std::u16string keys;
  for (int word = 0; static_cast<int>(keys.size()) < kKeys; ++word) {
    const int length = 2 + word * 7 % 8;
    for (int i = 0; i < length; ++i) keys += static_cast<char16_t>(u'a' + (word + i) % 26);
    keys += word % 9 == 8 ? u'\r' : u' ';
  }
  keys.resize(kKeys);
  return keys;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void BM_TypeIntoNote(benchmark::State& state) {
  pda::display::SetScreen({480, 640, 192});
  pda::controls::RegisterControlClasses();
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = kNoteClass;
  RegisterClassW(&wc);
  const HWND top = CreateWindowExW(0, kNoteClass, u"Note", WS_VISIBLE, 0, 0, 480, 640, nullptr,
                                   nullptr, nullptr, nullptr);
  const HWND editor = CreateWindowExW(0, WC_RICHINKW, u"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0,
                                      0, 480, 640, top, nullptr, nullptr, nullptr);
  if (!top || !editor) {
    state.SkipWithError("the note window could not be made");
    return;
  }
  SendMessageW(editor, EM_SETPENMODE, MODE_SELECT, 0);
  SendMessageW(editor, EM_SETPAGESTYLE, PS_RULEDLINES, 0);
  SetFocus(editor);
  pda::user::SetScreenPresenter([] {});
  Pump();
  pda::user::TakeScreenDamage([](const auto&, const auto&) {}, true);

  const std::u16string keys = Keys();
  std::vector<double> microseconds;
  microseconds.reserve(keys.size());
  for (auto _ : state) {
    for (char16_t c : keys) {
      const auto start = Clock::now();
      PostMessageW(editor, WM_KEYDOWN, VK_PACKET, 1);
      PostMessageW(editor, WM_CHAR, c, 1);
      PostMessageW(editor, WM_KEYUP, VK_PACKET, static_cast<LPARAM>(0xC0000001u));
      Pump();  // the key, then WM_PAINT
      pda::user::TakeScreenDamage([](const auto&, const auto& rects) {
        benchmark::DoNotOptimize(rects.data());
      });
      microseconds.push_back(
          std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
  }
  pda::user::SetScreenPresenter({});
  if (GetWindowTextLengthW(editor) < static_cast<int>(keys.size()))
    state.SkipWithError("the editor did not take every key");
  DestroyWindow(top);
  std::sort(microseconds.begin(), microseconds.end());
  state.counters["median_us"] = microseconds[microseconds.size() / 2];
  state.counters["p99_us"] = microseconds[microseconds.size() * 99 / 100];
  state.counters["max_us"] = microseconds.back();
  state.counters["keys"] = static_cast<double>(microseconds.size());
}
BENCHMARK(BM_TypeIntoNote)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
