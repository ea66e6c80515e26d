// PDA_GPS, the driver's setting: which source the next open reads.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace pda::gps {

struct GpsdConfig {
  std::string host = "127.0.0.1";
  std::string port = "2947";
};
struct NmeaConfig {
  std::string path;
};
struct DemoConfig {};
struct NoneConfig {};

using GpsConfig = std::variant<GpsdConfig, NmeaConfig, DemoConfig, NoneConfig>;

// "gpsd", "gpsd://HOST:PORT", "nmea:PATH", "demo", "none"; null or empty is "gpsd".
std::optional<GpsConfig> ParseGpsConfig(const char* value);

// The one line printed for a bad value.
inline constexpr std::string_view kGpsConfigUsage =
    "PDA_GPS must be one of: gpsd, gpsd://HOST:PORT, nmea:PATH, demo, none";

}  // namespace pda::gps
