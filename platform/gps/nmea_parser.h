// NMEA 0183 for the driver's nmea: and demo sources: a parser of single sentences (RMC, GGA, GSA,
// GSV from any two-letter talker: GP, GN, GL, ...) and an assembler that turns a stream of lines
// into one GPS_POSITION per epoch.
//
// Both are pure: no I/O, no clocks, no globals, so the fuzz target and the fixture tests drive
// exactly the code the sources run. A sentence that fails any check (checksum, cut line, field
// count, a non-numeric or out-of-range field) is reported as bad and never applied.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

#include "pda/gps.h"

namespace pda::gps {

// UTC time of day in milliseconds.
using NmeaTimeOfDay = std::uint32_t;

struct NmeaDate {
  int year;  // four digits
  int month;
  int day;
};

struct RmcSentence {
  std::optional<NmeaTimeOfDay> time;
  bool active = false;  // status 'A'
  std::optional<double> latitude;
  std::optional<double> longitude;
  std::optional<double> speedKnots;
  std::optional<double> course;
  std::optional<NmeaDate> date;
  std::optional<double> magneticVariation;  // east positive
  char mode = 0;                            // NMEA 2.3 mode indicator, 0 when absent
};

struct GgaSentence {
  std::optional<NmeaTimeOfDay> time;
  int quality = 0;  // 0 no fix, 1 GPS, 2 DGPS, ...
  std::optional<double> latitude;
  std::optional<double> longitude;
  std::optional<int> satellitesUsed;
  std::optional<double> hdop;
  std::optional<double> altitudeMsl;
  std::optional<double> geoidSeparation;
};

struct GsaSentence {
  char selection = 0;  // 'A' or 'M'
  int fixType = 0;     // 1 none, 2 2D, 3 3D
  std::array<int, 12> prns{};
  int prnCount = 0;
  std::optional<double> pdop;
  std::optional<double> hdop;
  std::optional<double> vdop;
};

struct GsvSatellite {
  int prn = 0;
  std::optional<int> elevation;
  std::optional<int> azimuth;
  std::optional<int> snr;
};

struct GsvSentence {
  std::array<char, 2> talker{};
  int sentenceCount = 0;
  int sentenceIndex = 0;
  int inView = 0;
  std::array<GsvSatellite, 4> satellites{};
  int satelliteCount = 0;
};

using NmeaSentence = std::variant<RmcSentence, GgaSentence, GsaSentence, GsvSentence>;

enum class NmeaParseStatus {
  Parsed,       // one of the four sentences, well formed
  Unsupported,  // a well-formed sentence of another type (VTG, GLL, ...): ignored, not bad
  Bad,          // malformed: skipped and counted
};

struct NmeaParseResult {
  NmeaParseStatus status = NmeaParseStatus::Bad;
  NmeaSentence sentence;
};

// Parses one line (a trailing CR and/or LF is allowed). The line must be "$" + address + fields
// + "*" + two hex digits of the XOR checksum.
NmeaParseResult ParseNmeaSentence(std::string_view line);

// Collects sentences into epochs. An epoch ends when an RMC or GGA carries a time other than
// the epoch's, at a blank or comment ('#') line, or at Flush(). Fields are valid only when a
// sentence of the epoch carried them; without a fix latitude and longitude are 0.0 and invalid.
class NmeaAssembler {
 public:
  // Feeds one line; returns the finished epoch when this line ended one.
  std::optional<GPS_POSITION> FeedLine(std::string_view line);
  // Ends the current epoch (end of input); nothing when it is empty.
  std::optional<GPS_POSITION> Flush();

  unsigned BadSentences() const { return bad_; }

 private:
  void Apply(const RmcSentence& s);
  void Apply(const GgaSentence& s);
  void Apply(const GsaSentence& s);
  void Apply(const GsvSentence& s);
  bool EndsEpoch(const NmeaSentence& s) const;
  void Reset();

  GPS_POSITION position_{};
  bool empty_ = true;
  std::optional<NmeaTimeOfDay> epochTime_;
  std::optional<NmeaDate> date_;
  bool noFix_ = false;      // some sentence of the epoch said "no fix"
  bool countFromGga_ = false;
  std::array<std::array<char, 2>, 4> gsvTalkers_{};
  std::array<int, 4> gsvInView_{};
  int gsvTalkerCount_ = 0;
  unsigned bad_ = 0;
};

}  // namespace pda::gps
