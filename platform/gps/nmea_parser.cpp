// NMEA 0183 sentence parser and epoch assembler (see nmea_parser.h).
//
// Sections: fields | sentences | assembler
#include "nmea_parser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>

namespace pda::gps {
namespace {

// ---- fields --------------------------------------------------------------------------------

constexpr std::size_t kMaxFields = 24;

struct Fields {
  std::array<std::string_view, kMaxFields> items;
  std::size_t count = 0;
  std::string_view operator[](std::size_t i) const { return items[i]; }
};

// A field that is present must be a plain decimal number: digits, one optional point, an
// optional leading sign. from_chars alone would also take "inf" and "nan".
bool IsPlainNumber(std::string_view f) {
  if (f.empty()) return false;
  std::size_t i = (f[0] == '-' || f[0] == '+') ? 1 : 0;
  bool digit = false, point = false;
  for (; i < f.size(); ++i) {
    if (f[i] >= '0' && f[i] <= '9') {
      digit = true;
    } else if (f[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

// Result of reading an optional field: absent (empty), a value, or bad.
template <class T>
struct Read {
  bool ok = true;
  std::optional<T> value;
};

Read<double> ReadDouble(std::string_view f) {
  if (f.empty()) return {};
  if (!IsPlainNumber(f)) return {false, {}};
  if (f[0] == '+') f.remove_prefix(1);
  double v = 0;
  auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), v);
  if (ec != std::errc{} || end != f.data() + f.size() || !std::isfinite(v)) return {false, {}};
  return {true, v};
}

Read<int> ReadInt(std::string_view f, int lo, int hi) {
  if (f.empty()) return {};
  int v = 0;
  auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), v);
  if (ec != std::errc{} || end != f.data() + f.size() || v < lo || v > hi) return {false, {}};
  return {true, v};
}

// hhmmss[.sss]
Read<NmeaTimeOfDay> ReadTime(std::string_view f) {
  if (f.empty()) return {};
  if (f.size() < 6 || !IsPlainNumber(f) || f[0] == '-' || f[0] == '+') return {false, {}};
  auto two = [&](std::size_t at) { return (f[at] - '0') * 10 + (f[at + 1] - '0'); };
  if (f.find('.') < 6) return {false, {}};
  const int h = two(0), m = two(2);
  Read<double> s = ReadDouble(f.substr(4));
  if (!s.ok || !s.value || h > 23 || m > 59 || *s.value >= 61.0) return {false, {}};
  const auto ms = static_cast<NmeaTimeOfDay>(std::lround(*s.value * 1000.0));
  return {true, static_cast<NmeaTimeOfDay>((h * 60 + m) * 60000) + ms};
}

// ddmmyy
Read<NmeaDate> ReadDate(std::string_view f) {
  if (f.empty()) return {};
  if (f.size() != 6 || !std::all_of(f.begin(), f.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return {false, {}};
  auto two = [&](std::size_t at) { return (f[at] - '0') * 10 + (f[at + 1] - '0'); };
  const int d = two(0), mo = two(2), y = two(4);
  if (d < 1 || d > 31 || mo < 1 || mo > 12) return {false, {}};
  // Two-digit years: receivers of this era report 20yy; 80..99 are the last century.
  return {true, NmeaDate{y < 80 ? 2000 + y : 1900 + y, mo, d}};
}

// (d)ddmm.mmmm plus a hemisphere letter; both empty is "absent".
Read<double> ReadCoordinate(std::string_view value, std::string_view hemisphere, char positive,
                            char negative, double limit) {
  if (value.empty() && hemisphere.empty()) return {};
  if (value.empty() || hemisphere.size() != 1 ||
      (hemisphere[0] != positive && hemisphere[0] != negative))
    return {false, {}};
  Read<double> raw = ReadDouble(value);
  if (!raw.ok || !raw.value || *raw.value < 0) return {false, {}};
  const double degrees = std::floor(*raw.value / 100.0);
  const double minutes = *raw.value - degrees * 100.0;
  const double result = degrees + minutes / 60.0;
  if (minutes >= 60.0 || result > limit) return {false, {}};
  // 0000.0000,S is 0.0, not -0.0 (a sign without a value would show as a hemisphere).
  if (result == 0.0) return {true, 0.0};
  return {true, hemisphere[0] == negative ? -result : result};
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Checks framing and checksum; splits the body (after '$', before '*') at commas.
bool Split(std::string_view line, Fields& out) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.size() < 9 || line[0] != '$') return false;
  const std::size_t star = line.size() - 3;
  if (line[star] != '*') return false;
  const int hi = HexDigit(line[star + 1]), lo = HexDigit(line[star + 2]);
  if (hi < 0 || lo < 0) return false;
  const std::string_view body = line.substr(1, star - 1);
  unsigned sum = 0;
  for (char c : body) {
    if (c < 0x20 || c > 0x7E || c == '$' || c == '*') return false;
    sum ^= static_cast<unsigned char>(c);
  }
  if (sum != static_cast<unsigned>(hi * 16 + lo)) return false;
  std::size_t start = 0;
  out.count = 0;
  for (;;) {
    if (out.count == kMaxFields) return false;
    const std::size_t comma = body.find(',', start);
    out.items[out.count++] = body.substr(start, comma - start);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return true;
}

// ---- sentences -----------------------------------------------------------------------------
// f[0] is the address ("GPRMC"); data fields start at f[1].

std::optional<RmcSentence> ParseRmc(const Fields& f) {
  // 11 fields (NMEA 2.0), 12 with the mode indicator (2.3), 13 with the navigation status (4.1);
  // anything after those is not read.
  if (f.count < 12) return std::nullopt;
  RmcSentence s;
  auto time = ReadTime(f[1]);
  auto lat = ReadCoordinate(f[3], f[4], 'N', 'S', 90.0);
  auto lon = ReadCoordinate(f[5], f[6], 'E', 'W', 180.0);
  auto speed = ReadDouble(f[7]);
  auto course = ReadDouble(f[8]);
  auto date = ReadDate(f[9]);
  auto var = ReadDouble(f[10]);
  if (!time.ok || !lat.ok || !lon.ok || !speed.ok || !course.ok || !date.ok || !var.ok)
    return std::nullopt;
  if (f[2] != "A" && f[2] != "V") return std::nullopt;
  if ((speed.value && *speed.value < 0) || (course.value && (*course.value < 0 || *course.value > 360)))
    return std::nullopt;
  if (var.value) {
    if (f[11] != "E" && f[11] != "W") return std::nullopt;
    if (f[11] == "W") *var.value = -*var.value;
  }
  if (f.count >= 13) {
    if (f[12].size() > 1) return std::nullopt;
    s.mode = f[12].empty() ? 0 : f[12][0];
  }
  s.time = time.value;
  s.active = f[2] == "A";
  s.latitude = lat.value;
  s.longitude = lon.value;
  s.speedKnots = speed.value;
  s.course = course.value;
  s.date = date.value;
  s.magneticVariation = var.value;
  return s;
}

std::optional<GgaSentence> ParseGga(const Fields& f) {
  // 14 fields; some NMEA 4.x receivers add more at the end, which are not read.
  if (f.count < 15) return std::nullopt;
  GgaSentence s;
  auto time = ReadTime(f[1]);
  auto lat = ReadCoordinate(f[2], f[3], 'N', 'S', 90.0);
  auto lon = ReadCoordinate(f[4], f[5], 'E', 'W', 180.0);
  auto quality = ReadInt(f[6], 0, 9);
  auto used = ReadInt(f[7], 0, 99);
  auto hdop = ReadDouble(f[8]);
  auto alt = ReadDouble(f[9]);
  auto sep = ReadDouble(f[11]);
  if (!time.ok || !lat.ok || !lon.ok || !quality.ok || !quality.value || !used.ok || !hdop.ok ||
      !alt.ok || !sep.ok)
    return std::nullopt;
  s.time = time.value;
  s.quality = *quality.value;
  s.latitude = lat.value;
  s.longitude = lon.value;
  s.satellitesUsed = used.value;
  s.hdop = hdop.value;
  s.altitudeMsl = alt.value;
  s.geoidSeparation = sep.value;
  return s;
}

std::optional<GsaSentence> ParseGsa(const Fields& f) {
  // 17 data fields; NMEA 4.1 adds the system id; anything after it is not read.
  if (f.count < 18) return std::nullopt;
  GsaSentence s;
  if (f[1].size() > 1 || (!f[1].empty() && f[1] != "A" && f[1] != "M")) return std::nullopt;
  s.selection = f[1].empty() ? 0 : f[1][0];
  auto type = ReadInt(f[2], 1, 3);
  if (!type.ok) return std::nullopt;
  s.fixType = type.value.value_or(0);
  for (std::size_t i = 3; i < 15; ++i) {
    auto prn = ReadInt(f[i], 1, 999);
    if (!prn.ok) return std::nullopt;
    if (prn.value) s.prns[static_cast<std::size_t>(s.prnCount++)] = *prn.value;
  }
  auto p = ReadDouble(f[15]), h = ReadDouble(f[16]), v = ReadDouble(f[17]);
  if (!p.ok || !h.ok || !v.ok) return std::nullopt;
  s.pdop = p.value;
  s.hdop = h.value;
  s.vdop = v.value;
  if (f.count >= 19) {
    auto system = ReadInt(f[18], 0, 99);
    if (!system.ok) return std::nullopt;
    s.systemId = system.value.value_or(0);
  }
  return s;
}

std::optional<GsvSentence> ParseGsv(const Fields& f) {
  // 3 fields, then 0..4 satellites of 4 fields; NMEA 4.1 adds a signal id at the end.
  if (f.count < 4) return std::nullopt;
  const std::size_t data = f.count - 1;
  const std::size_t groups = (data - 3) / 4;
  const std::size_t extra = (data - 3) % 4;
  if (groups > 4 || extra > 1) return std::nullopt;
  GsvSentence s;
  s.talker = {f[0][0], f[0][1]};
  auto count = ReadInt(f[1], 1, 99), index = ReadInt(f[2], 1, 99), inView = ReadInt(f[3], 0, 999);
  if (!count.ok || !index.ok || !inView.ok || !count.value || !index.value || !inView.value ||
      *index.value > *count.value)
    return std::nullopt;
  if (extra == 1) {
    auto signal = ReadInt(f[f.count - 1], 0, 99);
    if (!signal.ok) return std::nullopt;
    s.signalId = signal.value.value_or(0);
  }
  s.sentenceCount = *count.value;
  s.sentenceIndex = *index.value;
  s.inView = *inView.value;
  for (std::size_t g = 0; g < groups; ++g) {
    const std::size_t at = 4 + g * 4;
    auto prn = ReadInt(f[at], 1, 999);
    auto el = ReadInt(f[at + 1], -90, 90);
    auto az = ReadInt(f[at + 2], 0, 360);
    auto snr = ReadInt(f[at + 3], 0, 99);
    if (!prn.ok || !el.ok || !az.ok || !snr.ok) return std::nullopt;
    if (!prn.value) {
      // Some receivers pad the last sentence with empty groups.
      if (el.value || az.value || snr.value) return std::nullopt;
      continue;
    }
    s.satellites[static_cast<std::size_t>(s.satelliteCount++)] =
        GsvSatellite{*prn.value, el.value, az.value, snr.value};
  }
  return s;
}

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

NmeaParseResult ParseNmeaSentence(std::string_view line) {
  NmeaParseResult result;
  Fields f;
  if (!Split(line, f)) return result;
  const std::string_view address = f[0];
  // Proprietary sentences ($P + maker + type: $PERDCRJ, $PUBX) are some receiver's own.
  if (address.size() >= 2 && address[0] == 'P' &&
      std::all_of(address.begin(), address.end(), [](char c) { return IsUpper(c) || (c >= '0' && c <= '9'); })) {
    result.status = NmeaParseStatus::Unsupported;
    return result;
  }
  if (address.size() != 5 || !std::all_of(address.begin(), address.end(), IsUpper))
    return result;
  const std::string_view type = address.substr(2);
  std::optional<NmeaSentence> parsed;
  if (type == "RMC") {
    if (auto s = ParseRmc(f)) parsed = *s;
  } else if (type == "GGA") {
    if (auto s = ParseGga(f)) parsed = *s;
  } else if (type == "GSA") {
    if (auto s = ParseGsa(f)) parsed = *s;
  } else if (type == "GSV") {
    if (auto s = ParseGsv(f)) parsed = *s;
  } else {
    result.status = NmeaParseStatus::Unsupported;
    return result;
  }
  if (parsed) {
    result.status = NmeaParseStatus::Parsed;
    result.sentence = *parsed;
    std::copy(address.begin(), address.end(), result.address.begin());
  }
  return result;
}

// ---- assembler -----------------------------------------------------------------------------

namespace {

constexpr NmeaTimeOfDay kDayMs = 24 * 3600 * 1000;

std::optional<NmeaTimeOfDay> TimeOf(const NmeaSentence& s) {
  if (auto* r = std::get_if<RmcSentence>(&s)) return r->time;
  if (auto* g = std::get_if<GgaSentence>(&s)) return g->time;
  return std::nullopt;
}

bool IsTimed(const NmeaSentence& s) {
  return std::holds_alternative<RmcSentence>(s) || std::holds_alternative<GgaSentence>(s);
}

DWORD Capped(int n) { return static_cast<DWORD>(std::clamp(n, 0, int{GPS_MAX_SATELLITES})); }

}  // namespace

std::optional<GPS_POSITION> NmeaAssembler::FeedLine(std::string_view line) {
  std::string_view trimmed = line;
  while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r' ||
                              trimmed.back() == ' ' || trimmed.back() == '\t'))
    trimmed.remove_suffix(1);
  while (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.front() == '\t'))
    trimmed.remove_prefix(1);
  if (trimmed.empty() || trimmed.front() == '#') return Flush();

