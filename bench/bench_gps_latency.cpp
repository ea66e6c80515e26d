// The road of one gpsd reading, from its arrival at the GPS driver (the driver thread's wake-up
// on gpsd's socket) to the application's OnPosition returning on the GPS reader thread (the
// Position snapshot stored and the Position-changed message posted), over 1,000 readings from a
// private gpsd fed quickly by gpsfake. Also: how long GPSCloseDevice takes to stop the driver
// thread, both while it waits on gpsd and while it waits to reconnect.
//
// The Main window does not exist here, so the Position-changed message goes to the reader
// thread's own queue: the post costs the same, nobody repaints.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include <pda.h>
#include <pda/testing/gps.h>

#include "gpsfake.h"
#include "position/gps_reader.h"
#include "position/snapshot_listener.h"

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t NowNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
      .count();
}

// Wraps the application's SnapshotListener and notes when each OnPosition returns.
class TimingListener final : public GpsListener {
 public:
  explicit TimingListener(std::size_t wanted) : wanted_(wanted) { samples_.reserve(wanted); }

  LONG OnPosition(GPS_POSITION position) override {
    // The reader fetched this record a moment ago; records come tens of ms apart, so the
    // driver's current arrival time is this record's.
    const std::int64_t arrival = pda::testing::GpsPositionArrivalNanoseconds();
    const LONG result = inner_.OnPosition(position);
    const std::int64_t done = NowNanoseconds();
    std::lock_guard lock(mutex_);
    if (arrival != 0 && samples_.size() < wanted_) {
      samples_.push_back(done - arrival);
      if (samples_.size() == wanted_) full_.notify_all();
    }
    return result;
  }
  LONG OnDeviceState(GPS_DEVICE device) override { return inner_.OnDeviceState(device); }

  bool WaitUntilFull(std::chrono::seconds limit) {
    std::unique_lock lock(mutex_);
    return full_.wait_for(lock, limit, [&] { return samples_.size() == wanted_; });
  }
  std::vector<std::int64_t> Samples() {
    std::lock_guard lock(mutex_);
    return samples_;
  }

 private:
  SnapshotListener inner_;
  std::size_t wanted_;
  std::mutex mutex_;
  std::condition_variable full_;
  std::vector<std::int64_t> samples_;
};

std::unique_ptr<zaz::testing::GpsFake> StartGpsd(benchmark::State& state, double cycle) {
  const std::string missing = zaz::testing::GpsFake::MissingTools();
  if (!missing.empty()) {
    state.SkipWithError(("needs " + missing).c_str());
    return nullptr;
  }
  std::string error;
  auto fake = zaz::testing::GpsFake::Start(GPS_BENCH_LOG, zaz::testing::GpsFake::FreePort(),
                                           cycle, &error);
  if (!fake) state.SkipWithError(error.c_str());
  return fake;
}

void BM_GpsdReadingToOnPositionReturned(benchmark::State& state) {
  constexpr std::size_t kReadings = 1000;
  auto fake = StartGpsd(state, 0.01);
  if (!fake) return;
  ::setenv("PDA_GPS", ("gpsd://127.0.0.1:" + std::to_string(fake->port())).c_str(), 1);
  TimingListener listener(kReadings);
  GpsThreadRecord record{};
  if (GpsOpen(&record, &listener) != S_OK) {
    state.SkipWithError("GpsOpen failed");
    return;
  }
  for (auto _ : state) {
    if (!listener.WaitUntilFull(std::chrono::seconds(120))) {
      state.SkipWithError("fewer than 1,000 readings in 120 s");
      break;
    }
  }
  GpsClose(&record);
  std::vector<std::int64_t> samples = listener.Samples();
  if (samples.size() != kReadings) return;
  std::sort(samples.begin(), samples.end());
  state.counters["readings"] = static_cast<double>(samples.size());
  state.counters["median_us"] = static_cast<double>(samples[samples.size() / 2]) / 1e3;
  state.counters["p99_us"] = static_cast<double>(samples[samples.size() * 99 / 100]) / 1e3;
  state.counters["max_us"] = static_cast<double>(samples.back()) / 1e3;
}
BENCHMARK(BM_GpsdReadingToOnPositionReturned)->Iterations(1)->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Arg 0: the driver thread waits on a connected gpsd. Arg 1: nothing listens, so it waits
// between reconnection attempts.
void BM_GpsCloseDevice(benchmark::State& state) {
  std::unique_ptr<zaz::testing::GpsFake> fake;
  int port = zaz::testing::GpsFake::FreePort();
  if (state.range(0) == 0) {
    fake = StartGpsd(state, 0.1);
    if (!fake) return;
    port = fake->port();
  }
  ::setenv("PDA_GPS", ("gpsd://127.0.0.1:" + std::to_string(port)).c_str(), 1);
  HANDLE stateEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  std::vector<double> closeMs;
  for (auto _ : state) {
    HANDLE device = GPSOpenDevice(nullptr, stateEvent, nullptr, 0);
    if (!device) {
      state.SkipWithError("GPSOpenDevice failed");
      break;
    }
    // Connected (its first state change) or at least a few retries in.
    if (state.range(0) == 0) {
      WaitForSingleObject(stateEvent, 5000);
    } else {
      Sleep(350);
    }
    const auto start = Clock::now();
    GPSCloseDevice(device);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
    closeMs.push_back(seconds * 1e3);
  }
  CloseHandle(stateEvent);
  if (!closeMs.empty())
    state.counters["worst_ms"] = *std::max_element(closeMs.begin(), closeMs.end());
}
BENCHMARK(BM_GpsCloseDevice)->Arg(0)->Arg(1)->Iterations(20)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
