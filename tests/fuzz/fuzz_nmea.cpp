// libFuzzer target for the NMEA parser and epoch assembler of the GPS driver: any bytes, split
// into lines as the serial and log sources split them. Checks the invariants the driver relies
// on: nothing read out of bounds (ASan), no undefined arithmetic (UBSan), satellite counts never
// above 12, and no coordinates without their valid bits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "../../platform/gps/nmea_parser.h"

namespace {

void Check(const GPS_POSITION& p) {
  if (p.dwSatelliteCount > GPS_MAX_SATELLITES || p.dwSatellitesInView > GPS_MAX_SATELLITES)
    std::abort();
  if (!(p.dwValidFields & GPS_VALID_LATITUDE) && (p.dblLatitude != 0.0 || p.dblLongitude != 0.0))
    std::abort();
  if (p.dblLatitude < -90.0 || p.dblLatitude > 90.0 || p.dblLongitude < -180.0 ||
      p.dblLongitude > 180.0)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  pda::gps::NmeaAssembler assembler;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    (void)pda::gps::ParseNmeaSentence(line);
    if (auto epoch = assembler.FeedLine(line)) Check(*epoch);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
  }
  if (auto epoch = assembler.Flush()) Check(*epoch);
  return 0;
}