  NmeaParseResult parsed = ParseNmeaSentence(trimmed);
  if (parsed.status == NmeaParseStatus::Bad) {
    ++bad_;
    return std::nullopt;
  }
  if (parsed.status == NmeaParseStatus::Unsupported) return std::nullopt;
  const NmeaSentence& sentence = parsed.sentence;

  // The sky view lives across epochs: a GSV never opens or ends one. The end of a set may
  // complete one, for receivers that send GSV last in every cycle.
  if (const auto* gsv = std::get_if<GsvSentence>(&sentence)) {
    if (!Apply(*gsv) || !open_) return std::nullopt;
    Kind setEnd;
    std::copy(parsed.address.begin(), parsed.address.end(), setEnd.address.begin());
    setEnd.occurrence = -1;
    last_ = setEnd;
    if (end_ && *last_ == *end_) return Close();
    return std::nullopt;
  }
  std::optional<GPS_POSITION> finished;
  if (IsTimed(sentence)) {
    const std::optional<NmeaTimeOfDay> t = TimeOf(sentence);
    if (!t) return std::nullopt;  // an empty time: no epoch of its own, and it ends none
    if (open_ && *t != time_) {
      end_ = last_;  // what ended this epoch will end the next ones
      finished = Close();
    }
    if (!open_) Open(*t);
  } else if (!open_) {
    return std::nullopt;  // a GSA between epochs
  }

