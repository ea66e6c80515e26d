// gpsd: the mapping of libgps reports to the position record, and the driver end to end against
// a private gpsd fed by gpsfake (loss of gpsd, reconnection, resumed positions).
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <atomic>
#include <algorithm>
#include <array>
#include <vector>

#include "gps_test_util.h"
#include "gps_status.h"
#include "gpsd_record.h"
#include "gpsd_report_line.h"
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include "gpsfake.h"
#include "pda/testing/gps.h"

namespace pda::gps::test {
namespace {

// A gps_data_t as libgps leaves it before any report: NaN everywhere a number can be unknown.
std::unique_ptr<gps_data_t> FreshReport() {
  auto g = std::make_unique<gps_data_t>();
  gps_clear_fix(&g->fix);
  gps_clear_dop(&g->dop);
  return g;
}

void Fill3dFix(gps_data_t& g) {
  g.fix.mode = MODE_3D;
  g.fix.time = {1736455265, 250000000};  // 2025-01-09 20:41:05.250 UTC
  g.fix.latitude = 47.6062095;
  g.fix.longitude = -122.3320708;
  g.fix.altMSL = 56.0;
  g.fix.altHAE = 39.0;
  g.fix.speed = 1.0;  // m/s
  g.fix.track = 15.0;
  g.fix.magnetic_var = 15.4;
}

// libgps's reader never returns from some reports (an unknown list of objects in a DEVICES
// report, a DEVICE object nested in a TPV): DEVICES is read without it, and it is handed only a
// rebuilt report of the members the driver reads, which it reads to the same position.
TEST(GpsdReportLine, DevicesAreReadHereAndLibgpsGetsOnlyACleanedReport) {
  using Kind = pda::gps::ReportLine::Kind;
  const struct {
    const char* line;
    Kind kind;
    std::optional<std::string> active;
    double latitude;  // ForLibgps: what libgps then reads (NaN: not reported)
  } cases[] = {
      {R"({"class":"DEVICES","devices":[{"class":"DEVICE","x":[{"a":1}],"path":"/dev/a","activated":"2025-01-09T20:41:00.000Z"}]})",
       Kind::Devices, "/dev/a", 0},
      {R"({"class":"DEVICES","devices":[{"path":"/dev/a","activated":0},{"path":"/dev/b","activated":1736455260}]})",
       Kind::Devices, "/dev/b", 0},
      {R"({"class":"DEVICES","devices":[{"path":"/dev/a","activated":0}]})", Kind::Devices, std::nullopt, 0},
      {R"({"class":"DEVICES","devices":[{"class":"DEVICE","path":"/dev/pts/3"}x})", Kind::Ignored, std::nullopt, 0},
      {R"({"cnass":"DEVICES","devices":[]})", Kind::Ignored, std::nullopt, 0},
      {R"({"class":"WATCH","enable":true})", Kind::Ignored, std::nullopt, 0},
      {R"({"class":"TPV","mode":3,"lat":47.6062095,"lon":-122.3320708})", Kind::ForLibgps, std::nullopt, 47.6062095},
      {R"({"x":[{"class":"DEVICE","path":"/dev/a"}],"class":"TPV","mode":3,"lat":"47","lon":1.5})",
       Kind::ForLibgps, std::nullopt, std::nan("")},
  };
  for (const auto& c : cases) {
    const pda::gps::ReportLine read = pda::gps::ReadReportLine(c.line);
    EXPECT_EQ(read.kind, c.kind) << c.line;
    EXPECT_EQ(read.activeDevice, c.active) << c.line;
    if (read.kind != Kind::ForLibgps) continue;
    auto g = std::make_unique<gps_data_t>();
    gps_clear_fix(&g->fix);
    std::string cleaned = read.forLibgps;
    ASSERT_EQ(gps_unpack(cleaned.data(), g.get()), 0) << cleaned;
    if (std::isnan(c.latitude))
      EXPECT_TRUE(std::isnan(g->fix.latitude)) << cleaned;
    else
      EXPECT_DOUBLE_EQ(g->fix.latitude, c.latitude) << cleaned;
  }
}

TEST(GpsdRecord, NoPositionYetOrBelow2DGivesZeroWithTheBitsClear) {
  struct Case {
    const char* name;
    int mode;
    double lat;
  };
  for (const Case& c : {Case{"NaN before any position", MODE_3D, NAN},
                        Case{"no fix keeps an old position out", MODE_NO_FIX, 47.6},
                        Case{"mode not seen", MODE_NOT_SEEN, 47.6}}) {
    auto g = FreshReport();
    g->fix.mode = c.mode;
    g->fix.latitude = c.lat;
    g->fix.longitude = c.lat;
    const GPS_POSITION p = PositionFromGpsd(*g, false);
    EXPECT_FALSE(p.dwValidFields & (GPS_VALID_LATITUDE | GPS_VALID_LONGITUDE)) << c.name;
    EXPECT_EQ(p.dblLatitude, 0.0) << c.name;
    EXPECT_EQ(p.dblLongitude, 0.0) << c.name;
    EXPECT_EQ(p.FixQuality, GPS_FIX_QUALITY_UNKNOWN) << c.name;
  }
  auto g = FreshReport();
  EXPECT_EQ(PositionFromGpsd(*g, false).dwValidFields, 0u) << "nothing arrived, nothing valid";
}

TEST(GpsdRecord, A3DFixFillsTheRecordInItsUnits) {
  auto g = FreshReport();
  Fill3dFix(*g);
  const GPS_POSITION p = PositionFromGpsd(*g, false);
  EXPECT_EQ(p.dblLatitude, 47.6062095);
  EXPECT_EQ(p.dblLongitude, -122.3320708);
  EXPECT_NEAR(p.flSpeed, 1.943844, 1e-5) << "knots";
  EXPECT_EQ(p.flHeading, 15.0f);
  EXPECT_EQ(p.dblMagneticVariation, 15.4);
  EXPECT_EQ(p.flAltitudeWRTSeaLevel, 56.0f);
  EXPECT_EQ(p.flAltitudeWRTEllipsoid, 39.0f);
  EXPECT_EQ(p.FixType, GPS_FIX_3D);
  EXPECT_EQ(p.FixQuality, GPS_FIX_QUALITY_GPS);
  const SYSTEMTIME& t = p.stUTCTime;
  EXPECT_EQ((std::array<int, 8>{t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute,
                                 t.wSecond, t.wMilliseconds}),
            (std::array<int, 8>{2025, 1, 4, 9, 20, 41, 5, 250}));
  const DWORD expected = GPS_VALID_UTC_TIME | GPS_VALID_LATITUDE | GPS_VALID_LONGITUDE |
                         GPS_VALID_SPEED | GPS_VALID_HEADING | GPS_VALID_MAGNETIC_VARIATION |
                         GPS_VALID_ALTITUDE_WRT_SEA_LEVEL | GPS_VALID_ALTITUDE_WRT_ELLIPSOID;
  EXPECT_EQ(p.dwValidFields, expected) << "no satellite bits before a SKY";

  g->fix.status = STATUS_DGPS_FIX;
  g->fix.mode = MODE_2D;
  const GPS_POSITION d = PositionFromGpsd(*g, false);
  EXPECT_EQ(d.FixQuality, GPS_FIX_QUALITY_DGPS);
  EXPECT_EQ(d.FixType, GPS_FIX_2D);
  EXPECT_FALSE(d.dwValidFields & GPS_VALID_ALTITUDE_WRT_SEA_LEVEL) << "a 2D fix has no altitude";
}

TEST(GpsdRecord, SkyGivesDopsAndSatellitesCappedAtTwelve) {
  auto g = FreshReport();
  Fill3dFix(*g);
  g->dop.pdop = 1.6;
  g->dop.hdop = 0.9;
  g->dop.vdop = 1.3;
  g->satellites_visible = 14;
  g->satellites_used = 13;
  for (int i = 0; i < 14; ++i) {
    satellite_t& s = g->skyview[i];
    s.PRN = static_cast<short>(i + 1);
    s.elevation = 10.0 + i;
    s.azimuth = 20.0 * i;
    s.ss = i == 3 ? NAN : 30.0 + i;
    s.used = i != 0;
  }
  const GPS_POSITION p = PositionFromGpsd(*g, true);
  EXPECT_EQ(p.flPositionDilutionOfPrecision, 1.6f);
  EXPECT_EQ(p.flHorizontalDilutionOfPrecision, 0.9f);
  EXPECT_EQ(p.flVerticalDilutionOfPrecision, 1.3f);
  EXPECT_EQ(p.dwSatelliteCount, 12u);
  EXPECT_EQ(p.dwSatellitesInView, 12u);
  EXPECT_EQ(p.rgdwSatellitesUsedPRNs[0], 2u) << "PRN 1 is not used";
  EXPECT_EQ(p.rgdwSatellitesUsedPRNs[11], 13u);
  EXPECT_EQ(p.rgdwSatellitesInViewPRNs[11], 12u);
  EXPECT_EQ(p.rgdwSatellitesInViewElevation[2], 12u);
  EXPECT_EQ(p.rgdwSatellitesInViewAzimuth[2], 40u);
  EXPECT_EQ(p.rgdwSatellitesInViewSignalToNoiseRatio[2], 32u);
  EXPECT_EQ(p.rgdwSatellitesInViewSignalToNoiseRatio[3], 0u) << "no SNR heard";
  const DWORD satelliteBits =
      GPS_VALID_POSITION_DILUTION_OF_PRECISION | GPS_VALID_HORIZONTAL_DILUTION_OF_PRECISION |
      GPS_VALID_VERTICAL_DILUTION_OF_PRECISION | GPS_VALID_SATELLITE_COUNT |
      GPS_VALID_SATELLITES_USED_PRNS | GPS_VALID_SATELLITES_IN_VIEW |
      GPS_VALID_SATELLITES_IN_VIEW_PRNS | GPS_VALID_SATELLITES_IN_VIEW_ELEVATION |
      GPS_VALID_SATELLITES_IN_VIEW_AZIMUTH | GPS_VALID_SATELLITES_IN_VIEW_SIGNAL_TO_NOISE_RATIO;
  EXPECT_EQ(p.dwValidFields & satelliteBits, satelliteBits);
}

// ---- end to end with gpsfake ---------------------------------------------------------------

constexpr double kLatitude = 47.6062095;
constexpr double kLongitude = -122.3320708;

// Waits on the event until the predicate holds for the current record (or the time runs out).
template <class Predicate>
bool WaitForPosition(const ScopedEvent& event, HANDLE device, Predicate holds, GPS_POSITION* out,
                     std::chrono::seconds limit = std::chrono::seconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (!event.Wait(500)) continue;
    *out = EmptyPosition();
    if (GPSGetPosition(device, out, 3000, 0) == ERROR_SUCCESS && holds(*out)) return true;
  }
  return false;
}

template <class Predicate>
bool WaitForDevice(const ScopedEvent& event, Predicate holds, GPS_DEVICE* out,
                   std::chrono::seconds limit = std::chrono::seconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (!event.Wait(500)) continue;
    *out = EmptyDevice();
    if (GPSGetDeviceState(out) == ERROR_SUCCESS && holds(*out)) return true;
  }
  return false;
}

