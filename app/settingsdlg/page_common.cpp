// What every settings page does alike (see settings_pages.h).
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "settingsdlg/settings_pages.h"
#include "shell/globals.h"
#include "shell/shell_services.h"

SettingsRecord* g_pWorkingSettings;

namespace {

void ScrollContents(HWND page, int dy) {
  ScrollWindowEx(page, 0, dy, nullptr, nullptr, nullptr, nullptr,
                 SW_SCROLLCHILDREN | SW_INVALIDATE);
}

}  // namespace

PageFrame PageFrameOf(HWND page) {
  PageFrame f;
  GetWindowRect(GetParent(page), &f.sheet);
  GetWindowRect(page, &f.self);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  f.full = f.sheet.bottom - 2 * (screenHeight - f.sheet.bottom) - (f.self.top - f.sheet.top);
  return f;
}

void TakeWorkingSettings(LPARAM lParam) {
  const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
  g_pWorkingSettings = reinterpret_cast<SettingsRecord*>(description->lParam);
}

void SwitchVerticalScroll(HWND hwnd, BOOL on) {
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  SetWindowLongW(hwnd, GWL_STYLE, on ? style | static_cast<LONG>(WS_VSCROLL)
                                     : style & ~static_cast<LONG>(WS_VSCROLL));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

INT_PTR PageLayoutReset(HWND page, double contentFactor) {
  const PageFrame frame = PageFrameOf(page);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int full = frame.full;
  const int height = full - InputPanelHeight();
  MoveWindow(page, 0, frame.self.top - frame.sheet.top, screenWidth, height, FALSE);

  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  if (static_cast<double>(height) < PAGE_SCROLL_THRESHOLD * screenWidth) {
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 0;
    si.nMax = std::abs(static_cast<int>(std::trunc(height - contentFactor * screenWidth)));
    si.nPage = static_cast<UINT>(full / 4);
    SetScrollInfo(page, SB_VERT, &si, TRUE);
  } else {
    si.fMask = SIF_POS;
    GetScrollInfo(page, SB_VERT, &si);
    ScrollContents(page, si.nPos);
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = si.nMax = 0;
    si.nPage = 0;
    SetScrollInfo(page, SB_VERT, &si, FALSE);
    SwitchVerticalScroll(page, FALSE);
  }
  return TRUE;
}

LRESULT PageScroll(HWND page, UINT, WPARAM wParam, LPARAM) {
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(page, SB_VERT, &si);
  const int old = si.nPos;
  const int line = static_cast<int>(si.nPage / 4);
  int position = old;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: position = old - line; break;
    case SB_LINEDOWN: position = old + line; break;
    case SB_PAGEUP: position = old - static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: position = old + static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK: position = si.nTrackPos; break;
    case SB_TOP: position = si.nMin; break;
    case SB_BOTTOM: position = si.nMax; break;
    default: break;
  }
  si.fMask = SIF_POS;
  si.nPos = position;
  SetScrollInfo(page, SB_VERT, &si, TRUE);
  GetScrollInfo(page, SB_VERT, &si);
  if (si.nPos != old) ScrollContents(page, old - si.nPos);
  return FALSE;
}

INT_PTR PageSetActive(HWND page, WPARAM wParam, LPARAM lParam, LPCWSTR title) {
  HandleActivate(page, wParam, lParam);
  PostMessageW(page, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, lParam);
  WCHAR text[PAGE_TITLE_CHARS];
  std::memset(text, 0, sizeof text);
  StringCchPrintfW(text, PAGE_TITLE_CHARS, u"%s", title);
  SetWindowTextW(GetDlgItem(GetParent(page), IDC_PROPSHEET_HEADER), text);
  SHSipPreference(page, SIP_FORCEDOWN);
  return TRUE;
}

LRESULT PageDestroy(HWND, UINT, WPARAM, LPARAM) {
  SHSipPreference(g_hWndMain, SIP_FORCEDOWN);
  return TRUE;
}
