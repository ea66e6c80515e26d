// The NMEA parser and epoch assembler: annotated fixture logs against their expected records,
// and the sentences that must be refused.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "nmea_parser.h"

namespace pda::gps {
namespace {

// The text form of a record used by the *.nmea.chk files: the fields whose valid bits are set,
// then the fix type, quality and selection, which have no valid bits.
std::string CheckText(const GPS_POSITION& p) {
  std::string out;
  char buffer[64];
  auto add = [&](const char* format, auto... values) {
    std::snprintf(buffer, sizeof buffer, format, values...);
    if (!out.empty()) out += ' ';
    out += buffer;
  };
  const DWORD v = p.dwValidFields;
  const SYSTEMTIME& t = p.stUTCTime;
  if (v & GPS_VALID_UTC_TIME)
    add("time=%04u-%02u-%02uT%02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
        t.wSecond, t.wMilliseconds);
  if (v & GPS_VALID_LATITUDE) add("lat=%.7f", p.dblLatitude);
  if (v & GPS_VALID_LONGITUDE) add("lon=%.7f", p.dblLongitude);
  if (v & GPS_VALID_SPEED) add("speed=%.1f", p.flSpeed);
  if (v & GPS_VALID_HEADING) add("heading=%.1f", p.flHeading);
  if (v & GPS_VALID_MAGNETIC_VARIATION) add("magvar=%.1f", p.dblMagneticVariation);
  if (v & GPS_VALID_ALTITUDE_WRT_SEA_LEVEL) add("msl=%.1f", p.flAltitudeWRTSeaLevel);
  if (v & GPS_VALID_ALTITUDE_WRT_ELLIPSOID) add("hae=%.1f", p.flAltitudeWRTEllipsoid);
  if (v & GPS_VALID_POSITION_DILUTION_OF_PRECISION) add("pdop=%.1f", p.flPositionDilutionOfPrecision);
  if (v & GPS_VALID_HORIZONTAL_DILUTION_OF_PRECISION) add("hdop=%.1f", p.flHorizontalDilutionOfPrecision);
  if (v & GPS_VALID_VERTICAL_DILUTION_OF_PRECISION) add("vdop=%.1f", p.flVerticalDilutionOfPrecision);
  static const char* const kFix[] = {"unknown", "2D", "3D"};
  static const char* const kQuality[] = {"unknown", "GPS", "DGPS"};
  static const char* const kSelect[] = {"unknown", "auto", "manual"};
  add("fix=%s quality=%s select=%s", p.FixType < 3 ? kFix[p.FixType] : "?",
      p.FixQuality < 3 ? kQuality[p.FixQuality] : "?",
      p.SelectionType < 3 ? kSelect[p.SelectionType] : "?");
  if (v & GPS_VALID_SATELLITE_COUNT) add("used=%u", p.dwSatelliteCount);
  if (v & GPS_VALID_SATELLITES_USED_PRNS) {
    std::string list;
    for (DWORD prn : p.rgdwSatellitesUsedPRNs)
      if (prn) list += (list.empty() ? "" : ",") + std::to_string(prn);
    out += " usedprns=" + list;
  }
  if (v & GPS_VALID_SATELLITES_IN_VIEW) add("view=%u", p.dwSatellitesInView);
  if (v & GPS_VALID_SATELLITES_IN_VIEW_PRNS) {
    std::string list;
    for (DWORD i = 0; i < GPS_MAX_SATELLITES; ++i) {
      if (!p.rgdwSatellitesInViewPRNs[i]) continue;
      auto part = [&](DWORD bit, DWORD value) {
        return (v & bit) ? std::to_string(value) : std::string("-");
      };
      list += (list.empty() ? "" : ",") + std::to_string(p.rgdwSatellitesInViewPRNs[i]) + ":" +
              part(GPS_VALID_SATELLITES_IN_VIEW_ELEVATION, p.rgdwSatellitesInViewElevation[i]) +
              ":" + part(GPS_VALID_SATELLITES_IN_VIEW_AZIMUTH, p.rgdwSatellitesInViewAzimuth[i]) +
              ":" +
              part(GPS_VALID_SATELLITES_IN_VIEW_SIGNAL_TO_NOISE_RATIO,
                   p.rgdwSatellitesInViewSignalToNoiseRatio[i]);
    }
    out += " sats=" + list;
  }
  return out;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class NmeaFixture : public ::testing::TestWithParam<const char*> {};

// Every fixture log, replayed through the assembler, gives the records of its .chk file, and
// no epoch without a valid position carries anything but 0.0 in latitude and longitude.
TEST_P(NmeaFixture, GivesTheRecordsOfItsCheckFile) {
  const std::string log = std::string(GPS_TEST_DATA) + "/" + GetParam();
  const std::vector<std::string> input = ReadLines(log);
  ASSERT_FALSE(input.empty()) << "missing fixture " << log;
  std::vector<std::string> expected;
  for (const std::string& line : ReadLines(log + ".chk"))
    if (!line.empty() && line[0] != '#') expected.push_back(line);
  ASSERT_FALSE(expected.empty()) << "missing or empty " << log << ".chk";

  NmeaAssembler assembler;
  std::vector<std::string> actual;
  auto take = [&](const std::optional<GPS_POSITION>& epoch) {
    if (!epoch) return;
    EXPECT_EQ(epoch->dwVersion, GPS_VERSION_1);
    EXPECT_EQ(epoch->dwSize, sizeof(GPS_POSITION));
    if (!(epoch->dwValidFields & GPS_VALID_LATITUDE)) {
      EXPECT_EQ(epoch->dblLatitude, 0.0);
      EXPECT_EQ(epoch->dblLongitude, 0.0);
    }
    actual.push_back(CheckText(*epoch));
  };
  for (const std::string& line : input) take(assembler.FeedLine(line));
  take(assembler.Flush());
  actual.push_back("bad=" + std::to_string(assembler.BadSentences()));
  EXPECT_EQ(actual, expected);
}

INSTANTIATE_TEST_SUITE_P(Logs, NmeaFixture,
                         ::testing::Values("no_fix_indoors.nmea", "fix_3d.nmea",
                                           "fix_2d_dgps_gnss.nmea", "gsv_over_12.nmea",
                                           "bad_sentences.nmea",
                                           // Real receivers (their source and licence beside).
                                           "receivers/bu353_glonass.nmea",
                                           "receivers/hab_gpspi.nmea",
                                           "receivers/furuno_gt88.nmea",
                                           "receivers/sirfstarv_nmea.nmea",
                                           "receivers/jl_micro_jlt.nmea",
                                           "receivers/quectel_eg25g.nmea"),
                         [](const auto& info) {
                           std::string name = info.param;
                           name = name.substr(name.find('/') + 1);
                           name = name.substr(0, name.find('.'));
                           std::erase(name, '_');
                           return name;
                         });

// Appends a correct checksum, so that each case below is refused for its own fault.
std::string Framed(const std::string& body) {
  unsigned sum = 0;
  for (char c : body) sum ^= static_cast<unsigned char>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X", sum);
  return "$" + body + tail;
}

struct BadCase {
  const char* name;
  std::string line;
};

TEST(NmeaParser, RefusesMalformedSentences) {
  const std::string goodGga = "GPGGA,204105.00,4736.37257,N,12219.92425,W,1,08,0.9,56.0,M,-17.0,M,,";
  ASSERT_EQ(ParseNmeaSentence(Framed(goodGga)).status, NmeaParseStatus::Parsed);
  const BadCase cases[] = {
      {"wrong checksum", "$" + goodGga + "*00"},
      {"cut before the checksum", "$" + goodGga.substr(0, 30)},
      {"checksum not hex", "$" + goodGga + "*G1"},
      {"no dollar", Framed(goodGga).substr(1)},
      {"garbage after the checksum", Framed(goodGga) + "x"},
      {"GGA missing a field", Framed("GPGGA,204105.00,4736.37257,N,12219.92425,W,1,08,0.9,56.0,M,-17.0,M,")},
      {"GGA latitude not a number", Framed("GPGGA,204105.00,47x6.37257,N,12219.92425,W,1,08,0.9,56.0,M,-17.0,M,,")},
      {"GGA latitude nan", Framed("GPGGA,204105.00,nan,N,12219.92425,W,1,08,0.9,56.0,M,-17.0,M,,")},
      {"GGA altitude inf", Framed("GPGGA,204105.00,4736.37257,N,12219.92425,W,1,08,0.9,inf,M,-17.0,M,,")},
      {"GGA minutes of 60", Framed("GPGGA,204105.00,4760.00000,N,12219.92425,W,1,08,0.9,56.0,M,-17.0,M,,")},
      {"GGA latitude over 90", Framed("GPGGA,204105.00,9100.00000,N,12219.92425,W,1,08,0.9,56.0,M,-17.0,M,,")},
      {"GGA bad hemisphere", Framed("GPGGA,204105.00,4736.37257,E,12219.92425,W,1,08,0.9,56.0,M,-17.0,M,,")},
      {"GGA hour 24", Framed("GPGGA,244105.00,4736.37257,N,12219.92425,W,1,08,0.9,56.0,M,-17.0,M,,")},
      {"RMC bad status", Framed("GPRMC,204105.00,X,4736.37257,N,12219.92425,W,0.0,0.0,090125,,,A")},
      {"RMC month 13", Framed("GPRMC,204105.00,A,4736.37257,N,12219.92425,W,0.0,0.0,091325,,,A")},
      {"RMC negative speed", Framed("GPRMC,204105.00,A,4736.37257,N,12219.92425,W,-1.0,0.0,090125,,,A")},
      {"GSA fix type 4", Framed("GPGSA,A,4,02,,,,,,,,,,,,1.6,0.9,1.3")},
      {"GSA too few fields", Framed("GPGSA,A,3,02,,,,,,,,,,,1.6,0.9,1.3")},
      {"GSV index past count", Framed("GPGSV,2,3,05,02,45,120,42")},
      {"GSV cut satellite group", Framed("GPGSV,1,1,02,02,45,120,42,05,30")},
      {"GSV five groups", Framed("GPGSV,1,1,05,01,1,1,1,02,1,1,1,03,1,1,1,04,1,1,1,05,1,1,1")},
      {"GSV elevation out of range", Framed("GPGSV,1,1,01,02,95,120,42")},
      {"lower-case address", Framed("gpgga,204105.00,4736.37257,N,12219.92425,W,1,08,0.9,56.0,M,-17.0,M,,")},
      {"control character", Framed("GPGSV,1,1,01,02,45,1\x01" "0,42")},
  };
  for (const BadCase& c : cases)
    EXPECT_EQ(ParseNmeaSentence(c.line).status, NmeaParseStatus::Bad) << c.name << ": " << c.line;
}

TEST(NmeaParser, IgnoresWellFormedSentencesOfOtherTypes) {
  EXPECT_EQ(ParseNmeaSentence(Framed("GPVTG,0.0,T,,M,0.0,N,0.0,K,A")).status,
            NmeaParseStatus::Unsupported);
  NmeaAssembler assembler;
  EXPECT_FALSE(assembler.FeedLine(Framed("GPGLL,4736.37257,N,12219.92425,W,204105.00,A,A")));
  EXPECT_FALSE(assembler.Flush());
  EXPECT_EQ(assembler.BadSentences(), 0u);
}

TEST(NmeaParser, AcceptsCrLfAndLowerCaseChecksum) {
  // This sentence's checksum has a letter in it, so lower-casing it changes the text.
  std::string lower = Framed("GPGSA,A,3,02,06,,,,,,,,,,,1.6,0.9,1.3");
  ASSERT_NE(lower.find_first_of("ABCDEF", lower.find('*')), std::string::npos) << lower;
  for (std::size_t i = lower.find('*'); i < lower.size(); ++i)
    lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[i])));
  const NmeaParseResult r = ParseNmeaSentence(lower + "\r\n");
  ASSERT_EQ(r.status, NmeaParseStatus::Parsed);
  const auto& gsa = std::get<GsaSentence>(r.sentence);
  EXPECT_EQ(gsa.fixType, 3);
  EXPECT_EQ(gsa.prnCount, 2);
}