bool HasFixAndSky(const GPS_POSITION& p) {
  return (p.dwValidFields & GPS_VALID_LATITUDE) && (p.dwValidFields & GPS_VALID_SATELLITE_COUNT) &&
         (p.dwValidFields & GPS_VALID_SATELLITES_IN_VIEW) && p.dwSatelliteCount > 0;
}

class GpsdEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string missing = zaz::testing::GpsFake::MissingTools();
    // Never skipped: a machine without gpsd cannot vouch for this driver.
    ASSERT_TRUE(missing.empty()) << "the gpsd tests need " << missing
                                 << "(install them with scripts/install-deps.sh)";
    port_ = zaz::testing::GpsFake::FreePort();
    ASSERT_NE(port_, 0);
  }
  std::unique_ptr<zaz::testing::GpsFake> StartFake() {
    std::string error;
    auto fake = zaz::testing::GpsFake::Start(DataFile("gpsd_fix_3d.log"), port_, 0.1, &error);
    EXPECT_TRUE(fake) << error;
    return fake;
  }
  int port_ = 0;
};

TEST_F(GpsdEndToEnd, PositionsArriveGpsdLossIsReportedAndPositionsResume) {
  auto fake = StartFake();
  ASSERT_TRUE(fake);
  ScopedPdaGps env("gpsd://127.0.0.1:" + std::to_string(port_));
  ScopedEvent position, state;
  ScopedGps gps(position.get(), state.get());
  ASSERT_TRUE(gps.get()) << GetLastError();

  GPS_DEVICE d{};
  ASSERT_TRUE(WaitForDevice(state, [](const GPS_DEVICE& x) {
    return x.dwServiceState == SERVICE_STATE_ON;
  }, &d)) << "the first connection signals the device state";

  GPS_POSITION p{};
  ASSERT_TRUE(WaitForPosition(position, gps.get(), HasFixAndSky, &p));
  EXPECT_NEAR(p.dblLatitude, kLatitude, 1e-7);
  EXPECT_NEAR(p.dblLongitude, kLongitude, 1e-7);
  EXPECT_EQ(p.dwSatelliteCount, 8u);
  EXPECT_EQ(p.dwSatellitesInView, 10u);
  EXPECT_EQ(p.FixType, GPS_FIX_3D);
  EXPECT_EQ(p.stUTCTime.wYear, 2025);

  d = EmptyDevice();
  ASSERT_EQ(GPSGetDeviceState(&d), ERROR_SUCCESS);
  EXPECT_EQ(d.dwDeviceState, SERVICE_STATE_ON);
  const std::string name = FriendlyName(d);
  EXPECT_EQ(name.rfind("gpsd 127.0.0.1:" + std::to_string(port_) + " /dev/", 0), 0u) << name;

  // gpsd dies: a record without a position comes at once (well within 4 s), and the service
  // goes off.
  ASSERT_TRUE(fake->KillGpsd());
  ASSERT_TRUE(WaitForPosition(position, gps.get(), [](const GPS_POSITION& x) {
    return x.dblLatitude == 0.0 && x.dblLongitude == 0.0 && !(x.dwValidFields & GPS_VALID_LATITUDE);
  }, &p, std::chrono::seconds(4)));
  EXPECT_EQ(pda::gps::CurrentSourceStatus().state, pda::gps::SourceState::NoSource);
  ASSERT_TRUE(WaitForDevice(state, [](const GPS_DEVICE& x) {
    return x.dwServiceState == SERVICE_STATE_OFF && x.dwDeviceState == SERVICE_STATE_OFF;
  }, &d));
  fake->Stop();

  // A new gpsd on the same port: positions resume without reopening.
  fake = StartFake();
  ASSERT_TRUE(fake);
  const std::int64_t lastArrival = pda::testing::GpsPositionArrivalNanoseconds();
  ASSERT_TRUE(WaitForPosition(position, gps.get(), [&](const GPS_POSITION& x) {
    return HasFixAndSky(x) && pda::testing::GpsPositionArrivalNanoseconds() > lastArrival;
  }, &p));
  EXPECT_NEAR(p.dblLatitude, kLatitude, 1e-7);
  d = EmptyDevice();
  ASSERT_EQ(GPSGetDeviceState(&d), ERROR_SUCCESS);
  EXPECT_EQ(d.dwServiceState, SERVICE_STATE_ON);
  EXPECT_EQ(gps.Close(), ERROR_SUCCESS);
}

