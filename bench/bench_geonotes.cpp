// The GeoNotes button as the user meets it, the whole program on the headless screen at 480x640
// (192 DPI) with a fix shown: from the tap on the button to the UI thread idle with the editor
// made and painted with its header (and the screen composed). Median and p99 over 200 opens,
// each closed again with the "Cancel" soft key outside the timing.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <vector>

#include <pda.h>
#include <pda/testing/gps.h>
#include <pda/testing/shell.h>

#include "bench_app.h"
#include "screen/main_screen.h"
#include "shell/main_window.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 480, kHeight = 640, kDpi = 192;

GPS_POSITION Fix() {
  GPS_POSITION p = {};
  p.dwVersion = GPS_VERSION_1;
  p.dwSize = sizeof p;
  p.dwValidFields = GPS_VALID_LATITUDE | GPS_VALID_LONGITUDE | GPS_VALID_SATELLITE_COUNT |
                    GPS_VALID_SATELLITES_IN_VIEW;
  p.dblLatitude = 47.6062095;
  p.dblLongitude = -122.3320708;
  p.dwSatelliteCount = 7;
  p.dwSatellitesInView = 9;
  return p;
}

void BM_TapToGeoNotesEditorPainted(benchmark::State& state) {
  BenchApp program(kWidth, kHeight, kDpi);
  if (!program.started()) {
    state.SkipWithError("no temporary device root");
    return;
  }
  pda::testing::Harness& app = program.app();
  pda::testing::ScriptGpsPosition(Fix());
  // The reader thread posts the reading on its own time; the buttons answer once it is shown.
  for (int k = 0; k < 500 && g_ButtonsEnabled != 1; ++k) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    app.WaitIdle();
  }
  if (g_ButtonsEnabled != 1) {
    state.SkipWithError("no fix on the screen");
    return;
  }
  const int bar = pda::testing::BarHeight();
  const int buttonX = kWidth * 5 / 8, buttonY = kHeight - bar - 77 / 2;

  std::vector<double> microseconds;
  for (auto _ : state) {
    for (int i = 0; i < 200; ++i) {
      const auto start = Clock::now();
      app.Tap(buttonX, buttonY);
      app.WaitIdle();
      microseconds.push_back(
          std::chrono::duration<double, std::micro>(Clock::now() - start).count());
      if (!IsWindow(g_hwndGeoNotes)) {
        state.SkipWithError("the tap opened no editor");
        return;
      }
      app.Tap(kWidth / 8, kHeight - bar / 2);  // "Cancel"
      app.WaitIdle();
    }
  }
  ReportMedianAndP99(state, "open", microseconds);
  state.counters["opens"] = static_cast<double>(microseconds.size());
}
BENCHMARK(BM_TapToGeoNotesEditorPainted)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
