// Status and lost/silent records of a source (see source_watch.h).
#include "source_watch.h"

#include "gps_status.h"

namespace pda::gps {

using namespace std::chrono_literals;

SourceWatch::SourceWatch(DriverState& state, std::string name)
    : state_(state), name_(std::move(name)), lastReading_(Clock::now()) {}

void SourceWatch::Reading(const GPS_POSITION& position, Clock::time_point arrival) {
  lastReading_ = Clock::now();
  positionless_ = false;
  lost_ = false;
  silentSeconds_ = -1;
  state_.NoteDataReceived();
  state_.PublishPosition(position, arrival);
  ReportReadingStatus(name_, position);
}

void SourceWatch::Connected() {
  lastReading_ = Clock::now();
  lost_ = false;
  silentSeconds_ = -1;
  ReportSourceStatus(SourceState::Searching, name_ + ": connected, waiting for data");
}

void SourceWatch::Lost(const std::string& why) {
  lost_ = true;
  // The status first: whoever wakes on the record finds the status that explains it.
  ReportSourceStatus(SourceState::NoSource, name_ + ": " + why);
  if (!positionless_) PublishNoPosition();
}

std::chrono::milliseconds SourceWatch::Tick() {
  if (lost_) return -1ms;  // the source says when it is back
  const auto quiet = Clock::now() - lastReading_;
  if (quiet < kSilence)
    return std::chrono::ceil<std::chrono::milliseconds>(kSilence - quiet);
  const long seconds = static_cast<long>(std::chrono::floor<std::chrono::seconds>(quiet).count());
  if (seconds != silentSeconds_) {
    silentSeconds_ = seconds;
    ReportSourceStatus(SourceState::NoSource,
                       name_ + ": no data for " + std::to_string(seconds) + " s");
  }
  if (!positionless_) PublishNoPosition();
  // Wake at the next whole second of silence, to keep the count current.
  return std::chrono::ceil<std::chrono::milliseconds>(std::chrono::seconds(seconds + 1) - quiet);
}

void SourceWatch::PublishNoPosition() {
  positionless_ = true;
  GPS_POSITION none{};
  none.dwVersion = GPS_VERSION_1;
  none.dwSize = sizeof(GPS_POSITION);
  state_.PublishPosition(none, Clock::now());
}

}  // namespace pda::gps
