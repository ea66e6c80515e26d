// The GPS reader on the platform's scripted GPS source, with the Position-changed messages
// received by a real window of the platform.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include <pda.h>
#include <pda/testing/gps.h>
#include <pda/user.h>

#include "position/gps_reader.h"
#include "position/position_lock.h"
#include "position/snapshot_listener.h"
#include "shell/globals.h"

namespace {

constexpr DWORD kPumpTimeoutMs = 5000;

// ---- a window that records the Position-changed messages it receives ------------------------

std::atomic<int> g_cPositionChanged{0};

LRESULT RecordingWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg == WM_POSITION_CHANGED) {
    EXPECT_EQ(wParam, 0u);
    EXPECT_EQ(lParam, 0);
    ++g_cPositionChanged;
    return 0;
  }
  return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

HWND CreateRecordingWindow() {
  static const ATOM atom = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordingWndProc;
    wc.lpszClassName = u"PositionRecorder";
    return RegisterClassW(&wc);
  }();
  if (atom == 0) return nullptr;
  return CreateWindowExW(0, u"PositionRecorder", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         nullptr, nullptr);
}

// Dispatches this thread's messages until `count` Position-changed messages have arrived, or
// the time-out passes. Returns the number received.
int PumpUntilPositionChanged(int count, DWORD timeoutMs = kPumpTimeoutMs) {
  const DWORD dwStart = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (g_cPositionChanged >= count || GetTickCount() - dwStart > timeoutMs) break;
    Sleep(1);
  }
  return g_cPositionChanged;
}

// Dispatches whatever is queued now.
void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

GPS_POSITION Position(double lat, double lon, DWORD used = 0, DWORD inView = 0) {
  GPS_POSITION pos = {};
  pos.dwVersion = GPS_VERSION_1;
  pos.dwSize = sizeof(GPS_POSITION);
  pos.dwValidFields = GPS_VALID_LATITUDE | GPS_VALID_LONGITUDE;
  pos.dblLatitude = lat;
  pos.dblLongitude = lon;
  pos.dwSatelliteCount = used;
  pos.dwSatellitesInView = inView;
  return pos;
}

GPS_POSITION SnapshotPosition() {
  EnterCriticalSection(&g_csPosition);
  GPS_POSITION pos = g_pSnapshotListener->snapshot.gpsPosition;
  LeaveCriticalSection(&g_csPosition);
  return pos;
}

GPS_DEVICE SnapshotDevice() {
  EnterCriticalSection(&g_csPosition);
  GPS_DEVICE dev = g_pSnapshotListener->snapshot.gpsDevice;
  LeaveCriticalSection(&g_csPosition);
  return dev;
}

// ---- a listener that can hold the reader inside an operation --------------------------------

class BlockingListener final : public GpsListener {
 public:
  BlockingListener()
      : hEntered_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
        hRelease_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~BlockingListener() {
    CloseHandle(hEntered_);
    CloseHandle(hRelease_);
  }
  LONG OnPosition(GPS_POSITION gpsPosition) override {
    lastLatitude_ = gpsPosition.dblLatitude;
    ++cPositions_;
    SetEvent(hEntered_);
    WaitForSingleObject(hRelease_, INFINITE);
    return 0;
  }
  LONG OnDeviceState(GPS_DEVICE) override {
    ++cDeviceStates_;
    return 0;
  }
  bool WaitEntered() { return WaitForSingleObject(hEntered_, kPumpTimeoutMs) == WAIT_OBJECT_0; }
  void Release() { SetEvent(hRelease_); }

  std::atomic<int> cPositions_{0};
  std::atomic<int> cDeviceStates_{0};
  std::atomic<double> lastLatitude_{0.0};

 private:
  HANDLE hEntered_;
  HANDLE hRelease_;
};

// ---- fixture ---------------------------------------------------------------------------------

class GpsReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pda::testing::UseScriptedGps();
    g_cPositionChanged = 0;
    g_hWndMain = CreateRecordingWindow();
    ASSERT_TRUE(g_hWndMain);
    g_pSnapshotListener = new SnapshotListener;
    record_ = {};
  }
  void TearDown() override {
    GpsClose(&record_);  // in case a test stopped half-way
    delete g_pSnapshotListener;
    g_pSnapshotListener = nullptr;
    PumpPending();
    DestroyWindow(g_hWndMain);
    g_hWndMain = nullptr;
    pda::testing::ScriptGpsOpenFailure(0);
    pda::testing::ScriptGpsGetFailure(0);
    pda::testing::UseConfiguredGps();
  }
  GpsThreadRecord record_ = {};
};