TEST_F(GpsdEndToEnd, UnreachableGpsdIsReportedOncePerOutageAndCloseStillReturns) {
  ASSERT_EQ(DriverThreadCount(), 0u);
  ScopedPdaGps env("gpsd://127.0.0.1:" + std::to_string(port_));  // nobody listens there
  ::testing::internal::CaptureStderr();
  {
    ScopedGps gps(nullptr, nullptr);
    ASSERT_TRUE(gps.get()) << "gpsd being down is not a reason to refuse the open";
    // Long enough for several retries (100, 200, 400 ms).
    std::this_thread::sleep_for(std::chrono::milliseconds(900));
    GPS_DEVICE d = EmptyDevice();
    ASSERT_EQ(GPSGetDeviceState(&d), ERROR_SUCCESS);
    EXPECT_EQ(d.dwServiceState, SERVICE_STATE_OFF);
    EXPECT_EQ(gps.Close(), ERROR_SUCCESS);
  }
  const std::string printed = ::testing::internal::GetCapturedStderr();
  const std::string line = "GPS no source: gpsd at 127.0.0.1:" + std::to_string(port_) +
                           ": not reachable, retrying\n";
  EXPECT_EQ(printed, line);
  EXPECT_EQ(DriverThreadCount(), 0u);
}