  const std::string_view address(parsed.address.data(), parsed.address.size());
  std::visit(
      [&](const auto& s) {
        using T = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<T, GgaSentence>) {
          Apply(s, {address[0], address[1]});
        } else if constexpr (!std::is_same_v<T, GsvSentence>) {
          Apply(s);
        }
      },
      sentence);
  last_ = KindOf(address);
  // Complete: the sentence that ended the last epoch. When that sentence also opened this
  // epoch (a receiver that sends one timed sentence a cycle), the epoch closed above is the
  // one before it, already superseded: the newer one is handed out.
  if (end_ && *last_ == *end_) finished = Close();
  return finished;
}

NmeaAssembler::Kind NmeaAssembler::KindOf(std::string_view address) {
  Kind k;
  std::copy(address.begin(), address.end(), k.address.begin());
  int i = 0;
  while (i < seenCount_ && seen_[static_cast<std::size_t>(i)].first != k.address) ++i;
  if (i == seenCount_) {
    if (seenCount_ == static_cast<int>(seen_.size())) return k;  // occurrence 0: never an end
    seen_[static_cast<std::size_t>(seenCount_++)] = {k.address, 0};
  }
  k.occurrence = ++seen_[static_cast<std::size_t>(i)].second;
  return k;
}

std::optional<GPS_POSITION> NmeaAssembler::Flush() {
  if (!open_) return std::nullopt;
  end_ = last_;
  return Close();
}

