// The GPS reader: a thread that waits on the GPS driver's new-position and device-state events
// (and a stop event of its own), fetches the new record from the driver and hands it by value to
// the listener. At most one reader is open at a time.
//
// Results: 0 success, E_INVALIDARG for a refused call, otherwise a failure built from the
// platform's last-error value (never a success for a failure).
#pragma once

#include <pda.h>

#include "position/gps_listener.h"

constexpr DWORD GPS_MAXIMUM_AGE_MS = 3000;
constexpr DWORD GPS_STOP_WAIT_MS = 5000;

// Starts the reader thread and opens the driver. Refused (E_INVALIDARG, nothing changed) with no
// listener or no thread record, or while a reader is open.
HRESULT GpsOpen(GpsThreadRecord* pThreadRecord, GpsListener* pListener);
// Stops the reader thread and closes the driver. E_INVALIDARG while closed.
HRESULT GpsClose(GpsThreadRecord* pThreadRecord);
// The halves of GpsOpen and GpsClose: the three events and the thread.
HRESULT GpsStartThread(GpsThreadRecord* pThreadRecord);
HRESULT GpsStopThread(GpsThreadRecord* pThreadRecord);
// The reader thread's procedure; returns 0.
DWORD GpsReaderThread(LPVOID);
