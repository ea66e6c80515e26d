// Source: gpsd through libgps. Connects, watches TPV/SKY/DEVICE reports, and when gpsd goes away
// reports the service off and reconnects by itself with back-off (100 ms doubling to 5 s).
#pragma once

#include <memory>

#include "gps_config.h"
#include "source.h"

namespace pda::gps {

std::unique_ptr<Source> MakeGpsdSource(const GpsdConfig& config);

}  // namespace pda::gps