void NmeaAssembler::Open(NmeaTimeOfDay time) {
  open_ = true;
  time_ = time;
  date_.reset();
  position_ = GPS_POSITION{};
  noFix_ = false;
  usedCount_ = 0;
  gsaSeen_ = false;
  ggaCombined_.reset();
  ggaSum_ = 0;
  ggaTalkerCount_ = 0;
  seenCount_ = 0;
  last_.reset();
  // Sky sets completed before any epoch had a time belong to this one.
  for (int i = 0; i < skyCount_; ++i)
    if (sky_[static_cast<std::size_t>(i)].complete && !sky_[static_cast<std::size_t>(i)].stamp)
      sky_[static_cast<std::size_t>(i)].stamp = time;
}

GPS_POSITION NmeaAssembler::Close() {
  open_ = false;
  lastTime_ = time_;
  GPS_POSITION out = position_;
  out.dwVersion = GPS_VERSION_1;
  out.dwSize = sizeof(GPS_POSITION);
  if (date_) {
    std::tm tm{};
    tm.tm_year = date_->year - 1900;
    tm.tm_mon = date_->month - 1;
    tm.tm_mday = date_->day;
    const std::time_t day = timegm(&tm);  // normalises and gives the day of the week
    std::tm norm{};
    gmtime_r(&day, &norm);
    const NmeaTimeOfDay t = time_;
    out.stUTCTime = SYSTEMTIME{static_cast<WORD>(norm.tm_year + 1900),
                               static_cast<WORD>(norm.tm_mon + 1),
                               static_cast<WORD>(norm.tm_wday),
                               static_cast<WORD>(norm.tm_mday),
                               static_cast<WORD>(t / 3600000),
                               static_cast<WORD>(t / 60000 % 60),
                               static_cast<WORD>(t / 1000 % 60),
                               static_cast<WORD>(t % 1000)};
    out.dwValidFields |= GPS_VALID_UTC_TIME;
  }
  if (noFix_) {
    out.dwValidFields &= ~(GPS_VALID_LATITUDE | GPS_VALID_LONGITUDE);
    out.FixType = GPS_FIX_UNKNOWN;
    out.FixQuality = GPS_FIX_QUALITY_UNKNOWN;
  }
  if (!(out.dwValidFields & GPS_VALID_LATITUDE) || !(out.dwValidFields & GPS_VALID_LONGITUDE)) {
    out.dwValidFields &= ~(GPS_VALID_LATITUDE | GPS_VALID_LONGITUDE);
    out.dblLatitude = 0.0;
    out.dblLongitude = 0.0;
  }
  // Satellites used: the GSA lists when they name any, else what GGA said.
  if (usedCount_ > 0) {
    out.dwSatelliteCount = Capped(usedCount_);
    out.dwValidFields |= GPS_VALID_SATELLITE_COUNT;
  } else if (ggaCombined_ || ggaTalkerCount_ > 0) {
    out.dwSatelliteCount = Capped(ggaCombined_ ? *ggaCombined_ : ggaSum_);
    out.dwValidFields |= GPS_VALID_SATELLITE_COUNT;
  } else if (gsaSeen_) {
    out.dwSatelliteCount = 0;
    out.dwValidFields |= GPS_VALID_SATELLITE_COUNT;
  }
  if (gsaSeen_) {
    for (int i = 0; i < std::min(usedCount_, int{GPS_MAX_SATELLITES}); ++i)
      out.rgdwSatellitesUsedPRNs[static_cast<std::size_t>(i)] =
          static_cast<DWORD>(used_[static_cast<std::size_t>(i)].prn);
    out.dwValidFields |= GPS_VALID_SATELLITES_USED_PRNS;
  }
  FillSky(out);
  return out;
}

