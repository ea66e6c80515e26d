// The demo receiver's bundled track (data/demo_track.nmea), embedded at build time.
#pragma once

#include <string_view>

namespace pda::gps {

std::string_view DemoTrack();

}  // namespace pda::gps
