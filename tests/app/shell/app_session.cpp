#include "app_session.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>

#include <unistd.h>

#include <pda/testing/clipboard.h>
#include <pda/testing/gps.h>
#include <pda/testing/kernel.h>
#include <pda/testing/shell.h>
#include <pda/testing/user.h>

#include "position/snapshot_listener.h"
#include "screen/main_screen.h"
#include "settings/settings_record.h"
#include "shell/globals.h"
#include "shell/main_window.h"

namespace zaz::testing {
namespace {

// Set once, before any thread runs:
// - the time zone: the navigation bar's clock reads local time, and the screenshots must be the
//   same on every host;
// - PDA_ROOT: the window manager finds another process's Main window through a rendezvous named
//   after PDA_ROOT (not after the test's device root), so two test programs running at once
//   would each take the other's window for a first instance. A name of this process's own keeps
//   them apart.
class ProcessEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zaz-app-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
      ADD_FAILURE() << "cannot make " << pattern;
      return;
    }
    folder_ = pattern;
    setenv("PDA_ROOT", folder_.c_str(), 1);
  }
  void TearDown() override {
    if (!folder_.empty()) ::rmdir(folder_.c_str());
  }

 private:
  std::string folder_;
};
[[maybe_unused]] const auto* const kProcessEnvironment =
    ::testing::AddGlobalTestEnvironment(new ProcessEnvironment);

// 9 January 2009, 20:41:24 UTC.
constexpr std::chrono::seconds kWallClock{1231533684};

// What a fresh process starts with: the application keeps its values process-wide, and every
// test here starts it again in the same process.
void ResetApplicationValues() {
  g_PositionCopy = GPS_POSITION{};
  g_DeviceStateCopy = GPS_DEVICE{};
  g_ButtonsEnabled = 0;
  std::memset(g_Pressed, 0, sizeof g_Pressed);
  g_hWndMain = nullptr;
  g_hwndGeoNotes = nullptr;
  g_pSnapshotListener = nullptr;
  g_Settings.Clear();
}

std::mutex g_leftMutex;
LeftAtProcessEnd g_left;

}  // namespace

int WINAPI WinMainThenProcessEnd(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine,
                                 int show) {
  const int result = WinMain(instance, previous, commandLine, show);
  LeftAtProcessEnd left;
  left.mainWindow = IsWindow(g_hWndMain);
  left.mainWindowVisible = left.mainWindow && IsWindowVisible(g_hWndMain);
  for (const auto& icon : pda::testing::NotifyIcons())
    if (icon.owner == g_hWndMain) ++left.notificationIcons;
  // The process would end here, and its windows with it: the shell's bars made on this thread,
  // the Main window if WinMain left it, anything a test made.
  pda::testing::ResetShell();
  for (const auto& top : pda::testing::TopLevelWindows())
    if (GetWindowThreadProcessId(top.window, nullptr) == GetCurrentThreadId())
      DestroyWindow(top.window);
  std::lock_guard lock(g_leftMutex);
  g_left = left;
  return result;
}

LeftAtProcessEnd LastProcessEnd() {
  std::lock_guard lock(g_leftMutex);
  return g_left;
}

void AppTest::SetUp() {
  pda::testing::ResetClipboard();
  pda::testing::UseScriptedGps();
  pda::testing::UseManualClock(0);
  pda::SetWallClockForTesting(std::chrono::system_clock::time_point(kWallClock));
  ResetApplicationValues();
}

void AppTest::TearDown() {
  app_.reset();
  pda::testing::UseRealClock();
  pda::SetWallClockForTesting(std::nullopt);
  pda::testing::UseConfiguredGps();
  pda::testing::ResetClipboard();
}

pda::testing::Harness& AppTest::Start(const Screen& screen) {
  pda::testing::ChangeScreen(screen.width, screen.height, screen.dpi);
  app_ = std::make_unique<pda::testing::Harness>(WinMainThenProcessEnd);
  EXPECT_TRUE(app_->WaitIdle()) << "the first paint did not finish";
  return *app_;
}

void AppTest::ScriptFix(double latitude, double longitude, DWORD used, DWORD inView) {
  GPS_POSITION position = {};
  position.dwVersion = GPS_VERSION_1;
  position.dwSize = sizeof position;
  position.dwValidFields = GPS_VALID_LATITUDE | GPS_VALID_LONGITUDE |
                           GPS_VALID_SATELLITE_COUNT | GPS_VALID_SATELLITES_IN_VIEW;
  position.dblLatitude = latitude;
  position.dblLongitude = longitude;
  position.dwSatelliteCount = used;
  position.dwSatellitesInView = inView;
  pda::testing::ScriptGpsPosition(position);
  // The reader thread posts the Position-changed message on its own time.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    ASSERT_TRUE(app().WaitIdle());
    const bool painted = OnUi(app(), [&] {
      return g_PositionCopy.dblLatitude == latitude && g_PositionCopy.dblLongitude == longitude &&
             g_PositionCopy.dwSatelliteCount == used;
    });
    if (painted) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  FAIL() << "the scripted position never reached the Main window";
}

void AppTest::QuitWithCtrlQ() {
  app().Key('Q', {.ctrl = true});
  ASSERT_TRUE(app().Join()) << "Ctrl+Q did not end the application";
}

ClientArea AppTest::Client() {
  return OnUi(app(), [] {
    RECT rc = {};
    GetClientRect(g_hWndMain, &rc);
    POINT origin = {0, 0};
    ClientToScreen(g_hWndMain, &origin);
    return ClientArea{origin.x, origin.y, rc.right - rc.left, rc.bottom - rc.top};
  });
}

HWND AppTest::MainWindow() {
  return OnUi(app(), [] { return g_hWndMain; });
}

void RunOnUiThread(pda::testing::Harness& app, std::function<void()> task) {
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  const bool posted = pda::testing::CallOnThread(app.UiThreadId(), [task, done] {
    task();
    done->set_value();
  });
  ASSERT_TRUE(posted) << "the application's UI thread has no queue";
  ASSERT_EQ(finished.wait_for(pda::testing::Harness::kWatchdog), std::future_status::ready)
      << "the UI thread did not run the task";
  app.WaitIdle();
}

PixelBlock ReadBlock(const pda::testing::Harness& app, int left, int top, int width, int height) {
  PixelBlock block{left, top, width, height, {}};
  block.pixels.reserve(static_cast<std::size_t>(width * height));
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x) block.pixels.push_back(app.ReadPixel(x, y));
  return block;
}

int DifferingPixels(const PixelBlock& a, const PixelBlock& b, int x0, int x1) {
  int count = 0;
  for (int y = a.top; y < a.top + a.height; ++y)
    for (int x = x0; x < x1; ++x)
      if (a.At(x, y) != b.At(x, y)) ++count;
  return count;
}

int BrightPixels(const PixelBlock& block, int level) {
  int count = 0;
  for (COLORREF c : block.pixels)
    if (GetRValue(c) > level && GetGValue(c) > level && GetBValue(c) > level) ++count;
  return count;
}

}  // namespace zaz::testing
