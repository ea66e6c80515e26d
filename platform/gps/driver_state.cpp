// The driver's shared state (see driver_state.h).
#include "driver_state.h"

#include <algorithm>

namespace pda::gps {

DriverState& DriverState::Instance() {
  static DriverState state;
  return state;
}

DriverState::DriverState() { Reset("GPS"); }

void DriverState::AddListener(std::uint32_t id, OpenEvents events) {
  std::lock_guard lock(listenersMutex_);
  listeners_.emplace_back(id, events);
}

void DriverState::RemoveListener(std::uint32_t id) {
  std::lock_guard lock(listenersMutex_);
  std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void DriverState::Reset(const std::string& friendlyName) {
  std::lock_guard lock(mutex_);
  position_ = GPS_POSITION{};
  arrival_ = Clock::time_point{};
  device_ = GPS_DEVICE{};
  device_.dwVersion = GPS_VERSION_1;
  device_.dwSize = sizeof(GPS_DEVICE);
  device_.dwServiceState = SERVICE_STATE_OFF;
  device_.dwDeviceState = SERVICE_STATE_OFF;
  CopyName(device_.szGPSDriverPrefix, GPS_MAX_PREFIX_NAME, "GPS0:");
  CopyName(device_.szGPSMultiplexPrefix, GPS_MAX_PREFIX_NAME, "GPD0:");
  CopyName(device_.szGPSFriendlyName, GPS_MAX_FRIENDLY_NAME, friendlyName);
}

void DriverState::SignalAll(HANDLE OpenEvents::*which) const {
  // Under the listeners' lock, so that an open cannot be closed (and its events freed)
  // mid-signal; not under the record's, which a woken reader wants at once.
  std::lock_guard lock(listenersMutex_);
  for (const auto& [id, events] : listeners_)
    if (events.*which) SetEvent(events.*which);
}

void DriverState::PublishPosition(const GPS_POSITION& position, Clock::time_point arrival) {
  {
    std::lock_guard lock(mutex_);
    position_ = position;
    position_.dwVersion = GPS_VERSION_1;
    position_.dwSize = sizeof(GPS_POSITION);
    arrival_ = arrival;
  }
  SignalAll(&OpenEvents::newLocationData);
}

void DriverState::PublishDevice(const GPS_DEVICE& device) {
  {
    std::lock_guard lock(mutex_);
    device_ = device;
    device_.dwVersion = GPS_VERSION_1;
    device_.dwSize = sizeof(GPS_DEVICE);
  }
  SignalAll(&OpenEvents::deviceStateChange);
}

void DriverState::SetDeviceState(DWORD serviceState, DWORD deviceState,
                                 const std::string& friendlyName) {
  WCHAR name[GPS_MAX_FRIENDLY_NAME];
  CopyName(name, GPS_MAX_FRIENDLY_NAME, friendlyName);
  {
    std::lock_guard lock(mutex_);
    const bool changed = device_.dwServiceState != serviceState ||
                         device_.dwDeviceState != deviceState ||
                         !std::equal(name, name + GPS_MAX_FRIENDLY_NAME, device_.szGPSFriendlyName);
    if (!changed) return;
    device_.dwServiceState = serviceState;
    device_.dwDeviceState = deviceState;
    std::copy(name, name + GPS_MAX_FRIENDLY_NAME, device_.szGPSFriendlyName);
  }
  SignalAll(&OpenEvents::deviceStateChange);
}

void DriverState::NoteDataReceived() {
  const FILETIME now = FileTimeNow();
  std::lock_guard lock(mutex_);
  device_.ftLastDataReceived = now;
}

GPS_POSITION DriverState::Position(DWORD maximumAge) const {
  std::lock_guard lock(mutex_);
  GPS_POSITION out = position_;
  out.dwVersion = GPS_VERSION_1;
  out.dwSize = sizeof(GPS_POSITION);
  const auto age = Clock::now() - arrival_;
  if (arrival_ == Clock::time_point{} || age > std::chrono::milliseconds(maximumAge)) {
    // Too old to be trusted: nothing of it is handed out.
    out = GPS_POSITION{};
    out.dwVersion = GPS_VERSION_1;
    out.dwSize = sizeof(GPS_POSITION);
  }
  return out;
}

GPS_DEVICE DriverState::Device() const {
  std::lock_guard lock(mutex_);
  return device_;
}

Clock::time_point DriverState::Arrival() const {
  std::lock_guard lock(mutex_);
  return arrival_;
}

void CopyName(WCHAR* destination, std::size_t capacity, const std::string& text) {
  // Names are built from ASCII (host names, device paths); anything else becomes '?'.
  std::size_t i = 0;
  for (; i + 1 < capacity && i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    destination[i] = c < 0x80 ? static_cast<WCHAR>(c) : u'?';
  }
  std::fill(destination + i, destination + capacity, u'\0');
}

FILETIME FileTimeNow() {
  // 1601-01-01 to 1970-01-01 in 100-ns ticks.
  constexpr std::uint64_t kEpochOffset = 116444736000000000ull;
  const auto since1970 = std::chrono::duration_cast<std::chrono::nanoseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  const std::uint64_t ticks = kEpochOffset + static_cast<std::uint64_t>(since1970.count() / 100);
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace pda::gps
