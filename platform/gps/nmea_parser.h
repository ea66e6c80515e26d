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
  int systemId = 0;  // NMEA 4.1 system id; 0 when absent
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
  int signalId = 0;  // NMEA 4.1 signal id; 0 when absent
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
  std::array<char, 5> address{};  // "GPGGA"; set when parsed
};

// Parses one line (a trailing CR and/or LF is allowed). The line must be "$" + address + fields
// + "*" + two hex digits of the XOR checksum. Fields past the ones read here (newer NMEA
// versions add some at the end) are ignored.
NmeaParseResult ParseNmeaSentence(std::string_view line);

// Collects sentences into epochs, one GPS_POSITION each.
//
// An epoch is opened by an RMC or GGA with a time and holds the sentences up to the next time.
// It is published as soon as it is complete: when the sentence that ended the previous epoch
// (learned from the stream: the RMC, the second GNGSA, the end of the GLGSV set...) arrives
// again, or else when a sentence of a new time arrives, at a blank or comment ('#') line, or at
// Flush(). A receiver that sends GSV only every few cycles is relearnt once: its epochs then
// end before the GSV, which goes to the kept sky view. Sentences
// with an empty time field belong to no epoch and end none; GSA arriving while no epoch is open
// is dropped (it belongs to an epoch already published, or to none).
//
// Satellites used: the distinct PRNs of the epoch's GSA sentences (all talkers), or, without
// PRNs in any GSA, the GGA count (GN's, else the sum over talkers). Satellites in view: the last
// complete GSV set of every talker, kept for 5 s of receiver time, so that receivers that send
// GSV every few epochs keep steady counts. Counts are capped at 12, as the record's arrays.
// Fields are valid only when a sentence carried them; without a fix latitude and longitude are
// 0.0 and invalid.
class NmeaAssembler {
 public:
  // Feeds one line; returns the finished epoch when this line ended or completed one.
  std::optional<GPS_POSITION> FeedLine(std::string_view line);
  // Ends the current epoch (end of input); nothing when none is open.
  std::optional<GPS_POSITION> Flush();

  unsigned BadSentences() const { return bad_; }

  // How long a sky view is kept, in receiver time.
  static constexpr NmeaTimeOfDay kSkyHoldMs = 5000;

 private:
  // A sentence's place in the cycle: its address and how many of that address came before it
  // in the epoch ("GNGSA", 2 is the second GNGSA); for GSV, -1: the end of a set.
  struct Kind {
    std::array<char, 5> address{};
    int occurrence = 0;
    bool operator==(const Kind&) const = default;
  };
  // One talker's (and signal's) satellites in view, as its last complete GSV set gave them.
  struct SkySet {
    std::array<char, 2> talker{};
    int signal = 0;
    int inView = 0;
    std::array<GsvSatellite, 4 * 9> satellites{};  // 9 sentences of 4: more is refused
    int satelliteCount = 0;
    std::optional<NmeaTimeOfDay> stamp;  // receiver time it was complete at
    // The set being collected.
    int nextIndex = 1;
    int collectingInView = 0;
    std::array<GsvSatellite, 4 * 9> collecting{};
    int collectingCount = 0;
    bool complete = false;
  };
  struct UsedPrn {
    int system;
    int prn;
  };

  void Open(NmeaTimeOfDay time);
  GPS_POSITION Close();
  void Apply(const RmcSentence& s);
  void Apply(const GgaSentence& s, std::array<char, 2> talker);
  void Apply(const GsaSentence& s);
  // True when the sentence completed its set.
  bool Apply(const GsvSentence& s);
  Kind KindOf(std::string_view address);
  void FillSky(GPS_POSITION& p) const;

  // The open epoch.
  bool open_ = false;
  NmeaTimeOfDay time_ = 0;
  std::optional<NmeaDate> date_;
  GPS_POSITION position_{};
  bool noFix_ = false;  // a sentence of the epoch said "no fix"
  std::array<UsedPrn, 64> used_{};
  int usedCount_ = 0;
  bool gsaSeen_ = false;
  std::optional<int> ggaCombined_;  // GN talker's count
  int ggaSum_ = 0;                  // other talkers' counts, one each
  std::array<std::array<char, 2>, 8> ggaTalkers_{};
  int ggaTalkerCount_ = 0;
  std::array<std::pair<std::array<char, 5>, int>, 16> seen_{};
  int seenCount_ = 0;
  std::optional<Kind> last_;  // the last sentence applied to the epoch

  // Across epochs.
  std::optional<Kind> end_;  // the sentence that completes an epoch, learned
  std::optional<NmeaTimeOfDay> lastTime_;
  std::array<SkySet, 8> sky_{};
  int skyCount_ = 0;
  unsigned bad_ = 0;
};

}  // namespace pda::gps
