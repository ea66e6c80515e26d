// The SnapshotListener: keeps the Position snapshot (the last device-state and position records
// received) under the Position lock and tells the Main window with the Position-changed message.
#pragma once

#include <pda.h>

#include "position/gps_listener.h"

// Posted to the Main window after every stored record; both parameters 0.
constexpr UINT WM_POSITION_CHANGED = 0xA002;

struct PositionSnapshot {
  GPS_DEVICE gpsDevice;
  GPS_POSITION gpsPosition;
};

class SnapshotListener final : public GpsListener {
 public:
  SnapshotListener();
  LONG OnPosition(GPS_POSITION gpsPosition) override;
  LONG OnDeviceState(GPS_DEVICE gpsDevice) override;

  // All zero until the first record: latitude and longitude read as 0.0 (no fix). Read only
  // under the Position lock.
  PositionSnapshot snapshot;
};

// The listener created by start-up; every reader of the snapshot reaches it through here.
extern SnapshotListener* g_pSnapshotListener;

// The share actions' copy of the snapshot's position record, taken under the Position lock.
GPS_POSITION CopySnapshotPosition();
