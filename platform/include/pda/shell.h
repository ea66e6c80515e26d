// The handheld shell: the navigation bar at the top of the screen (foreground title, clock,
// notification icons), soft-key menu bars at the bottom built from menu resources, the input
// panel (an on-screen keyboard that types into the focus window), the Done button, activation
// bookkeeping and common-controls initialisation.
//
// Sections: notification icons | menu bars | input panel | activation | controls
#pragma once

#include "pda/menu.h"
#include "pda/resources.h"
#include "pda/user.h"

// ---- notification icons --------------------------------------------------------------------
constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 0x1;
constexpr UINT NIF_ICON = 0x2;
constexpr UINT NIF_TIP = 0x4;

struct NOTIFYICONDATA {
  DWORD cbSize;  // 152
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  WCHAR szTip[64];
};
using PNOTIFYICONDATA = NOTIFYICONDATA*;
static_assert(sizeof(NOTIFYICONDATA) == 152);
static_assert(offsetof(NOTIFYICONDATA, hWnd) == 4 && offsetof(NOTIFYICONDATA, uID) == 8 &&
              offsetof(NOTIFYICONDATA, uFlags) == 12 &&
              offsetof(NOTIFYICONDATA, uCallbackMessage) == 16 &&
              offsetof(NOTIFYICONDATA, hIcon) == 20 && offsetof(NOTIFYICONDATA, szTip) == 24);

// An icon is known by (hWnd, uID). Adding one that exists, or modifying or deleting one that
// does not, fails; so does a cbSize other than 152. A tap on the icon in the navigation bar
// sends hWnd the callback message with wParam uID and lParam WM_LBUTTONDOWN, then WM_LBUTTONUP.
BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATA data);

// ---- menu bars -----------------------------------------------------------------------------
constexpr DWORD SHCMBF_EMPTYBAR = 0x01;
constexpr DWORD SHCMBF_HIDDEN = 0x02;
constexpr DWORD SHCMBF_HIDESIPBUTTON = 0x04;
constexpr DWORD SHCMBF_COLORBK = 0x08;
constexpr DWORD SHCMBF_HMENU = 0x10;

struct SHMENUBARINFO {
  DWORD cbSize;  // 36
  HWND hwndParent;
  DWORD dwFlags;
  UINT nToolBarId;
  HINSTANCE hInstRes;
  int nBmpId;
  int cBmpImages;
  HWND hwndMB;  // out
  COLORREF clrBk;
};
using PSHMENUBARINFO = SHMENUBARINFO*;
static_assert(sizeof(SHMENUBARINFO) == 36);
static_assert(offsetof(SHMENUBARINFO, hwndParent) == 4 && offsetof(SHMENUBARINFO, dwFlags) == 8 &&
              offsetof(SHMENUBARINFO, nToolBarId) == 12 &&
              offsetof(SHMENUBARINFO, hInstRes) == 16 && offsetof(SHMENUBARINFO, nBmpId) == 20 &&
              offsetof(SHMENUBARINFO, cBmpImages) == 24 && offsetof(SHMENUBARINFO, hwndMB) == 28 &&
              offsetof(SHMENUBARINFO, clrBk) == 32);

// A bar across the bottom of the screen, owned by hwndParent (destroyed with it). With
// SHCMBF_HMENU, nToolBarId is a menu resource of hInstRes whose first two items become the left
// and the right soft key; a tap on a key sends WM_COMMAND (MAKEWPARAM(id, 0), 0) to hwndParent.
// The input-panel button sits between them unless SHCMBF_HIDESIPBUTTON is given. Toolbar
// resources (no SHCMBF_HMENU, no SHCMBF_EMPTYBAR) are not supported.
BOOL SHCreateMenuBar(PSHMENUBARINFO info);

// ---- input panel ---------------------------------------------------------------------------
enum SIPSTATE : int {
  SIP_UP = 0,
  SIP_DOWN = 1,
  SIP_FORCEDOWN = 2,
  SIP_UNCHANGED = 3,
  SIP_INPUTDIALOG = 4,
};

constexpr DWORD SIPF_OFF = 0x0;
constexpr DWORD SIPF_ON = 0x1;
constexpr DWORD SIPF_DOCKED = 0x2;
constexpr DWORD SIPF_LOCKED = 0x4;
constexpr DWORD SIPF_DISABLECOMPLETION = 0x8;

// WM_SETTINGCHANGE first parameter when the input panel went up or down.
constexpr WPARAM SPI_SETSIPINFO = 224;
constexpr UINT SPI_GETSIPINFO = 225;

// The record holds a pointer, so it is larger than its published 48 bytes on a 64-bit host;
// cbSize must carry the published size, SIPINFO_PUBLISHED_SIZE, as a version mark.
struct SIPINFO {
  DWORD cbSize;
  DWORD fdwFlags;
  RECT rcVisibleDesktop;  // the screen between the navigation bar and the panel (or menu bar)
  RECT rcSipRect;         // the panel, in screen coordinates
  DWORD dwImDataSize;
  void* pvImData;
};
constexpr DWORD SIPINFO_PUBLISHED_SIZE = 48;
static_assert(offsetof(SIPINFO, fdwFlags) == 4 && offsetof(SIPINFO, rcVisibleDesktop) == 8 &&
              offsetof(SIPINFO, rcSipRect) == 24 && offsetof(SIPINFO, dwImDataSize) == 40);

