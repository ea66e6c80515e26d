// libFuzzer target for the line assembly of the NMEA sources: the first byte chooses the size of
// the pieces the rest arrives in. The lines must be the same whatever the pieces, never longer
// than the limit, and never hold a line end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "../../platform/gps/nmea_lines.h"

namespace {

std::vector<std::string> Split(std::string_view bytes, std::size_t piece) {
  pda::gps::NmeaLineSplitter splitter;
  std::vector<std::string> lines;
  auto take = [&](std::string_view line) {
    if (line.size() > pda::gps::NmeaLineSplitter::kMaxLine ||
        line.find_first_of("\r\n") != std::string_view::npos)
      std::abort();
    lines.emplace_back(line);
  };
  for (std::size_t i = 0; i < bytes.size(); i += piece) splitter.Feed(bytes.substr(i, piece), take);
  splitter.Finish(take);
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t piece = 1 + data[0] % 16;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  if (Split(bytes, piece) != Split(bytes, bytes.size() + 1)) std::abort();
  return 0;
}
