#include "shell/shell_services.h"

#include <cstring>

#include "resources/resource_ids.h"
#include "screen/surface.h"
#include "shell/main_window.h"

namespace {

constexpr DWORD kMenuFromResource = SHCMBF_HMENU;
constexpr DWORD kMenuFromResourceNoSip = SHCMBF_HMENU | SHCMBF_HIDESIPBUTTON;

// Lives from the add at start-up to the delete at shutdown, which uses it again.
NOTIFYICONDATA g_NotifyIcon;

}  // namespace

HWND BuildMenuBar(HWND owner, HINSTANCE hinst, UINT menuId, bool showInputPanelButton) {
  INITCOMMONCONTROLSEX icc = {sizeof(INITCOMMONCONTROLSEX),
                              ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  if (!InitCommonControlsEx(&icc)) return nullptr;
  if (menuId == IDR_MAIN_MENU) SHSipPreference(owner, SIP_FORCEDOWN);

  SHMENUBARINFO mbi = {};
  mbi.cbSize = sizeof mbi;
  mbi.hwndParent = owner;
  mbi.dwFlags = showInputPanelButton ? kMenuFromResource : kMenuFromResourceNoSip;
  mbi.nToolBarId = menuId;
  mbi.hInstRes = hinst;
  if (!SHCreateMenuBar(&mbi)) return nullptr;
  return mbi.hwndMB;
}

void AddNotifyIcon(HWND owner, HINSTANCE hinst) {
  const bool highRes = IsHighResolution();
  const WORD id = highRes ? IDI_NOTIFY_HIGHRES : IDI_NOTIFY;
  const int size = highRes ? 64 : 16;
  g_NotifyIcon = NOTIFYICONDATA{};
  g_NotifyIcon.cbSize = sizeof g_NotifyIcon;
  g_NotifyIcon.hWnd = owner;
  g_NotifyIcon.uID = id;
  g_NotifyIcon.uFlags = NIF_MESSAGE | NIF_ICON;
  g_NotifyIcon.uCallbackMessage = WM_NOTIFY_ICON;
  g_NotifyIcon.hIcon = static_cast<HICON>(LoadImageW(hinst, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
  Shell_NotifyIcon(NIM_ADD, &g_NotifyIcon);
}

void DeleteNotifyIcon() { Shell_NotifyIcon(NIM_DELETE, &g_NotifyIcon); }

LRESULT HandleActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  SHACTIVATEINFO sai = {};
  sai.cbSize = sizeof sai;
  SHHandleWMActivate(hwnd, wParam, lParam, &sai, 0);
  return 0;
}

int InputPanelHeight() {
  SIPINFO sip = {};
  sip.cbSize = SIPINFO_PUBLISHED_SIZE;
  if (!SipGetInfo(&sip) || !(sip.fdwFlags & SIPF_ON)) return 0;
  return sip.rcSipRect.bottom - sip.rcSipRect.top;
}
