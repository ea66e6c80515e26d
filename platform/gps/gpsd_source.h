// Source: gpsd. Speaks gpsd's JSON over a socket of its own and reads each report with libgps's
// parser (gps_unpack), so that nothing blocks a close: the host name is looked up on a helper
// thread the driver does not wait for, and the connect is non-blocking and polled together with
// the stop signal. (libgps's gps_open looks up and connects blocking, up to minutes for an
// address that does not answer, and offers no way to adopt a socket connected elsewhere.)
//
// When gpsd goes away or cannot be reached, the service is off, one record without a position is
// published and the source reconnects by itself with back-off (100 ms doubling to 5 s); the
// back-off starts over only after gpsd has sent a report, not on a bare connect.
//
// One record is published per epoch: while positions flow, a sky view goes out with the next
// position (or alone, 1.5 s after it came, when none follows).
#pragma once

#include <memory>

#include "gps_config.h"
#include "source.h"

namespace pda::gps {

std::unique_ptr<Source> MakeGpsdSource(const GpsdConfig& config);

}  // namespace pda::gps