// A socket listening on a free loopback port; its address into *address.
int ListenOnLoopback(int backlog, sockaddr_in* address) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  *address = sockaddr_in{};
  address->sin_family = AF_INET;
  address->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof *address;
  ::bind(fd, reinterpret_cast<sockaddr*>(address), size);
  ::listen(fd, backlog);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(address), &size);
  return fd;
}

// A listening socket on loopback that never accepts: once its backlog is full, connects hang.
// With `reset`, it accepts and drops every connection at once instead.
class BadPeer {
 public:
  explicit BadPeer(bool reset) {
    sockaddr_in a;
    fd_ = ListenOnLoopback(0, &a);
    const socklen_t size = sizeof a;
    port_ = ntohs(a.sin_port);
    if (!reset) {
      // Fill the backlog so that the next SYN is dropped.
      for (int i = 0; i < 4; ++i) {
        int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        ::connect(c, reinterpret_cast<sockaddr*>(&a), size);
        fillers_.push_back(c);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } else {
      resetter_ = std::thread([this] {
        for (;;) {
          const int c = ::accept(fd_, nullptr, nullptr);
          if (c < 0) return;
          ++accepted_;
          linger l{1, 0};  // close with a reset
          ::setsockopt(c, SOL_SOCKET, SO_LINGER, &l, sizeof l);
          ::close(c);
        }
      });
    }
  }
  ~BadPeer() {
    ::shutdown(fd_, SHUT_RDWR);
    if (resetter_.joinable()) resetter_.join();
    ::close(fd_);
    for (int c : fillers_) ::close(c);
  }
  int port() const { return port_; }
  int accepted() const { return accepted_.load(); }

 private:
  int fd_ = -1;
  int port_ = 0;
  std::vector<int> fillers_;
  std::thread resetter_;
  std::atomic<int> accepted_{0};
};

// A gpsd stand-in that accepts one client and sends it lines, each after its pause.
class ScriptedPeer {
 public:
  using Script = std::vector<std::pair<std::chrono::milliseconds, std::string>>;
  explicit ScriptedPeer(Script script) {
    sockaddr_in a;
    listener_ = ListenOnLoopback(1, &a);
    port_ = ntohs(a.sin_port);
    sender_ = std::thread([this, script = std::move(script)] {
      const int c = ::accept(listener_, nullptr, nullptr);
      if (c < 0) return;
      for (const auto& [pause, line] : script) {
        std::this_thread::sleep_for(pause);
        const std::string text = line + "\n";
        if (::send(c, text.data(), text.size(), MSG_NOSIGNAL) < 0) break;
      }
      std::this_thread::sleep_for(std::chrono::seconds(1));
      ::close(c);
    });
  }
  ~ScriptedPeer() {
    ::shutdown(listener_, SHUT_RDWR);
    sender_.join();
    ::close(listener_);
  }
  int port() const { return port_; }

