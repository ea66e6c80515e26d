// Helpers shared by the GPS driver tests: owned events, PDA_GPS for one test, waits.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "pda/gps.h"
#include "pda/owners.h"

namespace pda::gps::test {

// An auto-reset event, closed at the end of the scope.
class ScopedEvent {
 public:
  HANDLE get() const { return handle_.get(); }
  bool Wait(DWORD ms) const { return WaitForSingleObject(handle_.get(), ms) == WAIT_OBJECT_0; }

 private:
  pda::UniqueKernelHandle handle_{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
};

// Sets PDA_GPS for the scope and restores it after.
class ScopedPdaGps {
 public:
  explicit ScopedPdaGps(const std::string& value) {
    if (const char* old = std::getenv("PDA_GPS")) old_ = old;
    ::setenv("PDA_GPS", value.c_str(), 1);
  }
  ~ScopedPdaGps() {
    if (old_) {
      ::setenv("PDA_GPS", old_->c_str(), 1);
    } else {
      ::unsetenv("PDA_GPS");
    }
  }

 private:
  std::optional<std::string> old_;
};

// A GPS device handle, closed at the end of the scope.
class ScopedGps {
 public:
  ScopedGps(HANDLE position, HANDLE state)
      : handle_(GPSOpenDevice(position, state, nullptr, 0)) {}
  ScopedGps(const ScopedGps&) = delete;
  ScopedGps& operator=(const ScopedGps&) = delete;
  ~ScopedGps() { Close(); }
  HANDLE get() const { return handle_; }
  DWORD Close() {
    if (!handle_) return ERROR_SUCCESS;
    const DWORD r = GPSCloseDevice(handle_);
    handle_ = nullptr;
    return r;
  }

 private:
  HANDLE handle_;
};

inline GPS_POSITION EmptyPosition() {
  GPS_POSITION p{};
  p.dwVersion = GPS_VERSION_1;
  p.dwSize = sizeof(GPS_POSITION);
  return p;
}

inline GPS_DEVICE EmptyDevice() {
  GPS_DEVICE d{};
  d.dwVersion = GPS_VERSION_1;
  d.dwSize = sizeof(GPS_DEVICE);
  return d;
}

// Driver threads of this process (named "pda-gps"); sanitizers start threads of their own, so
// all threads are not counted.
inline std::size_t DriverThreadCount() {
  std::size_t n = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(entry.path() / "comm");
    std::string name;
    if (std::getline(comm, name) && name == "pda-gps") ++n;
  }
  return n;
}

inline std::string DataFile(const char* name) { return std::string(GPS_TEST_DATA) + "/" + name; }

inline std::string FriendlyName(const GPS_DEVICE& d) {
  std::string out;
  for (WCHAR c : d.szGPSFriendlyName) {
    if (!c) break;
    out += static_cast<char>(c);
  }
  return out;
}

}  // namespace pda::gps::test
