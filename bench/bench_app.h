// The whole program for a benchmark, on the headless screen: a device root of its own (removed
// when the run ends, also when it is cut short), the screen size, the scripted GPS driver, and the
// program started and idle. Also the median and p99 of a series, as counters.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <pda.h>
#include <pda/entry.h>
#include <pda/testing/gps.h>
#include <pda/testing/harness.h>
#include <pda/testing/user.h>

class BenchApp {
 public:
  BenchApp(int width, int height, int dpi) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zaz-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    root_ = pattern;
    setenv("PDA_ROOT", root_.c_str(), 1);
    pda::testing::ChangeScreen(width, height, dpi);
    pda::testing::UseScriptedGps();
    app_.emplace(WinMain);
    app_->WaitIdle();
  }
  ~BenchApp() {
    if (app_) {
      app_->PostQuit();
      app_->Join();
    }
    std::error_code ignored;
    if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
  }
  BenchApp(const BenchApp&) = delete;
  BenchApp& operator=(const BenchApp&) = delete;

  bool started() const { return app_.has_value(); }
  pda::testing::Harness& app() { return *app_; }

 private:
  std::string root_;
  std::optional<pda::testing::Harness> app_;
};

// NAME_median_us and NAME_p99_us of the samples (microseconds).
inline void ReportMedianAndP99(benchmark::State& state, const std::string& name,
                               std::vector<double> us) {
  if (us.empty()) return;
  std::sort(us.begin(), us.end());
  state.counters[name + "_median_us"] = us[us.size() / 2];
  state.counters[name + "_p99_us"] = us[us.size() * 99 / 100];
}
