// The settings sheet's three pages (Email settings, SMS settings, About) and what every page
// does alike: the layout reset that fits the page above the soft keys and the input panel and
// scrolls it when the screen is short, its own scrolling, and its activation.
#pragma once

#include <pda.h>

#include "settings/settings_record.h"

// Dialog templates.
constexpr WORD IDD_EMAIL_PAGE = 11000;
constexpr WORD IDD_SMS_PAGE = 12000;
constexpr WORD IDD_ABOUT_PAGE = 20000;

// Controls.
constexpr WORD IDC_EMAIL_ADDR = 11010;
constexpr WORD IDC_EMAIL_ADDR_LABEL = 11020;
constexpr WORD IDC_EMAIL_ACCOUNT_LABEL = 11030;
constexpr WORD IDC_EMAIL_ACCOUNTS = 11040;
constexpr WORD IDC_SMS_NUMBER_LABEL = 12010;
constexpr WORD IDC_SMS_NUMBER = 12020;
constexpr WORD IDC_ABOUT_RELEASE = 20002;
constexpr WORD IDC_ABOUT_DESCRIPTION = 20003;
constexpr WORD IDC_ABOUT_MAKER = 20004;
constexpr WORD IDC_ABOUT_WEB = 20005;

// Every page's template: a child dialog without caption, visible, with a border, centred,
// "Tahoma" 9 point, 138 x 154 dialog units.
constexpr DWORD PAGE_TEMPLATE_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | DS_CENTER | DS_SETFONT;

// What a page's height is compared with (times the screen width) to decide on scrolling.
constexpr double PAGE_SCROLL_THRESHOLD = 0.44;
constexpr int PAGE_TITLE_CHARS = 128;

// Page titles: each page's caption given to the sheet, and the header line while it is shown.
inline constexpr WCHAR EMAIL_PAGE_TITLE[] = u"Email Settings";
inline constexpr WCHAR SMS_PAGE_TITLE[] = u"SMS Settings";
inline constexpr WCHAR ABOUT_PAGE_TITLE[] = u"About...";

// The sheet's working copy of the Settings record; each page sets it when it is created.
extern SettingsRecord* g_pWorkingSettings;

extern const DLGTEMPLATEW g_EmailPageTemplate;
extern const DLGTEMPLATEW g_SmsPageTemplate;
extern const DLGTEMPLATEW g_AboutPageTemplate;

INT_PTR EmailPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR SmsPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR AboutPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---- what every page does -------------------------------------------------------------------
// Where a page stands: the sheet's and the page's rectangles on the screen, and the page's visible
// height before the input panel is taken off (the sheet's bottom less the soft-key strip and the
// Back/Next strip, less the page's offset below the sheet's top).
struct PageFrame {
  RECT sheet;
  RECT self;
  int full;
};
PageFrame PageFrameOf(HWND page);
// The working copy's address, from WM_INITDIALOG's page description.
void TakeWorkingSettings(LPARAM lParam);
// Layout reset (WM_SETTINGCHANGE with SETTINGCHANGE_RESET): answers TRUE.
INT_PTR PageLayoutReset(HWND page, double contentFactor);
// The row of WM_SETTINGCHANGE: the layout reset with the page's content factor; other changes
// are not handled.
template <const double& ContentFactor>
LRESULT PageSettingChange(HWND page, UINT, WPARAM wParam, LPARAM) {
  return wParam == SETTINGCHANGE_RESET ? PageLayoutReset(page, ContentFactor) : FALSE;
}
// WM_VSCROLL from the page's own bar: answers FALSE.
LRESULT PageScroll(HWND page, UINT, WPARAM wParam, LPARAM);
// PSN_SETACTIVE: answers TRUE.
INT_PTR PageSetActive(HWND page, WPARAM wParam, LPARAM lParam, LPCWSTR title);
// WM_DESTROY: answers TRUE.
LRESULT PageDestroy(HWND page, UINT, WPARAM, LPARAM);
// Sets or clears WS_VSCROLL and has the frame recomputed in place.
void SwitchVerticalScroll(HWND hwnd, BOOL on);

// A page's notices: {code, routine} rows; a code without a row is not handled.
struct NoticeRow {
  UINT code;
  INT_PTR (*routine)(HWND, WPARAM, LPARAM);
};

template <std::size_t N>
INT_PTR DispatchNoticeRows(const NoticeRow (&rows)[N], HWND hwnd, WPARAM wParam, LPARAM lParam) {
  const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
  for (const NoticeRow& row : rows)
    if (row.code == code) return row.routine(hwnd, wParam, lParam);
  return FALSE;
}

// The row of WM_NOTIFY for a page's notice table.
template <const auto& Rows>
LRESULT PageNotify(HWND page, UINT, WPARAM wParam, LPARAM lParam) {
  return DispatchNoticeRows(Rows, page, wParam, lParam);
}

// The answer of notices a page takes without doing anything.
inline INT_PTR NoticeTaken(HWND, WPARAM, LPARAM) { return TRUE; }