void NmeaAssembler::FillSky(GPS_POSITION& p) const {
  // Per talker the largest in-view count of its signals (a satellite heard on L1 and L5 is one
  // satellite); the talkers add up.
  std::array<std::pair<std::array<char, 2>, int>, 8> talkers{};
  int talkerCount = 0;
  std::size_t slot = 0;
  bool any = false;
  for (int i = 0; i < skyCount_; ++i) {
    const SkySet& set = sky_[static_cast<std::size_t>(i)];
    if (!set.complete || !set.stamp) continue;
    if ((time_ + kDayMs - *set.stamp) % kDayMs > kSkyHoldMs) continue;  // too old
    any = true;
    int t = 0;
    while (t < talkerCount && talkers[static_cast<std::size_t>(t)].first != set.talker) ++t;
    if (t == talkerCount) talkers[static_cast<std::size_t>(talkerCount++)] = {set.talker, 0};
    auto& count = talkers[static_cast<std::size_t>(t)].second;
    count = std::max(count, set.inView);
    for (int s = 0; s < set.satelliteCount && slot < GPS_MAX_SATELLITES; ++s) {
      const GsvSatellite& sat = set.satellites[static_cast<std::size_t>(s)];
      // The same satellite on another signal of the same talker is listed once.
      bool listed = false;
      for (int j = 0; j < i && !listed; ++j) {
        const SkySet& other = sky_[static_cast<std::size_t>(j)];
        if (other.talker != set.talker || !other.complete || !other.stamp) continue;
        if ((time_ + kDayMs - *other.stamp) % kDayMs > kSkyHoldMs) continue;
        for (int k = 0; k < other.satelliteCount; ++k)
          listed = listed || other.satellites[static_cast<std::size_t>(k)].prn == sat.prn;
      }
      if (listed) continue;
      p.rgdwSatellitesInViewPRNs[slot] = static_cast<DWORD>(sat.prn);
      p.dwValidFields |= GPS_VALID_SATELLITES_IN_VIEW_PRNS;
      if (sat.elevation) {
        p.rgdwSatellitesInViewElevation[slot] = static_cast<DWORD>(std::max(0, *sat.elevation));
        p.dwValidFields |= GPS_VALID_SATELLITES_IN_VIEW_ELEVATION;
      }
      if (sat.azimuth) {
        p.rgdwSatellitesInViewAzimuth[slot] = static_cast<DWORD>(*sat.azimuth);
        p.dwValidFields |= GPS_VALID_SATELLITES_IN_VIEW_AZIMUTH;
      }
      if (sat.snr) {
        p.rgdwSatellitesInViewSignalToNoiseRatio[slot] = static_cast<DWORD>(*sat.snr);
        p.dwValidFields |= GPS_VALID_SATELLITES_IN_VIEW_SIGNAL_TO_NOISE_RATIO;
      }
      ++slot;
    }
  }
  if (!any) return;
  int total = 0;
  for (int t = 0; t < talkerCount; ++t) total += talkers[static_cast<std::size_t>(t)].second;
  p.dwSatellitesInView = Capped(total);
  p.dwValidFields |= GPS_VALID_SATELLITES_IN_VIEW;
}

