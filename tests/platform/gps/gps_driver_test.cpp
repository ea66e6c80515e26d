// The GPS driver through its public calls: the scripted source of pda/testing/gps.h, PDA_GPS,
// the nmea: sources (log file and serial device) and the demo receiver.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <cmath>
#include <string>

#include "demo_track.h"
#include "gps_config.h"
#include "gps_test_util.h"
#include "nmea_parser.h"
#include "pda/testing/gps.h"

namespace pda::gps::test {
namespace {

using pda::testing::GpsOpenCount;

class ScriptedGps : public ::testing::Test {
 protected:
  void SetUp() override { pda::testing::UseScriptedGps(); }
  void TearDown() override { pda::testing::UseConfiguredGps(); }
};

GPS_POSITION Fix(double lat, double lon, DWORD used) {
  GPS_POSITION p = EmptyPosition();
  p.dblLatitude = lat;
  p.dblLongitude = lon;
  p.dwSatelliteCount = used;
  p.dwValidFields = GPS_VALID_LATITUDE | GPS_VALID_LONGITUDE | GPS_VALID_SATELLITE_COUNT;
  return p;
}

TEST_F(ScriptedGps, EveryOpenHasItsOwnEventsAndTheCountFollowsOpensAndCloses) {
  ScopedEvent pos1, state1, pos2, state2;
  ScopedGps first(pos1.get(), state1.get());
  ScopedGps second(pos2.get(), state2.get());
  ASSERT_TRUE(first.get() && second.get());
  EXPECT_FALSE(first.get() == second.get());
  EXPECT_EQ(GpsOpenCount(), 2);

  pda::testing::ScriptGpsPosition(Fix(47.5, -122.25, 7));
  EXPECT_TRUE(pos1.Wait(0));
  EXPECT_TRUE(pos2.Wait(0));
  EXPECT_FALSE(state1.Wait(0)) << "a position is not a device-state change";

  GPS_POSITION got = EmptyPosition();
  ASSERT_EQ(GPSGetPosition(first.get(), &got, 3000, 0), ERROR_SUCCESS);
  EXPECT_EQ(got.dblLatitude, 47.5);
  EXPECT_EQ(got.dblLongitude, -122.25);
  EXPECT_EQ(got.dwSatelliteCount, 7u);

  EXPECT_EQ(first.Close(), ERROR_SUCCESS);
  EXPECT_EQ(GpsOpenCount(), 1);
  pda::testing::ScriptGpsPosition(Fix(1, 2, 3));
  EXPECT_FALSE(pos1.Wait(0)) << "a closed open is not signalled";
  EXPECT_TRUE(pos2.Wait(0));

  GPS_DEVICE device = EmptyDevice();
  device.dwServiceState = SERVICE_STATE_ON;
  device.dwDeviceState = SERVICE_STATE_OFF;
  pda::testing::ScriptGpsDeviceState(device);
  EXPECT_TRUE(state2.Wait(0));
  GPS_DEVICE read = EmptyDevice();
  ASSERT_EQ(GPSGetDeviceState(&read), ERROR_SUCCESS);
  EXPECT_EQ(read.dwServiceState, SERVICE_STATE_ON);
  EXPECT_EQ(read.dwDeviceState, SERVICE_STATE_OFF);
  EXPECT_EQ(second.Close(), ERROR_SUCCESS);
  EXPECT_EQ(GpsOpenCount(), 0);
}

TEST_F(ScriptedGps, NullEventsAreAllowed) {
  ScopedGps gps(nullptr, nullptr);
  ASSERT_TRUE(gps.get());
  pda::testing::ScriptGpsPosition(Fix(10, 20, 4));  // must not try to set a null event
  GPS_POSITION got = EmptyPosition();
  EXPECT_EQ(GPSGetPosition(gps.get(), &got, 3000, 0), ERROR_SUCCESS);
  EXPECT_EQ(got.dblLatitude, 10.0);
}

TEST_F(ScriptedGps, PositionOlderThanTheMaximumAgeComesBackEmpty) {
  ScopedGps gps(nullptr, nullptr);
  pda::testing::ScriptGpsPosition(Fix(47.5, -122.25, 7), 5000);
  GPS_POSITION got = EmptyPosition();
  ASSERT_EQ(GPSGetPosition(gps.get(), &got, 3000, 0), ERROR_SUCCESS);
  EXPECT_EQ(got.dwValidFields, 0u);
  EXPECT_EQ(got.dblLatitude, 0.0);
  EXPECT_EQ(got.dblLongitude, 0.0);
  EXPECT_EQ(got.dwSatelliteCount, 0u);
  EXPECT_EQ(got.dwVersion, GPS_VERSION_1);
  EXPECT_EQ(got.dwSize, sizeof(GPS_POSITION));

  ASSERT_EQ(GPSGetPosition(gps.get(), &got, 60000, 0), ERROR_SUCCESS);
  EXPECT_EQ(got.dblLatitude, 47.5) << "a longer maximum age accepts the same record";
}

TEST_F(ScriptedGps, NoPositionYetIsEmpty) {
  ScopedGps gps(nullptr, nullptr);
  GPS_POSITION got = EmptyPosition();
  got.dblLatitude = 99;
  ASSERT_EQ(GPSGetPosition(gps.get(), &got, 3000, 0), ERROR_SUCCESS);
  EXPECT_EQ(got.dwValidFields, 0u);
  EXPECT_EQ(got.dblLatitude, 0.0);
}

TEST_F(ScriptedGps, RecordsWithAWrongVersionOrSizeAreRefusedAndLeftAlone) {
  ScopedGps gps(nullptr, nullptr);
  pda::testing::ScriptGpsPosition(Fix(47.5, -122.25, 7));
  struct Case {
    const char* name;
    DWORD version, size;
  };
  for (const Case& c : {Case{"size of version 2", GPS_VERSION_1, 376}, Case{"size 0", 1, 0},
                        Case{"version 2", 2, 344}, Case{"version 0", 0, 344}}) {
    GPS_POSITION p{};
    p.dwVersion = c.version;
    p.dwSize = c.size;
    EXPECT_EQ(GPSGetPosition(gps.get(), &p, 3000, 0), ERROR_INVALID_PARAMETER) << c.name;
    EXPECT_EQ(p.dblLatitude, 0.0) << c.name;
    GPS_DEVICE d{};
    d.dwVersion = c.version;
    d.dwSize = c.size == 344 ? 216 : c.size;
    if (c.version == GPS_VERSION_1 && c.size == 216) continue;
    EXPECT_EQ(GPSGetDeviceState(&d), ERROR_INVALID_PARAMETER) << c.name;
  }
  EXPECT_EQ(GPSGetPosition(gps.get(), nullptr, 3000, 0), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GPSGetDeviceState(nullptr), ERROR_INVALID_PARAMETER);
  GPS_POSITION p = EmptyPosition();
  EXPECT_EQ(GPSGetPosition(gps.get(), &p, 3000, 1), ERROR_INVALID_PARAMETER) << "flags";
}

TEST_F(ScriptedGps, StaleAndForeignHandlesAreRefused) {
  ScopedEvent event;
  HANDLE device = GPSOpenDevice(nullptr, nullptr, nullptr, 0);
  ASSERT_TRUE(device);
  EXPECT_EQ(GPSCloseDevice(device), ERROR_SUCCESS);
  GPS_POSITION p = EmptyPosition();
  EXPECT_EQ(GPSGetPosition(device, &p, 3000, 0), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GPSCloseDevice(device), ERROR_INVALID_HANDLE) << "second close";
  EXPECT_EQ(GPSCloseDevice(event.get()), ERROR_INVALID_HANDLE) << "an event is not a device";
  EXPECT_EQ(GPSGetPosition(nullptr, &p, 3000, 0), ERROR_SUCCESS) << "null asks for cached data";
  EXPECT_EQ(GpsOpenCount(), 0);
}

TEST_F(ScriptedGps, ReservedArgumentsMustBeEmpty) {
  SetLastError(0);
  EXPECT_FALSE(GPSOpenDevice(nullptr, nullptr, u"GPD0:", 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(GPSOpenDevice(nullptr, nullptr, nullptr, 1));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GpsOpenCount(), 0);
}

TEST_F(ScriptedGps, ScriptedFailures) {
  pda::testing::ScriptGpsOpenFailure(ERROR_DEV_NOT_EXIST);
  SetLastError(0);
  EXPECT_FALSE(GPSOpenDevice(nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(GetLastError(), ERROR_DEV_NOT_EXIST);
  EXPECT_EQ(GpsOpenCount(), 0);
  pda::testing::ScriptGpsOpenFailure(0);

  ScopedGps gps(nullptr, nullptr);
  ASSERT_TRUE(gps.get());
  pda::testing::ScriptGpsPosition(Fix(1, 2, 3));
  pda::testing::ScriptGpsGetFailure(ERROR_TIMEOUT);
  GPS_POSITION p = EmptyPosition();
  GPS_DEVICE d = EmptyDevice();
  EXPECT_EQ(GPSGetPosition(gps.get(), &p, 3000, 0), ERROR_TIMEOUT);
  EXPECT_EQ(p.dblLatitude, 0.0) << "the caller's record is left alone";
  EXPECT_EQ(GPSGetDeviceState(&d), ERROR_TIMEOUT);
  pda::testing::ScriptGpsGetFailure(0);
  EXPECT_EQ(GPSGetPosition(gps.get(), &p, 3000, 0), ERROR_SUCCESS);
  EXPECT_EQ(p.dblLatitude, 1.0);
}

// ---- PDA_GPS -------------------------------------------------------------------------------

TEST(GpsConfig, AcceptedForms) {
  struct Case {
    const char* value;
    const char* host;  // null: not gpsd
    const char* port;
  };
  const Case cases[] = {{nullptr, "127.0.0.1", "2947"},        {"", "127.0.0.1", "2947"},
                        {"gpsd", "127.0.0.1", "2947"},         {"gpsd://gps.lan:3000", "gps.lan", "3000"},
                        {"gpsd://[::1]:2947", "::1", "2947"},  {"demo", nullptr, nullptr},
                        {"none", nullptr, nullptr},            {"nmea:/dev/ttyUSB0", nullptr, nullptr}};
  for (const Case& c : cases) {
    const auto config = ParseGpsConfig(c.value);
    ASSERT_TRUE(config) << (c.value ? c.value : "(unset)");
    if (!c.host) continue;
    const auto* gpsd = std::get_if<GpsdConfig>(&*config);
    ASSERT_TRUE(gpsd) << c.value;
    EXPECT_EQ(gpsd->host, c.host);
    EXPECT_EQ(gpsd->port, c.port);
  }
  EXPECT_EQ(std::get<NmeaConfig>(*ParseGpsConfig("nmea:/dev/ttyUSB0")).path, "/dev/ttyUSB0");
}

TEST(GpsConfig, BadValueFailsTheOpenWithOneLineNamingPdaGps) {
  for (const char* value : {"gpsd:", "gpsd://host", "gpsd://:2947", "gpsd://h:0", "gpsd://h:70000",
                            "gpsd://h:29x", "nmea:", "demo2", "NONE", "serial"}) {
    ScopedPdaGps env(value);
    ::testing::internal::CaptureStderr();
    SetLastError(0);
    HANDLE device = GPSOpenDevice(nullptr, nullptr, nullptr, 0);
    const DWORD error = GetLastError();
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(device) << value;
    if (device) GPSCloseDevice(device);
    EXPECT_EQ(error, ERROR_INVALID_PARAMETER) << value;
    EXPECT_NE(printed.find("PDA_GPS"), std::string::npos) << value << ": " << printed;
    EXPECT_NE(printed.find("gpsd://HOST:PORT"), std::string::npos) << "names the accepted forms";
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << value << ": " << printed;
  }
  EXPECT_EQ(GpsOpenCount(), 0);
}

TEST(GpsConfig, NoneAndMissingLogFailTheOpen) {
  struct Case {
    std::string value;
    DWORD error;
  };
  for (const Case& c : {Case{"none", ERROR_DEV_NOT_EXIST},
                        Case{"nmea:/nonexistent/gps.nmea", ERROR_FILE_NOT_FOUND},
                        Case{"nmea:/tmp", ERROR_DEV_NOT_EXIST}}) {
    ScopedPdaGps env(c.value);
    SetLastError(0);
    EXPECT_FALSE(GPSOpenDevice(nullptr, nullptr, nullptr, 0)) << c.value;
    EXPECT_EQ(GetLastError(), c.error) << c.value;
  }
  EXPECT_EQ(GpsOpenCount(), 0);
}

// ---- nmea: and demo ------------------------------------------------------------------------

TEST(NmeaLogSource, ReplaysTheLogAndStopsItsThreadAtTheLastClose) {
  ASSERT_EQ(DriverThreadCount(), 0u);
  ScopedPdaGps env("nmea:" + DataFile("fix_3d.nmea"));
  ScopedEvent position, state;
  ScopedGps first(position.get(), state.get());
  ASSERT_TRUE(first.get()) << GetLastError();
  EXPECT_EQ(DriverThreadCount(), 1u) << "one driver thread";
  ScopedGps second(nullptr, nullptr);
  ASSERT_TRUE(second.get());
  EXPECT_EQ(DriverThreadCount(), 1u) << "a second open shares the thread";

  ASSERT_TRUE(position.Wait(5000));
  GPS_POSITION p = EmptyPosition();
  ASSERT_EQ(GPSGetPosition(first.get(), &p, 3000, 0), ERROR_SUCCESS);
  EXPECT_NEAR(p.dblLatitude, 47.6062095, 1e-7);
  EXPECT_NEAR(p.dblLongitude, -122.3320708, 1e-7);
  EXPECT_EQ(p.dwSatelliteCount, 8u);
  EXPECT_EQ(p.dwSatellitesInView, 10u);

  ASSERT_TRUE(state.Wait(5000));
  GPS_DEVICE d = EmptyDevice();
  ASSERT_EQ(GPSGetDeviceState(&d), ERROR_SUCCESS);
  EXPECT_EQ(d.dwServiceState, SERVICE_STATE_ON);
  EXPECT_EQ(d.dwDeviceState, SERVICE_STATE_ON);
  EXPECT_NE(FriendlyName(d).find("fix_3d.nmea"), std::string::npos) << FriendlyName(d);
  EXPECT_TRUE(d.ftLastDataReceived.dwHighDateTime != 0);

  EXPECT_EQ(first.Close(), ERROR_SUCCESS);
  EXPECT_EQ(DriverThreadCount(), 1u) << "still open once";
  EXPECT_EQ(second.Close(), ERROR_SUCCESS);
  EXPECT_EQ(DriverThreadCount(), 0u) << "the last close ends the thread";
  ASSERT_EQ(GPSGetDeviceState(&d), ERROR_SUCCESS);
  EXPECT_EQ(d.dwServiceState, SERVICE_STATE_OFF);
}

TEST(NmeaLogSource, CountsBadSentences) {
  ScopedPdaGps env("nmea:" + DataFile("bad_sentences.nmea"));
  const unsigned before = pda::testing::NmeaBadSentenceCount();
  ScopedEvent position;
  ScopedGps gps(position.get(), nullptr);
  ASSERT_TRUE(gps.get());
  // The log has two epochs, one a second; the four bad lines lie between them.
  ASSERT_TRUE(position.Wait(5000));
  ASSERT_TRUE(position.Wait(5000));
  EXPECT_EQ(pda::testing::NmeaBadSentenceCount() - before, 4u);
}

TEST(NmeaSerialSource, ReadsWhatComesAndReportsTheDeviceGone) {
  int master = -1, slave = -1;
  char name[64] = {};
  ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
  ::close(slave);  // the driver opens its own
  ScopedPdaGps env(std::string("nmea:") + name);
  ScopedEvent position, state;
  ScopedGps gps(position.get(), state.get());
  ASSERT_TRUE(gps.get()) << GetLastError();

  const std::string epoch =
      "$GPRMC,204105.00,A,4736.3725700,N,12219.9242480,W,0.0,0.0,090125,15.4,E,A*10\r\n"
      "$GPGGA,204105.00,4736.3725700,N,12219.9242480,W,1,08,0.9,56.0,M,-17.0,M,,*6F\r\n"
      "$GPGGA,204105.00,4736.37,N*00\r\n"
      "\r\n";
  const unsigned badBefore = pda::testing::NmeaBadSentenceCount();
  ASSERT_EQ(::write(master, epoch.data(), epoch.size()), static_cast<ssize_t>(epoch.size()));
  ASSERT_TRUE(position.Wait(5000));
  GPS_POSITION p = EmptyPosition();
  ASSERT_EQ(GPSGetPosition(gps.get(), &p, 3000, 0), ERROR_SUCCESS);
  EXPECT_NEAR(p.dblLatitude, 47.6062095, 1e-7);
  EXPECT_EQ(p.dwSatelliteCount, 8u);
  EXPECT_EQ(pda::testing::NmeaBadSentenceCount() - badBefore, 1u);
  GPS_DEVICE d = EmptyDevice();
  ASSERT_EQ(GPSGetDeviceState(&d), ERROR_SUCCESS);
  EXPECT_EQ(d.dwDeviceState, SERVICE_STATE_ON);

  // The receiver falls silent: a record without a position comes after 3 s.
  while (position.Wait(0)) {
  }
  ASSERT_TRUE(position.Wait(4500));
  ASSERT_EQ(GPSGetPosition(gps.get(), &p, 3000, 0), ERROR_SUCCESS);
  EXPECT_EQ(p.dblLatitude, 0.0);
  EXPECT_FALSE(p.dwValidFields & GPS_VALID_LATITUDE);
  // It speaks again (CR-only line ends): the position is back without reopening.
  const std::string again =
      "$GPRMC,204106.00,A,4736.3725700,N,12219.9242480,W,0.0,0.0,090125,15.4,E,A*13\r"
          "$GPGGA,204106.00,4736.3725700,N,12219.9242480,W,1,08,0.9,56.0,M,-17.0,M,,*6C\r\r";
  ASSERT_EQ(::write(master, again.data(), again.size()), static_cast<ssize_t>(again.size()));
  ASSERT_TRUE(position.Wait(5000));
  ASSERT_EQ(GPSGetPosition(gps.get(), &p, 3000, 0), ERROR_SUCCESS);
  EXPECT_NEAR(p.dblLatitude, 47.6062095, 1e-7);

  while (state.Wait(0)) {
  }
  ::close(master);  // unplugged
  ASSERT_TRUE(state.Wait(5000));
  ASSERT_EQ(GPSGetDeviceState(&d), ERROR_SUCCESS);
  EXPECT_EQ(d.dwDeviceState, SERVICE_STATE_OFF);
  EXPECT_EQ(gps.Close(), ERROR_SUCCESS);
}

// The bundled track: a few minutes at 1 Hz, acquiring first, then a fix with realistic counts.
TEST(DemoTrack, IsAWalkThatStartsAcquiring) {
  NmeaAssembler assembler;
  std::vector<GPS_POSITION> epochs;
  std::string_view rest = DemoTrack();
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    if (auto e = assembler.FeedLine(rest.substr(0, end))) epochs.push_back(*e);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
  }
  if (auto e = assembler.Flush()) epochs.push_back(*e);
  EXPECT_EQ(assembler.BadSentences(), 0u);
  ASSERT_GE(epochs.size(), 120u) << "at least two minutes";
  std::size_t acquiring = 0;
  while (acquiring < epochs.size() && !(epochs[acquiring].dwValidFields & GPS_VALID_LATITUDE))
    ++acquiring;
  EXPECT_GE(acquiring, 3u);
  EXPECT_LE(acquiring, 15u);
  DWORD fewest = 99, most = 0;
  for (std::size_t i = acquiring; i < epochs.size(); ++i) {
    const GPS_POSITION& e = epochs[i];
    ASSERT_TRUE(e.dwValidFields & GPS_VALID_LATITUDE) << "epoch " << i << " lost the fix";
    fewest = std::min(fewest, e.dwSatelliteCount);
    most = std::max(most, e.dwSatelliteCount);
    EXPECT_LE(e.dwSatelliteCount, e.dwSatellitesInView) << "epoch " << i;
    if (i > acquiring) {
      // About walking pace: under 10 m between epochs.
      const double dy = (e.dblLatitude - epochs[i - 1].dblLatitude) * 111320.0;
      const double dx = (e.dblLongitude - epochs[i - 1].dblLongitude) * 111320.0 *
                        std::cos(e.dblLatitude * 3.14159265 / 180.0);
      EXPECT_LT(std::hypot(dx, dy), 10.0) << "epoch " << i;
    }
  }
  EXPECT_GE(fewest, 4u);
  EXPECT_LT(fewest, most) << "the satellite count varies";
}

TEST(DemoSource, StartsWithoutAFix) {
  ScopedPdaGps env("demo");
  ScopedEvent position;
  ScopedGps gps(position.get(), nullptr);
  ASSERT_TRUE(gps.get());
  ASSERT_TRUE(position.Wait(5000));
  GPS_POSITION p = EmptyPosition();
  ASSERT_EQ(GPSGetPosition(gps.get(), &p, 3000, 0), ERROR_SUCCESS);
  EXPECT_FALSE(p.dwValidFields & GPS_VALID_LATITUDE);
  EXPECT_EQ(p.dblLatitude, 0.0);
  EXPECT_TRUE(p.dwValidFields & GPS_VALID_SATELLITES_IN_VIEW);
  GPS_DEVICE d = EmptyDevice();
  ASSERT_EQ(GPSGetDeviceState(&d), ERROR_SUCCESS);
  EXPECT_EQ(d.dwServiceState, SERVICE_STATE_ON);
}

}  // namespace
}  // namespace pda::gps::test