 private:
  int listener_ = -1;
  int port_ = 0;
  std::thread sender_;
};

std::string Tpv(double latitude) {
  return R"({"class":"TPV","device":"/dev/x","mode":3,"lat":)" + std::to_string(latitude) +
         R"(,"lon":20.0,"altHAE":5.0})";
}
std::string Sky(int used, int visible) {
  std::string satellites;
  for (int i = 0; i < visible; ++i)
    satellites += (i ? "," : "") + std::string(R"({"PRN":)") + std::to_string(i + 1) +
                  R"(,"el":40.0,"az":90.0,"ss":30.0,"used":)" + (i < used ? "true" : "false") + "}";
  return R"({"class":"SKY","device":"/dev/x","uSat":)" + std::to_string(used) + R"(,"nSat":)" +
         std::to_string(visible) + R"(,"satellites":[)" + satellites + "]}";
}

// One record per epoch: a sky view waits for the next position while positions flow, goes out
// alone 1.5 s after it came when none follows, and at once when no positions are coming.
TEST(GpsdEpoch, ASkyViewGoesOutWithTheNextPosition) {
  using std::chrono::milliseconds;
  ScriptedPeer peer({{milliseconds(0), Tpv(10.0)},
                     {milliseconds(100), Sky(5, 7)},
                     {milliseconds(400), Tpv(11.0)},   // takes the 5/7 with it
                     {milliseconds(100), Sky(6, 8)},   // no position follows
                     {milliseconds(1900), Sky(7, 9)}});  // positions stopped 2 s ago
  ScopedPdaGps env("gpsd://127.0.0.1:" + std::to_string(peer.port()));
  // Read before the driver starts: the first position may be published before the open returns.
  std::int64_t last = pda::testing::GpsPositionArrivalNanoseconds();
  ScopedGps gps(nullptr, nullptr);
  ASSERT_TRUE(gps.get());
  // Every publication, as read right after it: latitude, satellites used, in view.
  std::vector<std::array<double, 3>> published;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline && published.size() < 4) {
    std::this_thread::sleep_for(milliseconds(5));
    const std::int64_t arrival = pda::testing::GpsPositionArrivalNanoseconds();
    if (arrival == last) continue;
    last = arrival;
    GPS_POSITION p = EmptyPosition();
    ASSERT_EQ(GPSGetPosition(gps.get(), &p, 60000, 0), ERROR_SUCCESS);
    const bool counts = p.dwValidFields & GPS_VALID_SATELLITE_COUNT;
    published.push_back({p.dblLatitude, counts ? double(p.dwSatelliteCount) : -1.0,
                         counts ? double(p.dwSatellitesInView) : -1.0});
  }
  const std::vector<std::array<double, 3>> expected = {
      {10.0, -1, -1}, {11.0, 5, 7}, {11.0, 6, 8}, {11.0, 7, 9}};
  EXPECT_EQ(published, expected);
}

