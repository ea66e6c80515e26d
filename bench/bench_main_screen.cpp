// The main screen as the program draws it, at 480x640 (192 DPI), with a fix shown:
//  - PaintMainScreen (compose on the Screen surface, copy to the window), beside one memcpy of
//    a 480x640x4 frame measured in the same run;
//  - the road of one GPS reading to presented pixels: the scripted driver signals a new record,
//    the GPS reader stores it and posts the Position-changed message, this thread (the UI
//    thread) copies it and repaints, and the screen reports its damage to the presenter.
//    Median and p99 over 1,000 readings.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <vector>

#include <pda.h>
#include <pda/testing/gps.h>

#include "controls/controls.h"
#include "display/display.h"
#include "position/gps_reader.h"
#include "position/snapshot_listener.h"
#include "resources/app_resources.h"
#include "screen/main_screen.h"
#include "shell/globals.h"
#include "shell/main_window.h"
#include "user/screen_surface.h"

namespace {

using Clock = std::chrono::steady_clock;

GPS_POSITION Fix(double latitude, double longitude) {
  GPS_POSITION p = {};
  p.dwVersion = 1;
  p.dwSize = sizeof p;
  p.dblLatitude = latitude;
  p.dblLongitude = longitude;
  p.dwSatelliteCount = 7;
  p.dwSatellitesInView = 9;
  return p;
}

// The Main window of the program, made on this thread as start-up makes it.
HWND MakeMainWindow() {
  static HWND window = [] {
    pda::display::SetScreen({480, 640, 192});
    pda::controls::RegisterControlClasses();
    g_hInstance = GetModuleHandleW(nullptr);
    RegisterAppResources(g_hInstance);
    RegisterMainWindowClass(g_hInstance);
    HWND hwnd = CreateWindowExW(0, kMainClassName, kMainTitle, WS_VISIBLE | WS_SYSMENU,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                nullptr, nullptr, g_hInstance, nullptr);
    g_hWndMain = hwnd;
    return hwnd;
  }();
  return window;
}

void BM_FrameMemcpy(benchmark::State& state) {
  std::vector<std::uint32_t> from(480 * 640, 0x00336699), to(480 * 640);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(from.size() * 4));
}
BENCHMARK(BM_FrameMemcpy);

void BM_PaintMainScreen(benchmark::State& state) {
  HWND hwnd = MakeMainWindow();
  g_PositionCopy = Fix(47.6062095, -122.3320708);
  g_ButtonsEnabled = 0;
  for (auto _ : state) {
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);  // WM_PAINT, synchronously
  }
  // Only a paint that composed the fix screen enables the buttons.
  if (g_ButtonsEnabled != 1) state.SkipWithError("the main screen was not painted");
}
BENCHMARK(BM_PaintMainScreen);

void BM_GpsReadingToPresentedPixels(benchmark::State& state) {
  MakeMainWindow();
  pda::testing::UseScriptedGps();
  SnapshotListener listener;
  g_pSnapshotListener = &listener;
  GpsThreadRecord thread = {};
  if (GpsOpen(&thread, &listener) < 0) {
    state.SkipWithError("the scripted GPS driver could not be opened");
    return;
  }
  std::atomic<Clock::time_point::rep> presented{0};
  pda::user::SetScreenPresenter(
      [&] { presented.store(Clock::now().time_since_epoch().count()); });
  pda::user::TakeScreenDamage([](const auto&, const auto&) {}, true);

  std::vector<double> microseconds;
  int n = 0;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i, ++n) {
      presented.store(0);
      const auto start = Clock::now();
      pda::testing::ScriptGpsPosition(Fix(47.6 + 1e-6 * (n % 1000), -122.3));
      MSG msg;
      while (presented.load() == 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      const Clock::time_point end{Clock::duration{presented.load()}};
      microseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
      // The presenter is told once per new damage: hand the damage over as a back end would.
      pda::user::TakeScreenDamage([](const auto&, const auto&) {});
    }
  }
  pda::user::SetScreenPresenter({});
  GpsClose(&thread);
  g_pSnapshotListener = nullptr;
  std::sort(microseconds.begin(), microseconds.end());
  state.counters["median_us"] = microseconds[microseconds.size() / 2];
  state.counters["p99_us"] = microseconds[microseconds.size() * 99 / 100];
  state.counters["max_us"] = microseconds.back();
  state.counters["readings"] = static_cast<double>(microseconds.size());
}
BENCHMARK(BM_GpsReadingToPresentedPixels)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
