// The About page: release, description, maker line and web address. The two lowest lines stay
// at the bottom of the visible part of the page and the description centred above them,
// recomputed on every paint.
#include "settings/version.h"
#include "settingsdlg/settings_pages.h"
#include "shell/shell_services.h"
#include "utils/message_table.h"

namespace {

// What the page's content needs, times the screen width (the layout reset's scroll range).
constexpr double kContentFactor = 0.14;
constexpr int kTextChars = 256;
constexpr DWORD kLineStyle = WS_VISIBLE | WS_GROUP | SS_LEFT;
inline constexpr WCHAR kDescription[] =
    u"Acquires your current location using GPS and enables you to share those coordinates with "
    u"others through Email or SMS.";

constexpr DLGITEMTEMPLATEW kItems[] = {
    {WC_STATICW, nullptr, IDC_ABOUT_RELEASE,     kLineStyle, 5,  11, 128, 8},
    {WC_STATICW, nullptr, IDC_ABOUT_DESCRIPTION, kLineStyle, 5,  24, 128, 32},
    {WC_STATICW, nullptr, IDC_ABOUT_MAKER,       kLineStyle, 12, 62, 115, 8},
    {WC_STATICW, nullptr, IDC_ABOUT_WEB,         kLineStyle, 33, 71, 72,  8},
};

}  // namespace

const DLGTEMPLATEW g_AboutPageTemplate = {PAGE_TEMPLATE_STYLE, 0, 0, 138, 154, u"Tahoma", 9,
                                          kItems, 4};

namespace {

void SetLine(HWND page, int id, LPCWSTR format, ...) {
  WCHAR text[kTextChars] = {};
  va_list args;
  va_start(args, format);
  StringCchVPrintfW(text, kTextChars, format, args);
  va_end(args);
  SetDlgItemTextW(page, id, text);
}

RECT ScreenRectOf(HWND page, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(page, id), &r);
  return r;
}

// Moves a line to `top` (page coordinates), keeping its left edge, width and height.
void MoveLineTo(HWND page, int id, int top) {
  const RECT r = ScreenRectOf(page, id);
  POINT left = {r.left, r.top};
  ScreenToClient(page, &left);
  MoveWindow(GetDlgItem(page, id), left.x, top, r.right - r.left, r.bottom - r.top, FALSE);
}

void PlaceLowerLines(HWND page) {
  const PageFrame frame = PageFrameOf(page);
  const int full = frame.full;
  const int panel = InputPanelHeight();
  const RECT web = ScreenRectOf(page, IDC_ABOUT_WEB);
  MoveLineTo(page, IDC_ABOUT_WEB, full - (web.bottom - web.top) - panel - 2);
  const RECT maker = ScreenRectOf(page, IDC_ABOUT_MAKER);
  MoveLineTo(page, IDC_ABOUT_MAKER, full - 2 * ((maker.bottom - maker.top) + 2) - panel);
  const RECT release = ScreenRectOf(page, IDC_ABOUT_RELEASE);
  const RECT makerNow = ScreenRectOf(page, IDC_ABOUT_MAKER);
  const RECT description = ScreenRectOf(page, IDC_ABOUT_DESCRIPTION);
  const int h3 = description.bottom - description.top;
  MoveLineTo(page, IDC_ABOUT_DESCRIPTION,
             (makerNow.top - release.bottom - h3) / 2 + release.bottom - frame.self.top);
}

LRESULT OnInitDialog(HWND page, UINT, WPARAM, LPARAM lParam) {
  TakeWorkingSettings(lParam);
  SetLine(page, IDC_ABOUT_RELEASE, u"Rel. %s.%s  %s", VERSION_RELEASE, VERSION_BUILD,
          VERSION_DATE);
  SetLine(page, IDC_ABOUT_DESCRIPTION, u"%s", kDescription);
  SetLine(page, IDC_ABOUT_MAKER, u"%s", ABOUT_MAKER);
  SetLine(page, IDC_ABOUT_WEB, u"%s", ABOUT_WEB_ADDRESS);
  return TRUE;
}

INT_PTR OnSetActive(HWND page, WPARAM wParam, LPARAM lParam) {
  return PageSetActive(page, wParam, lParam, ABOUT_PAGE_TITLE);
}

constexpr NoticeRow kNotices[] = {
    {PSN_SETACTIVE,  OnSetActive},
    {PSN_KILLACTIVE, NoticeTaken},
    {PSN_APPLY,      NoticeTaken},
    {PSN_RESET,      NoticeTaken},
};

// The lines are placed, then the dialog's default painting draws the page.
LRESULT OnPaint(HWND page, UINT, WPARAM, LPARAM) {
  PlaceLowerLines(page);
  return FALSE;
}

constexpr MessageRow kMessages[] = {
    {WM_INITDIALOG,    OnInitDialog},
    {WM_NOTIFY,        PageNotify<kNotices>},
    {WM_SETTINGCHANGE, PageSettingChange<kContentFactor>},
    {WM_VSCROLL,       PageScroll},
    {WM_PAINT,         OnPaint},
    {WM_DESTROY,       PageDestroy},
};

}  // namespace

INT_PTR AboutPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessageRows(kMessages, hwnd, message, wParam, lParam, NotHandled);
}
