// Source: gpsd (see gpsd_source.h).
//
// Sections: lookup and connect | reports | source
#include "gpsd_source.h"

#include <gps.h>
#include <netdb.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "gpsd_record.h"
#include "gpsd_report_line.h"
#include "source_watch.h"

namespace pda::gps {
namespace {

using namespace std::chrono_literals;

// ---- lookup and connect --------------------------------------------------------------------

constexpr auto kLookupLimit = 10s;
constexpr auto kConnectLimit = 5s;

struct AddrInfoDeleter {
  void operator()(addrinfo* a) const {
    if (a) freeaddrinfo(a);
  }
};
using AddrInfo = std::unique_ptr<addrinfo, AddrInfoDeleter>;

// A name lookup on a helper thread. The driver waits for it together with its stop signal and
// may leave it behind; whichever of the two ends last frees it.
struct Lookup {
  std::mutex mutex;
  AddrInfo result;
  UniqueFd done{::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)};
};

enum class Reach { Connected, Failed, Stopped };

Reach Resolve(const GpsdConfig& config, const StopSignal& stop, AddrInfo* out) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  // An address needs no lookup (the usual 127.0.0.1).
  if (getaddrinfo(config.host.c_str(), config.port.c_str(), &hints, &found) == 0) {
    out->reset(found);
    return Reach::Connected;
  }
  auto lookup = std::make_shared<Lookup>();
  if (!lookup->done) return Reach::Failed;
  std::thread([lookup, host = config.host, port = config.port] {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int rc = getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
    std::lock_guard lock(lookup->mutex);
    if (rc == 0) lookup->result.reset(found);
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(lookup->done.get(), &one, sizeof one);
  }).detach();
  switch (stop.Wait(lookup->done.get(), std::chrono::duration_cast<std::chrono::milliseconds>(kLookupLimit))) {
    case StopSignal::Wake::Stop:
      return Reach::Stopped;
    case StopSignal::Wake::Ready: {
      std::lock_guard lock(lookup->mutex);
      *out = std::move(lookup->result);
      return *out ? Reach::Connected : Reach::Failed;
    }
    default:
      return Reach::Failed;
  }
}

// Connects to the first address that answers, without blocking past a stop.
Reach Connect(const GpsdConfig& config, const StopSignal& stop, UniqueFd* out) {
  AddrInfo addresses;
  if (Reach r = Resolve(config, stop, &addresses); r != Reach::Connected) return r;
  for (const addrinfo* a = addresses.get(); a; a = a->ai_next) {
    UniqueFd fd(::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
    if (!fd) continue;
    if (::connect(fd.get(), a->ai_addr, a->ai_addrlen) != 0) {
      if (errno != EINPROGRESS) continue;
      const auto wake = stop.Wait(fd.get(), std::chrono::duration_cast<std::chrono::milliseconds>(kConnectLimit), true);
      if (wake == StopSignal::Wake::Stop) return Reach::Stopped;
      if (wake != StopSignal::Wake::Ready) continue;
      int error = 0;
      socklen_t size = sizeof error;
      if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) continue;
    }
    static constexpr char kWatch[] = "?WATCH={\"enable\":true,\"json\":true};\n";
    if (::send(fd.get(), kWatch, sizeof kWatch - 1, MSG_NOSIGNAL | MSG_DONTWAIT) !=
        static_cast<ssize_t>(sizeof kWatch - 1))
      continue;
    *out = std::move(fd);
    return Reach::Connected;
  }
  return Reach::Failed;
}

// ---- reports -------------------------------------------------------------------------------

// gpsd's longest reports (SKY with many satellites) stay well under this.
constexpr std::size_t kMaxReport = 64 * 1024;

// One record per epoch. gpsd reports an epoch's position (TPV) and sky view (SKY) apart, in
// either order and up to most of a second apart; published each by itself, every epoch would
// be two readings for the application. While positions are flowing, a sky view waits for the
// next position and goes out with it; one that no position follows within kSkyHold goes out
// by itself, as does every sky view while no positions come at all.
class Epoch {
 public:
  static constexpr std::chrono::milliseconds kSkyHold{1500};

  bool skySeen = false;  // a sky view was read on this connection: the counts are known

  // A position was read: it takes any held sky view with it.
  void Position(Clock::time_point arrival) {
    lastPosition_ = arrival;
    held_.reset();
  }
  // A sky view was read: true when it is to wait for the next position. One that goes out now
  // also takes the place of any held before it.
  bool HoldSky(Clock::time_point arrival) {
    skySeen = true;
    if (!lastPosition_ || arrival - *lastPosition_ > kSkyHold) {
      held_.reset();
      return false;
    }
    if (!held_) held_ = arrival;  // a newer one replaces it, but its wait runs from the first
    return true;
  }
  // How long the driver may wait, given the wait it would make anyway (negative: for ever): no
  // longer than a held sky view has left before HeldTooLong wants asking.
  std::chrono::milliseconds Wait(std::chrono::milliseconds anyway) const {
    if (!held_) return anyway;
    const auto left = std::max(std::chrono::ceil<std::chrono::milliseconds>(
                                   *held_ + kSkyHold - Clock::now()),
                               std::chrono::milliseconds(0));
    return anyway.count() < 0 ? left : std::min(anyway, left);
  }
  bool HeldTooLong() const { return held_ && Clock::now() - *held_ >= kSkyHold; }
  // Gives up the held sky view; returns when it arrived.
  Clock::time_point TakeHeld() {
    const Clock::time_point arrival = *held_;
    held_.reset();
    return arrival;
  }