// A corrupted position must never reach the record: a bad GGA between good RMCs leaves the
// RMC's coordinates, not the corrupted ones.
TEST(NmeaAssembler, BadSentenceNeverOverridesGoodData) {
  NmeaAssembler assembler;
  EXPECT_FALSE(assembler.FeedLine(Framed("GPRMC,100000.00,A,1000.0000,N,02000.0000,E,0.0,0.0,090125,,,A")));
  std::string bad = Framed("GPGGA,100000.00,1100.0000,N,02000.0000,E,1,08,0.9,56.0,M,-17.0,M,,");
  bad[bad.size() - 1] = bad[bad.size() - 1] == '0' ? '1' : '0';
  EXPECT_FALSE(assembler.FeedLine(bad));
  const auto epoch = assembler.Flush();
  ASSERT_TRUE(epoch);
  EXPECT_DOUBLE_EQ(epoch->dblLatitude, 10.0);
  EXPECT_FALSE(epoch->dwValidFields & GPS_VALID_SATELLITE_COUNT);
  EXPECT_EQ(assembler.BadSentences(), 1u);
}

// "A" in RMC with GGA quality 0 in the same epoch: the receiver is not sure, so no position.
TEST(NmeaAssembler, AnyNoFixSentenceClearsThePosition) {
  NmeaAssembler assembler;
  assembler.FeedLine(Framed("GPRMC,100000.00,A,1000.0000,N,02000.0000,E,0.0,0.0,090125,,,A"));
  assembler.FeedLine(Framed("GPGGA,100000.00,,,,,0,00,99.9,,,,,,"));
  const auto epoch = assembler.Flush();
  ASSERT_TRUE(epoch);
  EXPECT_FALSE(epoch->dwValidFields & (GPS_VALID_LATITUDE | GPS_VALID_LONGITUDE));
  EXPECT_EQ(epoch->dblLatitude, 0.0);
  EXPECT_EQ(epoch->dblLongitude, 0.0);
}

}  // namespace
}  // namespace pda::gps

