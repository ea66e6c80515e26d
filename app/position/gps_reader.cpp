// The GPS reader: open and close, the thread's start and stop, and the thread itself.
//
// The reader state is module-wide. The thread copies the events and the listener at its start:
// they are set before the thread is created and cleared only after it has ended (or after the
// stop wait has given up on it). The device handle is opened after the thread has started, so
// the thread reads it afresh, atomically, before every request.
#include "position/gps_reader.h"

#include <atomic>

namespace {

struct GpsReaderState {
  std::atomic<HANDLE> hDevice;
  HANDLE hNewPosition;
  HANDLE hDeviceState;
  HANDLE hStop;
  GpsListener* pListener;
};

GpsReaderState s_reader;

// A failure as a result from the last-error value; a failure that left no last-error value is
// still a failure.
HRESULT FailureFromLastError() {
  const HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
  return FAILED(hr) ? hr : E_FAIL;
}

void CloseAndClear(HANDLE* phHandle) {
  if (*phHandle) CloseHandle(*phHandle);
  *phHandle = nullptr;
}

void CloseEvents() {
  CloseAndClear(&s_reader.hNewPosition);
  CloseAndClear(&s_reader.hDeviceState);
  CloseAndClear(&s_reader.hStop);
}

}  // namespace

HRESULT GpsOpen(GpsThreadRecord* pThreadRecord, GpsListener* pListener) {
  if (pListener == nullptr || pThreadRecord == nullptr || s_reader.hDevice.load()) {
    return E_INVALIDARG;
  }
  s_reader.pListener = pListener;

  const HRESULT hr = GpsStartThread(pThreadRecord);
  if (FAILED(hr)) {
    s_reader.pListener = nullptr;
    return hr;
  }
  const HANDLE hDevice = GPSOpenDevice(s_reader.hNewPosition, s_reader.hDeviceState, nullptr, 0);
  if (!hDevice) {
    const HRESULT hrOpen = FailureFromLastError();
    GpsStopThread(pThreadRecord);
    s_reader.pListener = nullptr;
    return hrOpen;
  }
  s_reader.hDevice.store(hDevice);
  return S_OK;
}

HRESULT GpsStartThread(GpsThreadRecord* pThreadRecord) {
  pThreadRecord->hThread = nullptr;
  pThreadRecord->dwThreadId = 0;
  s_reader.hNewPosition = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (s_reader.hNewPosition) s_reader.hDeviceState = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (s_reader.hDeviceState) s_reader.hStop = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (s_reader.hStop) {
    pThreadRecord->hThread =
        CreateThread(nullptr, 0, GpsReaderThread, nullptr, 0, &pThreadRecord->dwThreadId);
  }
  if (!pThreadRecord->hThread) {
    const HRESULT hr = FailureFromLastError();
    CloseEvents();
    pThreadRecord->dwThreadId = 0;
    return hr;
  }
  return S_OK;
}

DWORD GpsReaderThread(LPVOID) {
  GPS_POSITION gpsPosition = {};
  gpsPosition.dwVersion = GPS_VERSION_1;
  gpsPosition.dwSize = sizeof(GPS_POSITION);
  GPS_DEVICE gpsDevice = {};
  gpsDevice.dwVersion = GPS_VERSION_1;
  gpsDevice.dwSize = sizeof(GPS_DEVICE);

  // In this order: a new position wins over a device-state change, both over the stop.
  const HANDLE rghEvents[] = {s_reader.hNewPosition, s_reader.hDeviceState, s_reader.hStop};
  GpsListener* const pListener = s_reader.pListener;

  for (;;) {
    const DWORD dwWait = WaitForMultipleObjects(3, rghEvents, FALSE, INFINITE);
    if (dwWait == WAIT_OBJECT_0) {
      const HANDLE hDevice = s_reader.hDevice.load();
      if (GPSGetPosition(hDevice, &gpsPosition, GPS_MAXIMUM_AGE_MS, 0) == ERROR_SUCCESS) {
        pListener->OnPosition(gpsPosition);
      }
    } else if (dwWait == WAIT_OBJECT_0 + 1) {
      if (GPSGetDeviceState(&gpsDevice) == ERROR_SUCCESS) pListener->OnDeviceState(gpsDevice);
    } else if (dwWait == WAIT_OBJECT_0 + 2) {
      return 0;
    } else if (dwWait == WAIT_FAILED) {
      // The events are gone (closed after a stop wait that gave up): nothing can wake this
      // thread any more.
      return 0;
    }
  }
}

HRESULT GpsStopThread(GpsThreadRecord* pThreadRecord) {
  HRESULT hr = S_OK;
  if (!SetEvent(s_reader.hStop)) {
    hr = FailureFromLastError();
  } else if (WaitForSingleObject(pThreadRecord->hThread, GPS_STOP_WAIT_MS) != WAIT_OBJECT_0) {
    hr = FailureFromLastError();
  }
  CloseEvents();
  CloseAndClear(&pThreadRecord->hThread);
  pThreadRecord->dwThreadId = 0;
  return hr;
}

HRESULT GpsClose(GpsThreadRecord* pThreadRecord) {
  const HANDLE hDevice = s_reader.hDevice.load();
  if (!hDevice || pThreadRecord == nullptr) return E_INVALIDARG;
  const HRESULT hrStop = GpsStopThread(pThreadRecord);
  const DWORD dwClose = GPSCloseDevice(hDevice);
  const DWORD dwCloseError = GetLastError();
  s_reader.hDevice.store(nullptr);
  s_reader.pListener = nullptr;
  if (FAILED(hrStop)) return hrStop;
  if (dwClose == ERROR_SUCCESS) return S_OK;
  SetLastError(dwCloseError);
  return FailureFromLastError();
}
