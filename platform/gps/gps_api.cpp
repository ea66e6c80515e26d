// The GPS intermediate driver's public calls (pda/gps.h) and its test hooks (pda/testing/gps.h).
//
// Opens are reference-counted: the first open starts the configured source on its driver thread,
// the last close stops it. Every open has its own handle and its own pair of events.
//
// Sections: driver | sources | public calls | test hooks
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <mutex>

#include "demo_track.h"
#include "driver_state.h"
#include "gps_config.h"
#include "gps_status.h"
#include "gpsd_source.h"
#include "kernel/bad_setting.h"
#include "kernel/handle_table.h"
#include "nmea_sources.h"
#include "pda/gps.h"
#include "pda/testing/gps.h"
#include "source.h"

namespace pda::gps {
namespace {

// The name of the test's stand-in receiver (pda/testing/gps.h).
constexpr char kScriptedName[] = "Scripted GPS";

// ---- driver --------------------------------------------------------------------------------

struct GpsOpen {
  OpenEvents events;
};

class Driver {
 public:
  static Driver& Instance() {
    static Driver driver;
    return driver;
  }

  HANDLE Open(HANDLE newLocationData, HANDLE deviceStateChange, DWORD* error);
  DWORD Close(HANDLE device);
  bool IsOpen(HANDLE device) const { return opens_.Lookup(device.value, kKind) != nullptr; }

  void UseScript(bool scripted) {
    std::lock_guard lock(mutex_);
    scripted_ = scripted;
    openFailure_ = 0;
    getFailure_ = 0;
    if (scripted) DriverState::Instance().Reset(kScriptedName);
  }
  void SetOpenFailure(DWORD error) {
    std::lock_guard lock(mutex_);
    openFailure_ = error;
  }
  void SetGetFailure(DWORD error) { getFailure_ = error; }
  DWORD GetFailure() const { return getFailure_.load(); }
  int OpenCount() const {
    std::lock_guard lock(mutex_);
    return openCount_;
  }

 private:
  static constexpr HandleKind kKind = HandleKind::GpsDevice;

  DWORD StartSource();

  mutable std::mutex mutex_;
  HandleTable<GpsOpen> opens_;
  int openCount_ = 0;
  std::unique_ptr<SourceThread> thread_;
  bool scripted_ = false;
  DWORD openFailure_ = 0;
  std::atomic<DWORD> getFailure_{0};
};

// ---- sources -------------------------------------------------------------------------------

// Builds the source PDA_GPS names and starts it. Returns a last-error value, 0 on success.
DWORD Driver::StartSource() {
  const char* value = std::getenv("PDA_GPS");
  std::optional<GpsConfig> config = ParseGpsConfig(value);
  if (!config) {
    // The start refuses a bad value before anything runs; only a test meets it here.
    ReportBadSetting("PDA_GPS", value, "not a GPS source", kGpsConfigForm);
    return ERROR_INVALID_PARAMETER;
  }
  std::unique_ptr<Source> source;
  std::string name;
  DWORD error = ERROR_SUCCESS;
  if (std::holds_alternative<NoneConfig>(*config)) return ERROR_DEV_NOT_EXIST;
  if (const auto* gpsd = std::get_if<GpsdConfig>(&*config)) {
    name = "gpsd " + gpsd->host + ":" + gpsd->port;
    source = MakeGpsdSource(*gpsd);
  } else if (std::holds_alternative<DemoConfig>(*config)) {
    name = "Demo receiver";
    source = MakeNmeaReplaySource(DemoTrack(), name);
  } else {
    const std::string& path = std::get<NmeaConfig>(*config).path;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return ERROR_FILE_NOT_FOUND;
    if (S_ISCHR(info.st_mode)) {
      name = "NMEA " + path;
      source = MakeNmeaSerialSource(path, &error);
    } else if (S_ISREG(info.st_mode)) {
      // Read as a stream by the driver thread, as the replay goes.
      UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
      if (!file) return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_READ_FAULT;
      name = "NMEA " + path;
      source = MakeNmeaFileSource(std::move(file), name);
    } else {
      return ERROR_DEV_NOT_EXIST;
    }
  }
  if (!source) return error ? error : ERROR_DEV_NOT_EXIST;
  DriverState::Instance().Reset(name);
  thread_ = std::make_unique<SourceThread>(std::move(source), DriverState::Instance());
  return ERROR_SUCCESS;
}

HANDLE Driver::Open(HANDLE newLocationData, HANDLE deviceStateChange, DWORD* error) {
  std::lock_guard lock(mutex_);
  if (scripted_ && openFailure_) {
    *error = openFailure_;
    return nullptr;
  }
  const OpenEvents events{newLocationData, deviceStateChange};
  const std::uint32_t id = opens_.Insert(std::make_shared<GpsOpen>(GpsOpen{events}), kKind);
  if (id == 0) {
    *error = ERROR_TOO_MANY_OPEN_FILES;
    return nullptr;
  }
  // Listen before the source starts, so that its first report is not missed.
  DriverState::Instance().AddListener(id, events);
  if (openCount_ == 0 && !scripted_) {
    if (DWORD e = StartSource()) {
      DriverState::Instance().RemoveListener(id);
      opens_.Remove(id, kKind);
      *error = e;
      return nullptr;
    }
  }
  if (openCount_ == 0 && scripted_)
    ReportSourceStatus(SourceState::Searching, std::string(kScriptedName) + ": searching");
  ++openCount_;
  return HANDLE{id};
}

DWORD Driver::Close(HANDLE device) {
  std::lock_guard lock(mutex_);
  if (!opens_.Remove(device.value, kKind)) return ERROR_INVALID_HANDLE;
  DriverState::Instance().RemoveListener(device.value);
  if (--openCount_ == 0 && scripted_) ResetSourceStatus("GPS off");
  if (openCount_ == 0 && thread_) {
    thread_.reset();  // wakes the driver thread and joins it
    const GPS_DEVICE last = DriverState::Instance().Device();
    std::u16string_view name(last.szGPSFriendlyName);
    DriverState::Instance().SetDeviceState(SERVICE_STATE_OFF, SERVICE_STATE_OFF,
                                           std::string(name.begin(), name.end()));
    ResetSourceStatus("GPS off");
  }
  return ERROR_SUCCESS;
}

}  // namespace
}  // namespace pda::gps