// ---- epochs and counts: the rules that need a name of their own -----------------------------

namespace pda::gps {
namespace {

std::vector<GPS_POSITION> Feed(const std::vector<std::string>& lines, std::vector<std::size_t>* at = nullptr) {
  NmeaAssembler assembler;
  std::vector<GPS_POSITION> out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (auto e = assembler.FeedLine(lines[i])) {
      out.push_back(*e);
      if (at) at->push_back(i);
    }
  }
  if (auto e = assembler.Flush()) {
    out.push_back(*e);
    if (at) at->push_back(lines.size());
  }
  return out;
}

// Used satellites: the GSA lists of all talkers, a PRN repeated across them counted once, and
// GGA's count only when no GSA lists any.
TEST(NmeaAssembler, UsedSatellitesComeFromAllGsaListsWithoutRepeats) {
  const std::string rmc = Framed("GNRMC,100000.00,A,1000.0000,S,02000.0000,W,0.0,0.0,090125,,,A");
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    DWORD used;
  };
  const Case cases[] = {
      {"one GGA per constellation, GSA lists 11",
       {rmc, Framed("GPGGA,100000.00,1000.0000,S,02000.0000,W,1,09,0.9,5.0,M,1.0,M,,"),
        Framed("GLGGA,100000.00,1000.0000,S,02000.0000,W,1,02,0.9,5.0,M,1.0,M,,"),
        Framed("GNGSA,A,3,01,02,03,04,05,06,07,08,09,,,,1.0,0.9,1.0"),
        Framed("GNGSA,A,3,65,66,,,,,,,,,,,1.0,0.9,1.0")},
       11},
      {"GGA says 00, GSA lists 3",
       {rmc, Framed("GNGGA,100000.00,1000.0000,S,02000.0000,W,1,00,0.9,5.0,M,1.0,M,,"),
        Framed("GNGSA,A,3,01,02,03,,,,,,,,,,1.0,0.9,1.0")},
       3},
      {"the same PRNs in two GSA",
       {rmc, Framed("GPGSA,A,3,01,02,03,04,05,,,,,,,,1.0,0.9,1.0"),
        Framed("GPGSA,A,3,01,02,03,04,05,,,,,,,,1.0,0.9,1.0")},
       5},
      {"no GSA: the GGAs of two talkers add up",
       {rmc, Framed("GPGGA,100000.00,1000.0000,S,02000.0000,W,1,09,0.9,5.0,M,1.0,M,,"),
        Framed("GLGGA,100000.00,1000.0000,S,02000.0000,W,1,02,0.9,5.0,M,1.0,M,,")},
       11},
  };
  for (const Case& c : cases) {
    const auto epochs = Feed(c.lines);
    ASSERT_EQ(epochs.size(), 1u) << c.name;
    EXPECT_EQ(epochs[0].dwSatelliteCount, c.used) << c.name;
    EXPECT_EQ(epochs[0].dblLatitude, -10.0) << c.name << ": southern hemisphere";
    EXPECT_EQ(epochs[0].dblLongitude, -20.0) << c.name << ": western hemisphere";
  }
}