TEST_F(GpsReaderTest, BeforeTheFirstReadingTheSnapshotIsAllZero) {
  const PositionSnapshot zero = {};
  EXPECT_EQ(std::memcmp(&g_pSnapshotListener->snapshot, &zero, sizeof zero), 0);
  ASSERT_EQ(GpsOpen(&record_, g_pSnapshotListener), S_OK);
  EXPECT_EQ(SnapshotPosition().dblLatitude, 0.0);
  EXPECT_EQ(SnapshotPosition().dblLongitude, 0.0);
  EXPECT_EQ(GpsClose(&record_), S_OK);
}

TEST_F(GpsReaderTest, APositionIsStoredAndPostsOneMessage) {
  ASSERT_EQ(GpsOpen(&record_, g_pSnapshotListener), S_OK);
  EXPECT_TRUE(record_.hThread);
  EXPECT_NE(record_.dwThreadId, 0u);
  EXPECT_EQ(pda::testing::GpsOpenCount(), 1);

  pda::testing::ScriptGpsPosition(Position(47.60620949, -122.33207083, 7, 9));
  ASSERT_EQ(PumpUntilPositionChanged(1), 1);
  const GPS_POSITION pos = SnapshotPosition();
  EXPECT_EQ(pos.dblLatitude, 47.60620949);
  EXPECT_EQ(pos.dblLongitude, -122.33207083);
  EXPECT_EQ(pos.dwSatelliteCount, 7u);
  EXPECT_EQ(pos.dwSatellitesInView, 9u);

  EXPECT_EQ(GpsClose(&record_), S_OK);
  PumpPending();
  EXPECT_EQ(g_cPositionChanged, 1);
  EXPECT_EQ(pda::testing::GpsOpenCount(), 0);
  EXPECT_FALSE(record_.hThread);
  EXPECT_EQ(record_.dwThreadId, 0u);
}

TEST_F(GpsReaderTest, ADeviceStateAlonePostsAMessageAndKeepsTheZeroPosition) {
  ASSERT_EQ(GpsOpen(&record_, g_pSnapshotListener), S_OK);
  GPS_DEVICE dev = {};
  dev.dwServiceState = SERVICE_STATE_ON;
  dev.dwDeviceState = SERVICE_STATE_ON;
  pda::testing::ScriptGpsDeviceState(dev);
  ASSERT_EQ(PumpUntilPositionChanged(1), 1);
  EXPECT_EQ(SnapshotDevice().dwServiceState, SERVICE_STATE_ON);
  EXPECT_EQ(SnapshotDevice().dwDeviceState, SERVICE_STATE_ON);
  EXPECT_EQ(SnapshotPosition().dblLatitude, 0.0);
  EXPECT_EQ(SnapshotPosition().dblLongitude, 0.0);
  EXPECT_EQ(GpsClose(&record_), S_OK);
}

TEST_F(GpsReaderTest, AFailingGetPositionPostsNothingAndLeavesTheSnapshot) {
  ASSERT_EQ(GpsOpen(&record_, g_pSnapshotListener), S_OK);
  pda::testing::ScriptGpsPosition(Position(10.0, 20.0));
  ASSERT_EQ(PumpUntilPositionChanged(1), 1);

  pda::testing::ScriptGpsGetFailure(ERROR_READ_FAULT);
  pda::testing::ScriptGpsPosition(Position(30.0, 40.0));
  // The stop has the lowest priority of the three events: the reader handles the pending new
  // position (and fails to get it) before it ends.
  EXPECT_EQ(GpsClose(&record_), S_OK);
  PumpPending();
  EXPECT_EQ(g_cPositionChanged, 1);
  EXPECT_EQ(SnapshotPosition().dblLatitude, 10.0);
  EXPECT_EQ(SnapshotPosition().dblLongitude, 20.0);
}