// Raising or lowering the panel sends WM_SETTINGCHANGE (SPI_SETSIPINFO) to every top-level window.
BOOL SHSipPreference(HWND window, SIPSTATE state);
BOOL SipShowIM(DWORD flags);  // SIPF_ON or SIPF_OFF
// FALSE (ERROR_INVALID_PARAMETER) unless cbSize is SIPINFO_PUBLISHED_SIZE.
BOOL SipGetInfo(SIPINFO* info);
// SPI_GETSIPINFO reads into pvParam (a SIPINFO); SPI_SETSIPINFO raises or lowers the panel by
// its fdwFlags.
BOOL SHSipInfo(UINT action, UINT param, void* pvParam, UINT winIni);

// ---- activation ----------------------------------------------------------------------------
struct SHACTIVATEINFO {
  DWORD cbSize;  // 12
  HWND hwndLastFocus;
  UINT fSipUp : 1;
  UINT fSipOnDeactivation : 1;
  UINT fActive : 1;
  UINT fReserved : 29;
};
using PSHACTIVATEINFO = SHACTIVATEINFO*;
static_assert(sizeof(SHACTIVATEINFO) == 12);
static_assert(offsetof(SHACTIVATEINFO, hwndLastFocus) == 4);

constexpr DWORD SHA_INPUTDIALOG = 0x1;

// WM_ACTIVATE: on deactivation remembers the focus and whether the panel was up; on activation
// puts the panel back as the window last had it (fSipUp). FALSE for a record without cbSize 12
// and for a first parameter that is not an activation state (the panel is left alone).
BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, PSHACTIVATEINFO info,
                        DWORD flags);
// WM_SETTINGCHANGE with SPI_SETSIPINFO: records the panel's state (while active) and fits the
// window into the area above the panel and the menu bar. TRUE when it handled the change.
BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, PSHACTIVATEINFO info);

// ---- tap-and-hold ----------------------------------------------------------------------------
struct SHRGINFO {
  DWORD cbSize;  // 20
  HWND hwndClient;
  POINT ptDown;  // client coordinates of the press
  DWORD dwFlags;
};
using PSHRGINFO = SHRGINFO*;
static_assert(sizeof(SHRGINFO) == 20);
static_assert(offsetof(SHRGINFO, ptDown) == 8 && offsetof(SHRGINFO, dwFlags) == 16);

constexpr DWORD SHRG_RETURNCMD = 0x01;
constexpr DWORD SHRG_NOTIFYPARENT = 0x02;
constexpr DWORD SHRG_LONGDELAY = 0x08;
constexpr DWORD SHRG_NOANIMATION = 0x10;
constexpr DWORD GN_CONTEXTMENU = 1000;

// Called on a stylus press (from WM_LBUTTONDOWN): waits, handling the thread's other messages,
// until the press is decided. A press held still (within a few pixels, scaled with the DPI) for
// 500 ms on the timers' clock, or made with a mouse's secondary button (MK_RBUTTON), is a
// tap-and-hold: GN_CONTEXTMENU is returned, and without SHRG_RETURNCMD the client is also posted
// WM_CONTEXTMENU (the client, and the press's screen point). A press that moves or lifts first is
// no gesture (0); its messages still reach the client. 0 also for a cbSize other than 20, a client
// that is no window or is destroyed meanwhile, and WM_QUIT (posted again).
DWORD SHRecognizeGesture(PSHRGINFO info);

constexpr DWORD SHDB_SHOW = 0x1;
constexpr DWORD SHDB_HIDE = 0x2;
constexpr DWORD SHDB_SHOWCANCEL = 0x4;
// Accepted and recorded per window; the navigation bar has no Done button to draw yet.
BOOL SHDoneButton(HWND window, DWORD state);
// A top-level window's style bit that asks the navigation bar for no Done button (the bit is
// WS_TABSTOP's, which means nothing on a top-level window).
constexpr DWORD WS_NONAVDONEBUTTON = 0x00010000;

// ---- controls ------------------------------------------------------------------------------
constexpr DWORD ICC_BAR_CLASSES = 0x4;
constexpr DWORD ICC_TAB_CLASSES = 0x8;
constexpr DWORD ICC_UPDOWN_CLASS = 0x10;

struct INITCOMMONCONTROLSEX {
  DWORD dwSize;  // 8
  DWORD dwICC;
};
static_assert(sizeof(INITCOMMONCONTROLSEX) == 8);

// TRUE for a record of size 8; FALSE (ERROR_INVALID_PARAMETER) otherwise.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
// Starts the shell on the calling thread (the navigation bar) if it is not running yet.
BOOL SHInitExtraControls();
// Accepted; the rich-ink control's class is registered by the controls component.
void InitRichInkDLL();
