// The settings sheet as the user meets it, the whole program on the headless screen at 480x640
// (192 DPI): from the tap on the "Settings" soft key to the UI thread idle with the sheet and its
// first page made and painted (and the screen composed); then Next and Back, each from the tap to
// the other page painted. Median and p99 over 200 openings, each closed again with "Cancel"
// outside the timing.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include <pda.h>
#include <pda/testing/shell.h>

#include "bench_app.h"
#include "settingsdlg/sheet_button.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 480, kHeight = 640, kDpi = 192;

double Microseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

void BM_SettingsSheet(benchmark::State& state) {
  BenchApp program(kWidth, kHeight, kDpi);
  if (!program.started()) {
    state.SkipWithError("no temporary device root");
    return;
  }
  pda::testing::Harness& app = program.app();
  const int bar = pda::testing::BarHeight();
  const int softKeyY = kHeight - bar / 2, navigationY = kHeight - bar - bar / 2;

  std::vector<double> opens, switches;
  for (auto _ : state) {
    for (int i = 0; i < 200; ++i) {
      auto start = Clock::now();
      app.Tap(kWidth - 30, softKeyY);  // "Settings"
      app.WaitIdle();
      opens.push_back(Microseconds(start));
      if (!IsWindow(g_BackButton.hwndParent)) {
        state.SkipWithError("the soft key opened no sheet");
        return;
      }
      for (const int x : {kWidth * 3 / 4, kWidth / 4}) {  // Next, then Back
        start = Clock::now();
        app.Tap(x, navigationY);
        app.WaitIdle();
        switches.push_back(Microseconds(start));
      }
      app.Tap(30, softKeyY);  // "Cancel"
      app.WaitIdle();
    }
  }
  ReportMedianAndP99(state, "open", opens);
  ReportMedianAndP99(state, "switch", switches);
  state.counters["opens"] = static_cast<double>(opens.size());
}
BENCHMARK(BM_SettingsSheet)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