TEST_F(GpsReaderTest, AnOpenFailureLeavesNothingOpen) {
  pda::testing::ScriptGpsOpenFailure(ERROR_DEV_NOT_EXIST);
  const HRESULT hr = GpsOpen(&record_, g_pSnapshotListener);
  EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST));
  EXPECT_LT(hr, 0);
  EXPECT_FALSE(record_.hThread);
  EXPECT_EQ(record_.dwThreadId, 0u);
  EXPECT_EQ(pda::testing::GpsOpenCount(), 0);
  EXPECT_EQ(GpsClose(&record_), E_INVALIDARG) << "the reader is closed";

  // Nothing was left behind: the next open works from scratch.
  pda::testing::ScriptGpsOpenFailure(0);
  ASSERT_EQ(GpsOpen(&record_, g_pSnapshotListener), S_OK);
  pda::testing::ScriptGpsPosition(Position(1.0, 2.0));
  EXPECT_EQ(PumpUntilPositionChanged(1), 1);
  EXPECT_EQ(GpsClose(&record_), S_OK);
}

TEST_F(GpsReaderTest, RefusedCallsReturnInvalidArgAndChangeNothing) {
  EXPECT_EQ(GpsOpen(&record_, nullptr), static_cast<HRESULT>(0x80070057u));
  EXPECT_EQ(GpsClose(&record_), static_cast<HRESULT>(0x80070057u));
  EXPECT_EQ(pda::testing::GpsOpenCount(), 0);
  EXPECT_FALSE(record_.hThread);

  ASSERT_EQ(GpsOpen(&record_, g_pSnapshotListener), S_OK);
  const GpsThreadRecord first = record_;
  GpsThreadRecord second = {};
  EXPECT_EQ(GpsOpen(&second, g_pSnapshotListener), E_INVALIDARG);
  EXPECT_EQ(GpsOpen(&record_, g_pSnapshotListener), E_INVALIDARG);
  EXPECT_FALSE(second.hThread);
  EXPECT_EQ(record_.hThread, first.hThread);
  EXPECT_EQ(pda::testing::GpsOpenCount(), 1);

  // The first reader still runs.
  pda::testing::ScriptGpsPosition(Position(5.0, 6.0));
  EXPECT_EQ(PumpUntilPositionChanged(1), 1);
  EXPECT_EQ(GpsClose(&record_), S_OK);
  EXPECT_EQ(pda::testing::GpsOpenCount(), 0);
}

TEST_F(GpsReaderTest, AStopWhileInsideTheListenerTakesEffectWhenItReturns) {
  BlockingListener listener;
  ASSERT_EQ(GpsOpen(&record_, &listener), S_OK);
  pda::testing::ScriptGpsPosition(Position(1.0, 1.0));
  ASSERT_TRUE(listener.WaitEntered());

  std::atomic<bool> fClosed{false};
  HRESULT hrClose = E_FAIL;
  std::thread closer([&] {
    hrClose = GpsClose(&record_);
    fClosed = true;
  });
  Sleep(200);
  EXPECT_FALSE(fClosed) << "the reader must not be stopped inside an operation";
  listener.Release();
  closer.join();
  EXPECT_EQ(hrClose, S_OK);
  EXPECT_EQ(listener.cPositions_, 1);
  EXPECT_FALSE(record_.hThread);
  EXPECT_EQ(pda::testing::GpsOpenCount(), 0);
}

TEST_F(GpsReaderTest, NotificationsWhileBusyCollapseIntoOneFetchOfTheNewest) {
  BlockingListener listener;
  ASSERT_EQ(GpsOpen(&record_, &listener), S_OK);
  pda::testing::ScriptGpsPosition(Position(1.0, 1.0));
  ASSERT_TRUE(listener.WaitEntered());

  pda::testing::ScriptGpsPosition(Position(2.0, 2.0));
  pda::testing::ScriptGpsPosition(Position(3.0, 3.0));
  pda::testing::ScriptGpsPosition(Position(4.0, 4.0));
  listener.Release();
  // The pending new-position event outranks the stop, so it is handled before the reader ends.
  EXPECT_EQ(GpsClose(&record_), S_OK);
  EXPECT_EQ(listener.cPositions_, 2);
  EXPECT_EQ(listener.lastLatitude_, 4.0);
}

}  // namespace