// A cold start: RMC "V" and GGA with empty time fields belong to no epoch, so the first real fix
// keeps its position; a 16-field GGA is read like a 15-field one.
TEST(NmeaAssembler, EmptyTimeSentencesBelongToNoEpoch) {
  const std::vector<std::string> lines = {
      Framed("GNRMC,,V,,,,,,,,,,N"),
      Framed("GNGGA,,,,,,0,00,99.99,,,,,,"),
      Framed("GNGSA,A,1,,,,,,,,,,,,,99.99,99.99,99.99"),
      Framed("GNRMC,,V,,,,,,,,,,N"),
      Framed("GNRMC,100001.00,A,1000.0000,N,02000.0000,E,0.0,0.0,090125,,,A"),
      Framed("GNGGA,100001.00,1000.0000,N,02000.0000,E,1,03,1.5,12.0,M,3.0,M,,,1"),
      Framed("GNGSA,A,3,01,02,03,,,,,,,,,,2.0,1.5,1.0"),
  };
  const auto epochs = Feed(lines);
  ASSERT_EQ(epochs.size(), 1u);
  const GPS_POSITION& p = epochs[0];
  EXPECT_TRUE(p.dwValidFields & GPS_VALID_LATITUDE);
  EXPECT_EQ(p.dblLatitude, 10.0);
  EXPECT_EQ(p.FixType, GPS_FIX_3D);
  EXPECT_EQ(p.dwSatelliteCount, 3u);
  EXPECT_EQ(p.flAltitudeWRTSeaLevel, 12.0f) << "the 16-field GGA is read";
  EXPECT_EQ(p.flHorizontalDilutionOfPrecision, 1.5f);
}

