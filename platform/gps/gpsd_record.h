// gpsd's view of the receiver (libgps's gps_data_t after TPV and SKY reports) as the driver's
// position record. Pure, so it is tested with hand-made reports.
#pragma once

#include <gps.h>

#include "pda/gps.h"

namespace pda::gps {

// skySeen: a SKY report has arrived on this connection (before it, the satellite fields of
// gps_data_t are not gpsd's and stay invalid).
GPS_POSITION PositionFromGpsd(const gps_data_t& data, bool skySeen);

}  // namespace pda::gps