 private:
  std::optional<Clock::time_point> lastPosition_;
  std::optional<Clock::time_point> held_;
};

class GpsdSource final : public Source {
 public:
  explicit GpsdSource(GpsdConfig config)
      : config_(std::move(config)), where_(config_.host + ":" + config_.port) {}

  void Run(DriverState& state, const StopSignal& stop) override {
    SourceWatch watch(state, "gpsd at " + where_);
    auto backoff = kFirstRetry;
    state.SetDeviceState(SERVICE_STATE_OFF, SERVICE_STATE_OFF, Name(""));
    for (;;) {
      UniqueFd fd;
      const Reach reach = Connect(config_, stop, &fd);
      if (reach == Reach::Stopped) return;
      if (reach == Reach::Connected) {
        bool heard = false;
        if (!Serve(fd, state, stop, watch, &heard)) return;  // stopped
        if (heard) backoff = kFirstRetry;
        // gpsd went away: the service is off until it is back.
        state.SetDeviceState(SERVICE_STATE_OFF, SERVICE_STATE_OFF, Name(devicePath_));
        watch.Lost(heard ? "connection lost, retrying" : "not answering, retrying");
      } else {
        watch.Lost("not reachable, retrying");
      }
      if (stop.Sleep(backoff) == StopSignal::Wake::Stop) return;
      backoff = std::min(backoff * 2, kLastRetry);
    }
  }

 private:
  static constexpr std::chrono::milliseconds kFirstRetry = 100ms;
  static constexpr std::chrono::milliseconds kLastRetry = 5000ms;

  std::string Name(const std::string& path) const {
    return path.empty() ? "gpsd " + where_ : "gpsd " + where_ + " " + path;
  }

  // Reads reports until gpsd goes away (true) or the stop is raised (false). *heard: gpsd sent
  // at least one report libgps understood.
  bool Serve(const UniqueFd& fd, DriverState& state, const StopSignal& stop, SourceWatch& watch,
             bool* heard) {
    auto g = std::make_unique<gps_data_t>();
    gps_clear_fix(&g->fix);
    gps_clear_dop(&g->dop);
    Epoch epoch;
    bool deviceOn = false;
    std::string line;
    bool discarding = false;
    char buffer[8192];
    for (;;) {
      const StopSignal::Wake wake = stop.Wait(fd.get(), epoch.Wait(watch.Tick()));
      if (wake == StopSignal::Wake::Stop) return false;
      // A sky view no position came for goes out alone.
      if (epoch.HeldTooLong()) watch.Reading(PositionFromGpsd(*g, true), epoch.TakeHeld());
      if (wake == StopSignal::Wake::Timeout) continue;  // Tick() above notes the silence
      if (wake == StopSignal::Wake::Error) return true;
      const ssize_t n = ::recv(fd.get(), buffer, sizeof buffer, MSG_DONTWAIT);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (n <= 0) return true;  // closed by gpsd, or a socket error
      const Clock::time_point arrival = Clock::now();
      for (ssize_t i = 0; i < n; ++i) {
        const char c = buffer[i];
        if (c != '\n') {
          if (line.size() < kMaxReport) {
            line.push_back(c);
          } else {
            discarding = true;
          }
          continue;
        }
        if (!discarding && !line.empty()) {
          if (!*heard) {
            *heard = Report(line, *g, state, watch, arrival, epoch, deviceOn);
            if (*heard) {
              state.SetDeviceState(SERVICE_STATE_ON,
                                   deviceOn ? SERVICE_STATE_ON : SERVICE_STATE_OFF,
                                   Name(devicePath_));
              if (!deviceOn) watch.Connected();
            }
          } else {
            Report(line, *g, state, watch, arrival, epoch, deviceOn);
          }
        }
        line.clear();
        discarding = false;
      }
    }
  }

  // One report; false when it was not understood.
  bool Report(std::string& text, gps_data_t& g, DriverState& state, SourceWatch& watch,
              Clock::time_point arrival, Epoch& epoch, bool& deviceOn) {
    ReportLine read = ReadReportLine(text);
    if (read.kind == ReportLine::Kind::Ignored) return false;
    g.set = 0;
    bool deviceChanged = false;
    if (read.kind == ReportLine::Kind::Devices) {
      if (read.activeDevice) {
        devicePath_ = *read.activeDevice;
        deviceOn = true;
        deviceChanged = true;
      }
    } else if (gps_unpack(read.forLibgps.data(), &g) != 0 || g.set == 0) {
      return false;
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
      // Data flowing is proof enough of an active device.
      if (!deviceOn) deviceChanged = true;
      deviceOn = true;
      if (g.dev.path[0]) devicePath_ = g.dev.path;
    }
    if (deviceChanged)
      state.SetDeviceState(SERVICE_STATE_ON, deviceOn ? SERVICE_STATE_ON : SERVICE_STATE_OFF,
                           Name(devicePath_));
    if (tpv) {
      epoch.Position(arrival);
      watch.Reading(PositionFromGpsd(g, epoch.skySeen), arrival);
    } else if (sky && !epoch.HoldSky(arrival)) {
      watch.Reading(PositionFromGpsd(g, true), arrival);
    }
    return true;
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