// Timing: once the cycle is known, an epoch comes out with its last sentence, before the next
// epoch's first; GSV sent every third epoch keeps the in-view count steady; 0000.0000,S is 0.0.
TEST(NmeaAssembler, EpochsComeOutWhenCompleteWithASteadySkyView) {
  std::vector<std::string> lines;
  for (int s = 0; s < 9; ++s) {
    char t[16];
    std::snprintf(t, sizeof t, "1000%02d.00", s);
    lines.push_back(Framed(std::string("GPGGA,") + t + ",4000.0000,N,00000.0000,W,1,04,1.0,5.0,M,1.0,M,,"));
    lines.push_back(Framed("GPGSA,A,3,01,02,03,04,,,,,,,,,2.0,1.0,1.0"));
    lines.push_back(Framed(std::string("GPRMC,") + t + ",A,4000.0000,N,00000.0000,W,0.0,0.0,090125,,,A"));
    if (s % 3 == 0) {
      lines.push_back(Framed("GPGSV,2,1,06,01,10,010,20,02,20,020,21,03,30,030,22,04,40,040,23"));
      lines.push_back(Framed("GPGSV,2,2,06,05,50,050,24,06,60,060,25"));
    }
  }
  std::vector<std::size_t> at;
  const auto epochs = Feed(lines, &at);
  ASSERT_EQ(epochs.size(), 9u);
  // The first epoch ends with a GSV set, the second without: from the third on, the cycle is
  // known and each epoch comes out at its own RMC, before the next epoch's GGA.
  for (std::size_t i = 2; i < epochs.size(); ++i) {
    EXPECT_EQ(lines[at[i]].substr(0, 6), "$GPRMC") << "epoch " << i;
    EXPECT_EQ(epochs[i].stUTCTime.wSecond, i) << "epoch " << i;
  }
  for (std::size_t i = 1; i < epochs.size(); ++i)
    EXPECT_EQ(epochs[i].dwSatellitesInView, 6u) << "epoch " << i << " between GSVs";
  EXPECT_FALSE(std::signbit(epochs[4].dblLongitude)) << "0000.0000,W is +0.0";
}

}  // namespace
}  // namespace pda::gps
