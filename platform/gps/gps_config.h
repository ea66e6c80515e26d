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

// The accepted forms, for the line that refuses a bad value.
inline constexpr std::string_view kGpsConfigForm =
    "gpsd | gpsd://HOST:PORT | nmea:PATH | demo | none";

// Why PDA_GPS (null: unset) cannot be used, or nothing: a value of none of the forms, or an NMEA
// source that cannot be opened at all (no such file, a folder, no permission, no such device).
// The source is opened for reading without waiting and closed again.
std::optional<std::string> GpsSettingProblem(const char* value);

}  // namespace pda::gps