void NmeaAssembler::Apply(const RmcSentence& s) {
  GPS_POSITION& p = position_;
  if (s.date) date_ = s.date;
  if (!s.active) {
    noFix_ = true;
    return;
  }
  if (s.latitude && s.longitude) {
    p.dblLatitude = *s.latitude;
    p.dblLongitude = *s.longitude;
    p.dwValidFields |= GPS_VALID_LATITUDE | GPS_VALID_LONGITUDE;
  }
  if (s.speedKnots) {
    p.flSpeed = static_cast<float>(*s.speedKnots);
    p.dwValidFields |= GPS_VALID_SPEED;
  }
  if (s.course) {
    p.flHeading = static_cast<float>(*s.course);
    p.dwValidFields |= GPS_VALID_HEADING;
  }
  if (s.magneticVariation) {
    p.dblMagneticVariation = *s.magneticVariation;
    p.dwValidFields |= GPS_VALID_MAGNETIC_VARIATION;
  }
  if (p.FixQuality == GPS_FIX_QUALITY_UNKNOWN)
    p.FixQuality = s.mode == 'D' ? GPS_FIX_QUALITY_DGPS : GPS_FIX_QUALITY_GPS;
}

void NmeaAssembler::Apply(const GgaSentence& s, std::array<char, 2> talker) {
  GPS_POSITION& p = position_;
  if (s.satellitesUsed) {
    // One GGA per constellation in the same second: the counts add up; GN's is the total.
    if (talker == std::array<char, 2>{'G', 'N'}) {
      ggaCombined_ = *s.satellitesUsed;
    } else {
      int t = 0;
      while (t < ggaTalkerCount_ && ggaTalkers_[static_cast<std::size_t>(t)] != talker) ++t;
      if (t == ggaTalkerCount_ && ggaTalkerCount_ < static_cast<int>(ggaTalkers_.size())) {
        ggaTalkers_[static_cast<std::size_t>(ggaTalkerCount_++)] = talker;
        ggaSum_ += *s.satellitesUsed;
      }
    }
  }
  if (s.hdop) {
    p.flHorizontalDilutionOfPrecision = static_cast<float>(*s.hdop);
    p.dwValidFields |= GPS_VALID_HORIZONTAL_DILUTION_OF_PRECISION;
  }
  if (s.quality == 0) {
    noFix_ = true;
    return;
  }
  p.FixQuality = s.quality == 2 ? GPS_FIX_QUALITY_DGPS : GPS_FIX_QUALITY_GPS;
  if (s.latitude && s.longitude) {
    p.dblLatitude = *s.latitude;
    p.dblLongitude = *s.longitude;
    p.dwValidFields |= GPS_VALID_LATITUDE | GPS_VALID_LONGITUDE;
  }
  if (s.altitudeMsl) {
    p.flAltitudeWRTSeaLevel = static_cast<float>(*s.altitudeMsl);
    p.dwValidFields |= GPS_VALID_ALTITUDE_WRT_SEA_LEVEL;
    if (s.geoidSeparation) {
      p.flAltitudeWRTEllipsoid = static_cast<float>(*s.altitudeMsl + *s.geoidSeparation);
      p.dwValidFields |= GPS_VALID_ALTITUDE_WRT_ELLIPSOID;
    }
  }
}

