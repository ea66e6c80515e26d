// Test hooks of the GPS intermediate driver: a scripted source that a test drives through these
// calls while the code under test uses the ordinary GPSOpenDevice / GPSGetPosition /
// GPSGetDeviceState / GPSCloseDevice, plus counters the driver's own tests and benchmarks read.
//
// Not for the shipped program: nothing here is reachable from PDA_GPS.
#pragma once

#include <cstdint>

#include "pda/gps.h"

namespace pda::testing {

// The next opens use the script instead of PDA_GPS. Also resets the script: no current position
// (dwValidFields 0), the device state all OFF, and no scripted failures. Opens already made keep
// the source they have.
void UseScriptedGps();
// The next opens read PDA_GPS again (the default).
void UseConfiguredGps();

// With a non-zero value, GPSOpenDevice fails: null handle, this last-error value. 0: opens succeed.
void ScriptGpsOpenFailure(DWORD lastError);
// With a non-zero value, GPSGetPosition and GPSGetDeviceState return it (and leave the caller's
// record alone). 0: they succeed.
void ScriptGpsGetFailure(DWORD error);

// Stores the record as the current position (its dwVersion/dwSize are ignored) and sets every
// open's new-position event. ageMilliseconds makes the record that much older than now, so that
// the maximum-age rule of GPSGetPosition can be exercised without waiting.
void ScriptGpsPosition(const GPS_POSITION& position, DWORD ageMilliseconds = 0);
// Stores the record as the current device state and sets every open's device-state event.
void ScriptGpsDeviceState(const GPS_DEVICE& device);

// Opens not yet closed (of any source).
int GpsOpenCount();

// NMEA sentences the driver's NMEA sources (nmea:PATH and demo) skipped as bad (checksum, cut
// line, field count, non-numeric field) since the process started.
unsigned NmeaBadSentenceCount();

// When the current position arrived at the driver (the source's reading of it), in nanoseconds
// of std::chrono::steady_clock; 0 before any. For latency measurements.
std::int64_t GpsPositionArrivalNanoseconds();

}  // namespace pda::testing
