// libFuzzer target for the gpsd path: any bytes, split into lines as the gpsd source splits
// gpsd's stream, checked as the source checks it, read by libgps's parser into one gps_data_t (as on one connection) and mapped
// to the position record. Checks what the application relies on: a position only inside
// -90..90 / -180..180 and only with its valid bits, finite numbers, counts never above 12.
#include <gps.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "../../platform/gps/gpsd_record.h"
#include "../../platform/gps/gpsd_report_line.h"

namespace {

void Check(const GPS_POSITION& p) {
  const bool valid = (p.dwValidFields & GPS_VALID_LATITUDE) != 0;
  if (!valid && (p.dblLatitude != 0.0 || p.dblLongitude != 0.0)) std::abort();
  if (!std::isfinite(p.dblLatitude) || std::fabs(p.dblLatitude) > 90.0) std::abort();
  if (!std::isfinite(p.dblLongitude) || std::fabs(p.dblLongitude) > 180.0) std::abort();
  if (std::signbit(p.dblLatitude) && p.dblLatitude == 0.0) std::abort();
  if (!std::isfinite(p.flSpeed) || !std::isfinite(p.flAltitudeWRTSeaLevel) ||
      !std::isfinite(p.flAltitudeWRTEllipsoid) || !std::isfinite(p.dblMagneticVariation))
    std::abort();
  if (p.dwSatelliteCount > GPS_MAX_SATELLITES || p.dwSatellitesInView > GPS_MAX_SATELLITES)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto g = std::make_unique<gps_data_t>();
  gps_clear_fix(&g->fix);
  gps_clear_dop(&g->dop);
  bool skySeen = false;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string line(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    g->set = 0;
    pda::gps::ReportLine read = pda::gps::ReadReportLine(line);
    if (read.kind != pda::gps::ReportLine::Kind::ForLibgps ||
        gps_unpack(read.forLibgps.data(), g.get()) != 0)
      continue;
    skySeen = skySeen || (g->set & SATELLITE_SET);
    Check(pda::gps::PositionFromGpsd(*g, skySeen));
  }
  return 0;
}
