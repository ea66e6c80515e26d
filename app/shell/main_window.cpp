// Sections: process-wide values | message routines | command routines | the two tables |
// window procedure and class
#include "shell/main_window.h"

#include <cstring>

#include "position/position_lock.h"
#include "position/snapshot_listener.h"
#include "resources/resource_ids.h"
#include "screen/main_screen.h"
#include "screen/touch_buttons.h"
#include "settings/settings_record.h"
#include "settingsdlg/page_sheet.h"
#include "shell/globals.h"
#include "shell/shell_services.h"
#include "shell/text_pane.h"
#include "utils/message_table.h"

HWND g_hwndMenuBar;
HWND g_hwndGeoNotes;
GPS_DEVICE g_DeviceStateCopy;
GPS_POSITION g_PositionCopy;

namespace {

constexpr UINT_PTR kKeepAwakeTimer = 16294;
constexpr UINT kKeepAwakeMs = 5000;
constexpr WORD kNormalIconId = 98;
constexpr WORD kHighResIconId = 99;

// ---- message routines ----------------------------------------------------------------------

void OnKeepAwake(HWND, UINT, UINT_PTR, DWORD) { SystemIdleTimerReset(); }

LRESULT OnCreate(HWND hwnd, UINT, WPARAM, LPARAM lParam) {
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
  TextPaneCreate(&g_TextPane, hwnd, g_hInstance, create);
  std::memset(g_Pressed, 0, sizeof g_Pressed);
  std::memset(g_AccountList.names, 0, sizeof g_AccountList.names);
  g_AccountList.count = ListMailAccounts(g_AccountList.names);
  // Before the settings file is read, so that a stored account wins.
  if (g_AccountList.count != 0)
    StringCchPrintfW(g_Settings.DefaultEmailAccount, SETTINGS_EMAIL_ACCOUNT_CHARS, u"%s",
                     g_AccountList.names[0]);
  SetTimer(hwnd, kKeepAwakeTimer, kKeepAwakeMs, OnKeepAwake);
  return 0;
}

LRESULT OnPaint(HWND hwnd, UINT, WPARAM, LPARAM) { return PaintMainScreen(hwnd); }

LRESULT OnActivate(HWND hwnd, UINT, WPARAM wParam, LPARAM lParam) {
  return HandleActivate(hwnd, wParam, lParam);
}

LRESULT OnDestroy(HWND hwnd, UINT, WPARAM, LPARAM) {
  KillTimer(hwnd, kKeepAwakeTimer);
  SHSipPreference(hwnd, SIP_FORCEDOWN);
  PostQuitMessage(0);
  return 0;
}

LRESULT OnCommand(HWND hwnd, UINT, WPARAM wParam, LPARAM lParam);

LRESULT OnSize(HWND hwnd, UINT, WPARAM wParam, LPARAM lParam) {
  TextPaneResize(&g_TextPane, hwnd);
  if (IsWindow(g_hwndGeoNotes)) SendMessageW(g_hwndGeoNotes, WM_SETTINGCHANGE, wParam, lParam);
  const bool highRes = IsHighResolution();
  g_ValueFontHeight = highRes ? 40 : 20;
  BuildLayout(hwnd, highRes);
  return 0;
}

LRESULT OnEraseBackground(HWND, UINT, WPARAM, LPARAM) { return 1; }

LRESULT OnNotifyIcon(HWND hwnd, UINT, WPARAM wParam, LPARAM lParam) {
  if (lParam == WM_LBUTTONDOWN && (wParam == kNormalIconId || wParam == kHighResIconId))
    SetForegroundWindow(hwnd);
  return 0;
}

LRESULT OnPositionChanged(HWND hwnd, UINT, WPARAM, LPARAM) {
  EnterCriticalSection(&g_csPosition);
  g_DeviceStateCopy = g_pSnapshotListener->snapshot.gpsDevice;
  g_PositionCopy = g_pSnapshotListener->snapshot.gpsPosition;
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
  LeaveCriticalSection(&g_csPosition);
  return 0;
}

// ---- command routines ----------------------------------------------------------------------

LRESULT OnToggleTextPane(HWND, WORD, LPARAM, WORD) {
  TextPaneToggle(&g_TextPane);
  return 0;
}

LRESULT OnClearTextPane(HWND, WORD, LPARAM, WORD) {
  TextPaneClear(&g_TextPane);
  return 0;
}

LRESULT OnSettings(HWND hwnd, WORD, LPARAM, WORD) {
  ShowSettingsSheet(hwnd, g_hInstance, &g_Settings, 0);
  return 0;
}

LRESULT OnExit(HWND hwnd, WORD, LPARAM, WORD) {
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
  return 0;
}

// ---- the two tables ------------------------------------------------------------------------

constexpr MessageRow kMessages[] = {
    {WM_CREATE,           OnCreate},
    {WM_PAINT,            OnPaint},
    {WM_ACTIVATE,         OnActivate},
    {WM_DESTROY,          OnDestroy},
    {WM_QUIT,             OnDestroy},
    {WM_COMMAND,          OnCommand},
    {WM_SIZE,             OnSize},
    {WM_SETTINGCHANGE,    OnSize},
    {WM_ERASEBKGND,       OnEraseBackground},
    {WM_LBUTTONDOWN,      OnStylus},
    {WM_MOUSEMOVE,        OnStylus},
    {WM_LBUTTONUP,        OnStylus},
    {WM_NOTIFY_ICON,      OnNotifyIcon},
    {WM_POSITION_CHANGED, OnPositionChanged},
};

constexpr CommandRow kCommands[] = {
    {IDM_SETTINGS,         OnSettings},
    {IDM_TOGGLE_TEXT_PANE, OnToggleTextPane},
    {IDM_CLEAR_TEXT_PANE,  OnClearTextPane},
    {IDM_EXIT,             OnExit},
};

LRESULT OnCommand(HWND hwnd, UINT, WPARAM wParam, LPARAM lParam) {
  return DispatchCommandRows(kCommands, hwnd, wParam, lParam);
}

}  // namespace

// ---- window procedure and class ------------------------------------------------------------

LRESULT MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessageRows(kMessages, hwnd, message, wParam, lParam);
}

ATOM RegisterMainWindowClass(HINSTANCE hinst) {
  WNDCLASSW wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_PARENTDC;
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = hinst;
  wc.hbrBackground = GetStockObject(WHITE_BRUSH).value;  // the class record holds the brush as its number
  wc.lpszClassName = kMainClassName;
  return RegisterClassW(&wc);
}
