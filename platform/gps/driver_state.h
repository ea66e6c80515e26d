// The driver's shared state: the current position and when it arrived, the device-state record,
// and the opens whose events are set when either changes. Sources write to it from the driver
// thread; the public calls read it from any thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "pda/gps.h"

namespace pda::gps {

using Clock = std::chrono::steady_clock;

// The pair of events of one open.
struct OpenEvents {
  HANDLE newLocationData;
  HANDLE deviceStateChange;
};

class DriverState {
 public:
  static DriverState& Instance();

  void AddListener(std::uint32_t id, OpenEvents events);
  void RemoveListener(std::uint32_t id);

  // Forgets the current position and sets the device state to OFF/OFF with this name. No event.
  void Reset(const std::string& friendlyName);

  // Stores the record as current (arrived at `arrival`) and sets every new-position event.
  void PublishPosition(const GPS_POSITION& position, Clock::time_point arrival);
  // Stores the whole device record and sets every device-state event.
  void PublishDevice(const GPS_DEVICE& device);
  // Sets service and device state and the friendly name; sets every device-state event when
  // one of them changed.
  void SetDeviceState(DWORD serviceState, DWORD deviceState, const std::string& friendlyName);
  // Stamps ftLastDataReceived with the current time (no event).
  void NoteDataReceived();

  // The current position as GPSGetPosition returns it: zeroed when older than maximumAge ms.
  GPS_POSITION Position(DWORD maximumAge) const;
  GPS_DEVICE Device() const;
  Clock::time_point Arrival() const;

  void CountBadSentences(unsigned n) { badSentences_ += n; }
  unsigned BadSentences() const { return badSentences_.load(); }

 private:
  DriverState();
  void SignalAll(HANDLE OpenEvents::*which) const;

  mutable std::mutex mutex_;  // the records
  GPS_POSITION position_{};
  Clock::time_point arrival_{};
  GPS_DEVICE device_{};
  mutable std::mutex listenersMutex_;  // the opens; never held together with mutex_
  std::vector<std::pair<std::uint32_t, OpenEvents>> listeners_;
  std::atomic<unsigned> badSentences_{0};
};

// UTF-8/ASCII text into a fixed WCHAR field, cut to fit, always terminated.
void CopyName(WCHAR* destination, std::size_t capacity, const std::string& text);
// The current UTC time as a FILETIME (100 ns since 1601-01-01).
FILETIME FileTimeNow();

}  // namespace pda::gps
