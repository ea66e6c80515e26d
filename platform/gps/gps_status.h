// The GPS source's status, for the platform's own components (the navigation bar's GPS icon):
// whether there is a source at all, whether it is searching or has a fix, and one line that
// says so in words ("gpsd at 127.0.0.1:2947: not reachable, retrying", "Demo receiver: fix",
// "NMEA /dev/ttyUSB0: no data for 12 s").
//
// The driver thread reports; any thread reads. Each change of state is written once to standard
// error (one line per change, not per attempt).
#pragma once

#include <string>

#include "pda/gps.h"

namespace pda::gps {

enum class SourceState { NoSource, Searching, Fix };

struct SourceStatus {
  SourceState state = SourceState::NoSource;
  std::string text;  // ASCII, one line, no line end
};

SourceStatus CurrentSourceStatus();

// Registers the one function called after every change of the status (state or text), or
// clears it with null. It runs on the driver thread, must return quickly and must not call into
// windows (post a message instead) nor set the callback itself. Once this returns, the previous
// callback is not running and will not run again.
using SourceStatusCallback = void (*)(void* context);
void SetSourceStatusCallback(SourceStatusCallback callback, void* context);

// For the sources: the new status. A change of state is written to standard error.
void ReportSourceStatus(SourceState state, const std::string& text);
// For the sources: a reading arrived; a fix when it has a latitude and a longitude, else
// searching ("<source>: fix", "<source>: searching for satellites").
void ReportReadingStatus(const std::string& source, const GPS_POSITION& position);
// For the driver at the last close: back to "no source" without a line on standard error.
void ResetSourceStatus(const std::string& text);

}  // namespace pda::gps