// ---- public calls --------------------------------------------------------------------------

using pda::gps::Driver;
using pda::gps::DriverState;

HANDLE GPSOpenDevice(HANDLE newLocationData, HANDLE deviceStateChange, LPCWSTR deviceName,
                     DWORD flags) {
  if (deviceName != nullptr || flags != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  DWORD error = ERROR_SUCCESS;
  HANDLE device = Driver::Instance().Open(newLocationData, deviceStateChange, &error);
  if (!device) SetLastError(error);
  return device;
}

DWORD GPSGetPosition(HANDLE device, GPS_POSITION* position, DWORD maximumAge, DWORD flags) {
  if (DWORD e = Driver::Instance().GetFailure()) return e;
  if (position == nullptr || flags != 0 || position->dwVersion != GPS_VERSION_1 ||
      position->dwSize != sizeof(GPS_POSITION))
    return ERROR_INVALID_PARAMETER;
  // A null handle asks for the cached data only, which is all this driver keeps anyway.
  if (device && !Driver::Instance().IsOpen(device)) return ERROR_INVALID_HANDLE;
  *position = DriverState::Instance().Position(maximumAge);
  return ERROR_SUCCESS;
}

DWORD GPSGetDeviceState(GPS_DEVICE* device) {
  if (DWORD e = Driver::Instance().GetFailure()) return e;
  if (device == nullptr || device->dwVersion != GPS_VERSION_1 ||
      device->dwSize != sizeof(GPS_DEVICE))
    return ERROR_INVALID_PARAMETER;
  *device = DriverState::Instance().Device();
  return ERROR_SUCCESS;
}

DWORD GPSCloseDevice(HANDLE device) { return Driver::Instance().Close(device); }

// ---- test hooks ----------------------------------------------------------------------------

namespace pda::testing {

void UseScriptedGps() { Driver::Instance().UseScript(true); }
void UseConfiguredGps() { Driver::Instance().UseScript(false); }
void ScriptGpsOpenFailure(DWORD lastError) { Driver::Instance().SetOpenFailure(lastError); }
void ScriptGpsGetFailure(DWORD error) { Driver::Instance().SetGetFailure(error); }

void ScriptGpsPosition(const GPS_POSITION& position, DWORD ageMilliseconds) {
  pda::gps::ReportReadingStatus(pda::gps::kScriptedName, position);
  DriverState::Instance().PublishPosition(
      position, pda::gps::Clock::now() - std::chrono::milliseconds(ageMilliseconds));
}

void ScriptGpsDeviceState(const GPS_DEVICE& device) {
  DriverState::Instance().PublishDevice(device);
}

int GpsOpenCount() { return Driver::Instance().OpenCount(); }

unsigned NmeaBadSentenceCount() { return DriverState::Instance().BadSentences(); }

std::int64_t GpsPositionArrivalNanoseconds() {
  const auto arrival = DriverState::Instance().Arrival();
  if (arrival == pda::gps::Clock::time_point{}) return 0;
  return std::chrono::duration_cast<std::chrono::nanoseconds>(arrival.time_since_epoch()).count();
}

}  // namespace pda::testing
