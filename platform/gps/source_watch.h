// What every source tells the driver besides its readings: the status (gps_status.h) and, when
// the source is lost or falls silent, one record without a position, so that the application
// shows "acquiring" instead of the last fix. Positions resume by themselves with the next
// reading. Runs on the driver thread only.
#pragma once

#include <chrono>
#include <string>

#include "driver_state.h"

namespace pda::gps {

class SourceWatch {
 public:
  // No reading for this long is silence.
  static constexpr std::chrono::milliseconds kSilence{3000};

  // name: how the status line starts ("gpsd at 127.0.0.1:2947", "NMEA /dev/ttyUSB0").
  SourceWatch(DriverState& state, std::string name);

  // A reading: published, and the status follows its fix.
  void Reading(const GPS_POSITION& position, Clock::time_point arrival);
  // The source answers but has not given a reading yet: the silence clock starts now.
  void Connected();
  // The source is gone (or cannot be reached): one record without a position, and the status
  // "no source" with why ("not reachable, retrying").
  void Lost(const std::string& why);
  // To be called after every wait: after kSilence without a reading, publishes one record without
  // a position and keeps the status line's count of seconds current. Returns how long the next
  // wait may last before this wants to be called again.
  std::chrono::milliseconds Tick();

 private:
  void PublishNoPosition();

  DriverState& state_;
  std::string name_;
  Clock::time_point lastReading_;
  bool positionless_ = false;  // the last record published has no position
  bool lost_ = false;
  long silentSeconds_ = -1;
};

}  // namespace pda::gps
