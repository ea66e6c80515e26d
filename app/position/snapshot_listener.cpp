// The SnapshotListener.
#include "position/snapshot_listener.h"

#include <cstring>

#include <pda/user.h>

#include "position/position_lock.h"
#include "shell/globals.h"

SnapshotListener* g_pSnapshotListener = nullptr;

GPS_POSITION CopySnapshotPosition() {
  const PositionLockGuard lock;
  return g_pSnapshotListener->snapshot.gpsPosition;
}

SnapshotListener::SnapshotListener() { std::memset(&snapshot, 0, sizeof snapshot); }

// The message is posted while the lock is held, so the Main window never sees the message
// before the data.
LONG SnapshotListener::OnPosition(GPS_POSITION gpsPosition) {
  EnterCriticalSection(&g_csPosition);
  std::memcpy(&snapshot.gpsPosition, &gpsPosition, sizeof(GPS_POSITION));
  PostMessageW(g_hWndMain, WM_POSITION_CHANGED, 0, 0);
  LeaveCriticalSection(&g_csPosition);
  return 0;
}

LONG SnapshotListener::OnDeviceState(GPS_DEVICE gpsDevice) {
  EnterCriticalSection(&g_csPosition);
  std::memcpy(&snapshot.gpsDevice, &gpsDevice, sizeof(GPS_DEVICE));
  PostMessageW(g_hWndMain, WM_POSITION_CHANGED, 0, 0);
  LeaveCriticalSection(&g_csPosition);
  return 0;
}
