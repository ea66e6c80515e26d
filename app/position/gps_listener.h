// The GPS reader's listener interface and thread record.
#pragma once

#include <pda.h>

// Receives the reader's records, by value, on the reader thread. Both operations return 0.
// Listeners are never deleted through this interface (no virtual destructor).
class GpsListener {
 public:
  virtual LONG OnPosition(GPS_POSITION gpsPosition) = 0;
  virtual LONG OnDeviceState(GPS_DEVICE gpsDevice) = 0;

 protected:
  ~GpsListener() = default;
};

// The reader thread's handle and id; zero while no reader runs.
struct GpsThreadRecord {
  HANDLE hThread;
  DWORD dwThreadId;
};
static_assert(sizeof(GpsThreadRecord) == 8);
