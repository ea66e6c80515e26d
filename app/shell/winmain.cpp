// The process: single-instance check, start-up in its fixed order, the message loop, and the
// shutdown that saves the settings and stops the GPS reader.
#include <cstdlib>
#include <new>

#include "position/gps_reader.h"
#include "position/snapshot_listener.h"
#include "resources/app_resources.h"
#include "resources/resource_ids.h"
#include "screen/main_screen.h"
#include "screen/surface.h"
#include "settings/settings_file.h"
#include "shell/globals.h"
#include "settingsdlg/sheet_button.h"
#include "shell/main_window.h"
#include "shell/shell_services.h"
#include "shell/text_pane.h"

namespace {

constexpr int kExitNoWindow = -2;
constexpr int kExitNoMenuBar = -3;
constexpr int kExitLoopSkipped = 2;

// Every keystroke the loop retrieves, for any window, passes the Main window's accelerators.
int RunMessageLoop(HWND hwnd, HINSTANCE hinst) {
  HACCEL accelerators = LoadAcceleratorsW(hinst, MAKEINTRESOURCEW(IDR_ACCELERATORS));
  MSG msg = {};
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (TranslateAcceleratorW(hwnd, accelerators, &msg)) continue;
    if (got == -1) std::exit(1);
    if (got == 0) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

// Fits the window above its menu bar, without repainting.
void FitAboveMenuBar(HWND hwnd, HWND menuBar) {
  RECT window, bar;
  GetWindowRect(hwnd, &window);
  GetWindowRect(menuBar, &bar);
  window.bottom -= bar.bottom - bar.top;
  MoveWindow(hwnd, window.left, window.top, window.right - window.left,
             window.bottom - window.top, FALSE);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hinst, HINSTANCE, LPWSTR, int) {
  HWND running = FindWindowW(kMainClassName, kMainTitle);
  if (running) {
    SetForegroundWindow(running);
    return 0;
  }

  FontCreate(&g_HeaderFont14, u"Tahoma", 14, 1, FALSE);
  FontCreate(&g_HeaderFont26, u"Tahoma", 26, 1, FALSE);
  SheetButtonClear(&g_BackButton);
  SheetButtonClear(&g_NextButton);

  // The instance is kept before the window exists: its creation already lays out the screen,
  // which loads bitmaps from it.
  g_hInstance = hinst;
  RegisterAppResources(hinst);
  RegisterMainWindowClass(hinst);
  HWND hwnd = CreateWindowExW(0, kMainClassName, kMainTitle, WS_VISIBLE | WS_SYSMENU,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              nullptr, hinst, nullptr);
  if (!hwnd) return kExitNoWindow;
  g_hWndMain = hwnd;

  SHInitExtraControls();
  InitRichInkDLL();
  g_hwndMenuBar = BuildMenuBar(hwnd, hinst, IDR_MAIN_MENU, false);
  if (!g_hwndMenuBar) return kExitNoMenuBar;

  LoadSettings();
  AddNotifyIcon(hwnd, hinst);
  FitAboveMenuBar(hwnd, g_hwndMenuBar);
  SetForegroundWindow(hwnd);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);

  int exitCode = kExitLoopSkipped;
  g_pSnapshotListener = new (std::nothrow) SnapshotListener();
  GpsThreadRecord* thread = new (std::nothrow) GpsThreadRecord();
  if (g_pSnapshotListener && thread && GpsOpen(thread, g_pSnapshotListener) >= 0)
    exitCode = RunMessageLoop(hwnd, hinst);

  SaveSettings();
  DeleteNotifyIcon();
  if (thread) GpsClose(thread);
  delete g_pSnapshotListener;
  g_pSnapshotListener = nullptr;
  delete thread;

  TextPaneDestroy(&g_TextPane);
  ReleaseLayout();
  SheetButtonRelease(&g_BackButton);
  SheetButtonRelease(&g_NextButton);
  FontRelease(&g_HeaderFont14);
  FontRelease(&g_HeaderFont26);
  return exitCode;
}
