// gpsd reports to the position record (see gpsd_record.h).
#include "gpsd_record.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace pda::gps {
namespace {

constexpr double kKnotsPerMetrePerSecond = 3600.0 / 1852.0;

// What a handheld can report and still be believed: from below the Dead Sea shore (with room
// for geoid error) to the edge of space, and up to about Mach 3.
constexpr double kLowestAltitude = -1500.0;   // m
constexpr double kHighestAltitude = 100000.0;  // m
constexpr double kFastestSpeed = 1000.0;       // m/s

// NaN is how libgps says "not reported": that is allowed. Anything else must be finite and in
// range.
bool AbsentOrWithin(double v, double lo, double hi) {
  return std::isnan(v) || (std::isfinite(v) && v >= lo && v <= hi);
}

// -0.0 is 0.0 in the record.
double Plain(double v) { return v == 0.0 ? 0.0 : v; }

DWORD Rounded(double v, double lo, double hi) {
  return static_cast<DWORD>(std::lround(std::clamp(v, lo, hi)));
}

}  // namespace

GPS_POSITION PositionFromGpsd(const gps_data_t& g, bool skySeen) {
  GPS_POSITION p{};
  p.dwVersion = GPS_VERSION_1;
  p.dwSize = sizeof(GPS_POSITION);
  const gps_fix_t& fix = g.fix;
  // libgps leaves NaN until a position arrives. A report that is out of range anywhere in its
  // position, height or speed, or of a mode this driver does not know, is not a fix at all.
  const bool hasFix =
      (fix.mode == MODE_2D || fix.mode == MODE_3D) && std::isfinite(fix.latitude) &&
      std::isfinite(fix.longitude) && std::fabs(fix.latitude) <= 90.0 &&
      std::fabs(fix.longitude) <= 180.0 &&
      AbsentOrWithin(fix.altMSL, kLowestAltitude, kHighestAltitude) &&
      AbsentOrWithin(fix.altHAE, kLowestAltitude, kHighestAltitude) &&
      AbsentOrWithin(fix.speed, 0.0, kFastestSpeed);

  std::tm tm{};
  const std::time_t seconds = fix.time.tv_sec;
  if (fix.time.tv_sec > 0 && fix.time.tv_nsec >= 0 && fix.time.tv_nsec < 1000000000 &&
      gmtime_r(&seconds, &tm) && tm.tm_year + 1900 <= 30827) {
    p.stUTCTime = SYSTEMTIME{static_cast<WORD>(tm.tm_year + 1900), static_cast<WORD>(tm.tm_mon + 1),
                             static_cast<WORD>(tm.tm_wday),        static_cast<WORD>(tm.tm_mday),
                             static_cast<WORD>(tm.tm_hour),        static_cast<WORD>(tm.tm_min),
                             static_cast<WORD>(tm.tm_sec),
                             static_cast<WORD>(fix.time.tv_nsec / 1000000)};
    p.dwValidFields |= GPS_VALID_UTC_TIME;
  }
  if (hasFix) {
    p.dblLatitude = Plain(fix.latitude);
    p.dblLongitude = Plain(fix.longitude);
    p.dwValidFields |= GPS_VALID_LATITUDE | GPS_VALID_LONGITUDE;
  }
  if (hasFix && std::isfinite(fix.speed)) {
    p.flSpeed = static_cast<float>(fix.speed * kKnotsPerMetrePerSecond);
    p.dwValidFields |= GPS_VALID_SPEED;
  }
  if (hasFix && std::isfinite(fix.track) && fix.track >= 0.0 && fix.track <= 360.0) {
    p.flHeading = static_cast<float>(fix.track);
    p.dwValidFields |= GPS_VALID_HEADING;
  }
  if (std::isfinite(fix.magnetic_var) && std::fabs(fix.magnetic_var) <= 180.0) {
    p.dblMagneticVariation = fix.magnetic_var;
    p.dwValidFields |= GPS_VALID_MAGNETIC_VARIATION;
  }
  if (hasFix && fix.mode >= MODE_3D && std::isfinite(fix.altMSL)) {
    p.flAltitudeWRTSeaLevel = static_cast<float>(fix.altMSL);
    p.dwValidFields |= GPS_VALID_ALTITUDE_WRT_SEA_LEVEL;
  }
  if (hasFix && fix.mode >= MODE_3D && std::isfinite(fix.altHAE)) {
    p.flAltitudeWRTEllipsoid = static_cast<float>(fix.altHAE);
    p.dwValidFields |= GPS_VALID_ALTITUDE_WRT_ELLIPSOID;
  }
  p.FixType = !hasFix ? GPS_FIX_UNKNOWN : fix.mode == MODE_3D ? GPS_FIX_3D : GPS_FIX_2D;
  // gpsd 3.22 sends "status" only when it is out of the ordinary (DGPS, RTK, ...).
  p.FixQuality = !hasFix                          ? GPS_FIX_QUALITY_UNKNOWN
                 : fix.status == STATUS_DGPS_FIX ? GPS_FIX_QUALITY_DGPS
                                                  : GPS_FIX_QUALITY_GPS;
  p.SelectionType = GPS_FIX_SELECTION_UNKNOWN;

  if (!skySeen) return p;
  if (std::isfinite(g.dop.pdop) && g.dop.pdop >= 0) {
    p.flPositionDilutionOfPrecision = static_cast<float>(g.dop.pdop);
    p.dwValidFields |= GPS_VALID_POSITION_DILUTION_OF_PRECISION;
  }
  if (std::isfinite(g.dop.hdop) && g.dop.hdop >= 0) {
    p.flHorizontalDilutionOfPrecision = static_cast<float>(g.dop.hdop);
    p.dwValidFields |= GPS_VALID_HORIZONTAL_DILUTION_OF_PRECISION;
  }
  if (std::isfinite(g.dop.vdop) && g.dop.vdop >= 0) {
    p.flVerticalDilutionOfPrecision = static_cast<float>(g.dop.vdop);
    p.dwValidFields |= GPS_VALID_VERTICAL_DILUTION_OF_PRECISION;
  }
  const int visible = std::clamp(g.satellites_visible, 0, MAXCHANNELS);
  DWORD used = 0, inView = 0;
  for (int i = 0; i < visible; ++i) {
    const satellite_t& sat = g.skyview[i];
    if (sat.PRN <= 0) continue;
    if (sat.used && used < GPS_MAX_SATELLITES) p.rgdwSatellitesUsedPRNs[used++] = static_cast<DWORD>(sat.PRN);
    if (inView == GPS_MAX_SATELLITES) continue;
    p.rgdwSatellitesInViewPRNs[inView] = static_cast<DWORD>(sat.PRN);
    if (std::isfinite(sat.elevation)) {
      p.rgdwSatellitesInViewElevation[inView] = Rounded(sat.elevation, 0, 90);
      p.dwValidFields |= GPS_VALID_SATELLITES_IN_VIEW_ELEVATION;
    }
    if (std::isfinite(sat.azimuth)) {
      p.rgdwSatellitesInViewAzimuth[inView] = Rounded(sat.azimuth, 0, 359);
      p.dwValidFields |= GPS_VALID_SATELLITES_IN_VIEW_AZIMUTH;
    }
    if (std::isfinite(sat.ss)) {
      p.rgdwSatellitesInViewSignalToNoiseRatio[inView] = Rounded(sat.ss, 0, 99);
      p.dwValidFields |= GPS_VALID_SATELLITES_IN_VIEW_SIGNAL_TO_NOISE_RATIO;
    }
    ++inView;
  }
  p.dwSatelliteCount = static_cast<DWORD>(std::clamp(g.satellites_used, 0, 12));
  p.dwSatellitesInView = static_cast<DWORD>(std::clamp(g.satellites_visible, 0, 12));
  p.dwValidFields |= GPS_VALID_SATELLITE_COUNT | GPS_VALID_SATELLITES_IN_VIEW;
  if (used > 0) p.dwValidFields |= GPS_VALID_SATELLITES_USED_PRNS;
  if (inView > 0) p.dwValidFields |= GPS_VALID_SATELLITES_IN_VIEW_PRNS;
  return p;
}

}  // namespace pda::gps