void NmeaAssembler::Apply(const GsaSentence& s) {
  GPS_POSITION& p = position_;
  gsaSeen_ = true;
  if (s.selection)
    p.SelectionType = s.selection == 'A' ? GPS_FIX_SELECTION_AUTO : GPS_FIX_SELECTION_MANUAL;
  if (s.fixType == 1) noFix_ = true;
  if (s.fixType == 2) p.FixType = GPS_FIX_2D;
  if (s.fixType == 3) p.FixType = GPS_FIX_3D;
  // One GSA per constellation: the lists add up. Some receivers repeat a list; a PRN counts
  // once per system (NMEA 4.1 numbers each system from 1).
  for (int i = 0; i < s.prnCount; ++i) {
    const int prn = s.prns[static_cast<std::size_t>(i)];
    const auto begin = used_.begin(), end = used_.begin() + usedCount_;
    if (std::any_of(begin, end, [&](const UsedPrn& u) { return u.system == s.systemId && u.prn == prn; }))
      continue;
    if (usedCount_ == static_cast<int>(used_.size())) break;
    used_[static_cast<std::size_t>(usedCount_++)] = UsedPrn{s.systemId, prn};
  }
  if (s.pdop) {
    p.flPositionDilutionOfPrecision = static_cast<float>(*s.pdop);
    p.dwValidFields |= GPS_VALID_POSITION_DILUTION_OF_PRECISION;
  }
  if (s.hdop) {
    p.flHorizontalDilutionOfPrecision = static_cast<float>(*s.hdop);
    p.dwValidFields |= GPS_VALID_HORIZONTAL_DILUTION_OF_PRECISION;
  }
  if (s.vdop) {
    p.flVerticalDilutionOfPrecision = static_cast<float>(*s.vdop);
    p.dwValidFields |= GPS_VALID_VERTICAL_DILUTION_OF_PRECISION;
  }
}

bool NmeaAssembler::Apply(const GsvSentence& s) {
  int i = 0;
  while (i < skyCount_ && (sky_[static_cast<std::size_t>(i)].talker != s.talker ||
                           sky_[static_cast<std::size_t>(i)].signal != s.signalId))
    ++i;
  if (i == skyCount_) {
    if (skyCount_ == static_cast<int>(sky_.size())) return false;
    sky_[static_cast<std::size_t>(skyCount_++)] = SkySet{};
    sky_[static_cast<std::size_t>(i)].talker = s.talker;
    sky_[static_cast<std::size_t>(i)].signal = s.signalId;
  }
  SkySet& set = sky_[static_cast<std::size_t>(i)];
  constexpr int kMaxSentences = static_cast<int>(std::tuple_size_v<decltype(set.collecting)>) / 4;
  // A set is taken only whole and in order; a sentence out of turn starts over.
  if (s.sentenceIndex == 1) {
    set.nextIndex = 1;
    set.collectingCount = 0;
    set.collectingInView = s.inView;
  }
  if (s.sentenceIndex != set.nextIndex || s.sentenceCount > kMaxSentences) {
    set.nextIndex = 1;
    return false;
  }
  for (int k = 0; k < s.satelliteCount; ++k)
    set.collecting[static_cast<std::size_t>(set.collectingCount++)] =
        s.satellites[static_cast<std::size_t>(k)];
  ++set.nextIndex;
  if (s.sentenceIndex < s.sentenceCount) return false;
  set.satellites = set.collecting;
  set.satelliteCount = set.collectingCount;
  set.inView = set.collectingInView;
  set.complete = true;
  set.stamp = open_ ? std::optional(time_) : lastTime_;
  set.nextIndex = 1;
  return true;
}

}  // namespace pda::gps
