// Source: gpsd through libgps (see gpsd_source.h).
//
// libgps 3.22 habits this relies on: gps_read does not clear `set`, so it is zeroed before every
// read; gps_read returns -1 with errno 0 when gpsd closed the socket; libgps buffers several
// reports per socket read, so after a poll wake-up the buffer is drained with gps_waiting(0).
#include "gpsd_source.h"

#include <gps.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "gpsd_record.h"

namespace pda::gps {
namespace {

using namespace std::chrono_literals;

// One connection to gpsd, closed on destruction.
class GpsdConnection {
 public:
  static std::unique_ptr<GpsdConnection> Open(const GpsdConfig& config) {
    auto c = std::unique_ptr<GpsdConnection>(new GpsdConnection);
    if (gps_open(config.host.c_str(), config.port.c_str(), &c->data_) != 0) return nullptr;
    c->open_ = true;
    if (gps_stream(&c->data_, WATCH_ENABLE | WATCH_JSON, nullptr) != 0) return nullptr;
    return c;
  }
  GpsdConnection(const GpsdConnection&) = delete;
  GpsdConnection& operator=(const GpsdConnection&) = delete;
  ~GpsdConnection() {
    if (open_) gps_close(&data_);
  }
  gps_data_t& data() { return data_; }
  int fd() const { return static_cast<int>(data_.gps_fd); }

 private:
  GpsdConnection() = default;
  gps_data_t data_{};
  bool open_ = false;
};

class GpsdSource final : public Source {
 public:
  explicit GpsdSource(GpsdConfig config)
      : config_(std::move(config)), where_(config_.host + ":" + config_.port) {}

  void Run(DriverState& state, const StopSignal& stop) override {
    auto backoff = kFirstRetry;
    bool reported = false;  // "cannot reach" printed for this outage
    state.SetDeviceState(SERVICE_STATE_OFF, SERVICE_STATE_OFF, Name(""));
    while (!stop.Raised()) {
      std::unique_ptr<GpsdConnection> connection = GpsdConnection::Open(config_);
      if (!connection) {
        if (!reported) std::fprintf(stderr, "cannot reach gpsd at %s\n", where_.c_str());
        reported = true;
        if (stop.Sleep(backoff) == StopSignal::Wake::Stop) return;
        backoff = std::min(backoff * 2, kLastRetry);
        continue;
      }
      reported = false;
      backoff = kFirstRetry;
      if (!Serve(*connection, state, stop)) return;  // stopped
      // gpsd went away: the service is off until it is back.
      state.SetDeviceState(SERVICE_STATE_OFF, SERVICE_STATE_OFF, Name(devicePath_));
      if (stop.Sleep(backoff) == StopSignal::Wake::Stop) return;
    }
  }

 private:
  static constexpr std::chrono::milliseconds kFirstRetry = 100ms;
  static constexpr std::chrono::milliseconds kLastRetry = 5000ms;

  std::string Name(const std::string& path) const {
    return path.empty() ? "gpsd " + where_ : "gpsd " + where_ + " " + path;
  }

  // Reads reports until gpsd goes away (true) or the stop is raised (false).
  bool Serve(GpsdConnection& connection, DriverState& state, const StopSignal& stop) {
    gps_data_t& g = connection.data();
    bool skySeen = false;
    bool deviceOn = false;
    state.SetDeviceState(SERVICE_STATE_ON, SERVICE_STATE_OFF, Name(devicePath_));
    for (;;) {
      switch (stop.Wait(connection.fd(), -1ms)) {
        case StopSignal::Wake::Stop:
          return false;
        case StopSignal::Wake::Error:
        case StopSignal::Wake::Timeout:
          return true;
        case StopSignal::Wake::Ready:
          break;
      }
      const Clock::time_point arrival = Clock::now();
      do {
        g.set = 0;
        if (gps_read(&g, nullptr, 0) < 0) return true;  // closed by gpsd, or a socket error
        bool deviceChanged = false;
        if (g.set & DEVICELIST_SET) {
          for (int i = 0; i < std::min(g.devices.ndevices, MAXUSERDEVS); ++i) {
            if (g.devices.list[i].activated.tv_sec != 0) {
              devicePath_ = g.devices.list[i].path;
              deviceOn = true;
              deviceChanged = true;
            }
          }
        }
        if (g.set & DEVICE_SET) {
          // A DEVICE report with "activated":0 means the receiver went away.
          deviceOn = g.dev.activated.tv_sec != 0;
          if (g.dev.path[0]) devicePath_ = g.dev.path;
          deviceChanged = true;
        }
        const bool tpv = (g.set & MODE_SET) != 0;
        const bool sky = (g.set & SATELLITE_SET) != 0;
        if (tpv || sky) {
          skySeen = skySeen || sky;
          // Data flowing is proof enough of an active device.
          if (!deviceOn) deviceChanged = true;
          deviceOn = true;
          if (g.dev.path[0]) devicePath_ = g.dev.path;
          state.NoteDataReceived();
        }
        if (deviceChanged)
          state.SetDeviceState(SERVICE_STATE_ON, deviceOn ? SERVICE_STATE_ON : SERVICE_STATE_OFF,
                               Name(devicePath_));
        if (tpv || sky) state.PublishPosition(PositionFromGpsd(g, skySeen), arrival);
      } while (gps_waiting(&g, 0));
    }
  }

  GpsdConfig config_;
  std::string where_;
  std::string devicePath_;
};

}  // namespace

std::unique_ptr<Source> MakeGpsdSource(const GpsdConfig& config) {
  return std::make_unique<GpsdSource>(config);
}

}  // namespace pda::gps
