// PDA_GPS parsing (see gps_config.h).
#include "gps_config.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace pda::gps {

std::optional<GpsConfig> ParseGpsConfig(const char* value) {
  const std::string_view v = value ? value : "";
  if (v.empty() || v == "gpsd") return GpsdConfig{};
  if (v == "demo") return DemoConfig{};
  if (v == "none") return NoneConfig{};
  if (v.starts_with("nmea:")) {
    if (v.size() == 5) return std::nullopt;
    return NmeaConfig{std::string(v.substr(5))};
  }
  constexpr std::string_view kScheme = "gpsd://";
  if (v.starts_with(kScheme)) {
    std::string_view rest = v.substr(kScheme.size());
    // [v6::addr]:port or host:port
    std::string_view host, port;
    if (rest.starts_with('[')) {
      const std::size_t close = rest.find(']');
      if (close == std::string_view::npos || rest.substr(close + 1, 1) != ":") return std::nullopt;
      host = rest.substr(1, close - 1);
      port = rest.substr(close + 2);
    } else {
      const std::size_t colon = rest.rfind(':');
      if (colon == std::string_view::npos) return std::nullopt;
      host = rest.substr(0, colon);
      port = rest.substr(colon + 1);
    }
    if (host.empty()) return std::nullopt;
    if (!rest.starts_with('[') && host.find_first_of(" /:") != std::string_view::npos)
      return std::nullopt;
    unsigned number = 0;
    auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (port.empty() || ec != std::errc{} || end != port.data() + port.size() || number == 0 ||
        number > 65535)
      return std::nullopt;
    return GpsdConfig{std::string(host), std::string(port)};
  }
  return std::nullopt;
}

namespace {

std::string OpenProblem(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return "no such file";
    case EACCES:
    case EPERM: return "no permission to read it";
    case ENXIO:
    case ENODEV: return "no such device";
    default: return std::strerror(error);
  }
}

// A file replayed or a serial device, that this process may read.
std::optional<std::string> NmeaSourceProblem(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return OpenProblem(errno);
  if (S_ISDIR(info.st_mode)) return "a folder, not a file or serial device";
  if (!S_ISREG(info.st_mode) && !S_ISCHR(info.st_mode)) return "not a file or serial device";
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return OpenProblem(errno);
  ::close(fd);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> GpsSettingProblem(const char* value) {
  const std::optional<GpsConfig> config = ParseGpsConfig(value);
  if (!config) return "not a GPS source";
  if (const auto* nmea = std::get_if<NmeaConfig>(&*config)) return NmeaSourceProblem(nmea->path);
  return std::nullopt;
}

}  // namespace pda::gps
