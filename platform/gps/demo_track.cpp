#include "gps/demo_track.h"

#include "pda_gps_data.h"

namespace pda::gps {

std::string_view DemoTrack() {
  const auto* file = data::FindEmbeddedFile("demo_track.nmea");
  if (!file) return {};
  return {reinterpret_cast<const char*>(file->data), file->size};
}

}  // namespace pda::gps