TEST(GpsdNetwork, CloseReturnsWhateverTheNetworkDoesAndAnOutageIsOneLine) {
  for (const bool reset : {false, true}) {
    BadPeer peer(reset);
    ScopedPdaGps env("gpsd://127.0.0.1:" + std::to_string(peer.port()));
    ::testing::internal::CaptureStderr();
    ScopedGps gps(nullptr, nullptr);
    ASSERT_TRUE(gps.get());
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(gps.Close(), ERROR_SUCCESS);
    const auto closeMs = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start).count();
    const std::string printed = ::testing::internal::GetCapturedStderr();
    // A hang check, not a timing goal: a blocking connect would hold the close for minutes.
    EXPECT_LT(closeMs, 2000) << (reset ? "reset peer" : "full backlog");
    std::printf("close with %s took %lld ms\n", reset ? "a resetting peer" : "a full backlog",
                static_cast<long long>(closeMs));
    // The resetting peer is one outage of many attempts: one line. The full backlog is still
    // the first connect (given 5 s): nothing yet.
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), reset ? 1 : 0) << printed;
    if (reset) {
      // 100, 200, 400, 800 ms of back-off in 1.5 s: the back-off was not reset by the connects.
      EXPECT_GE(peer.accepted(), 2);
      EXPECT_LE(peer.accepted(), 6);
    }
  }
}

}  // namespace
}  // namespace pda::gps::test
