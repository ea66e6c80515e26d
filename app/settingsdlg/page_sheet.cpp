// The settings sheet (see page_sheet.h).
//
// Sections: sheet state | navigation | opening | message routines | command routines | tables
#include "settingsdlg/page_sheet.h"

#include "resources/resource_ids.h"
#include "settingsdlg/settings_pages.h"
#include "settingsdlg/sheet_button.h"
#include "shell/globals.h"
#include "shell/shell_services.h"
#include "utils/message_table.h"

namespace {

// ---- sheet state: one sheet at a time -------------------------------------------------------
struct PageSheetState {
  int result;
  int startPage;
  int currentPage;
  int pageCount;
  WNDPROC pfnPrevProc;
  HWND hwndMenuBar;
  RECT rcSheet;  // screen coordinates, as last read
  int navTop;
  int navLeft;
  int screenWidth;
  int buttonHeight;
  bool firstSize;  // only the process's first sheet uses its first size change
};
PageSheetState g_Sheet = {SHEET_CANCELLED, 0, 0, SHEET_PAGE_COUNT, nullptr, nullptr, {},
                          0, 0, 0, 0, true};

struct PageRow {
  const DLGTEMPLATEW* dialogTemplate;
  DLGPROC procedure;
  LPCWSTR title;
};
const PageRow kPages[SHEET_PAGE_COUNT] = {
    {&g_EmailPageTemplate, EmailPageProc, EMAIL_PAGE_TITLE},
    {&g_SmsPageTemplate,   SmsPageProc,   SMS_PAGE_TITLE},
    {&g_AboutPageTemplate, AboutPageProc, ABOUT_PAGE_TITLE},
};

// ---- navigation: Back and Next along the bottom, above the soft keys ------------------------
// panelAllowance: they sit above the input panel while it is up.
void LayoutNavigation(HWND hwnd, bool panelAllowance) {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  GetWindowRect(hwnd, &g_Sheet.rcSheet);
  g_Sheet.buttonHeight = screenHeight - g_Sheet.rcSheet.bottom;
  g_Sheet.navTop = g_Sheet.rcSheet.bottom - 2 * g_Sheet.buttonHeight;
  if (panelAllowance) g_Sheet.navTop -= InputPanelHeight();
  g_Sheet.navLeft = 0;
  g_Sheet.screenWidth = screenWidth;
}

void MoveNavigation() {
  const int half = g_Sheet.screenWidth / 2;
  SheetButtonMove(&g_BackButton, g_Sheet.navLeft, g_Sheet.navTop, half, g_Sheet.buttonHeight,
                  TRUE);
  SheetButtonMove(&g_NextButton, half, g_Sheet.navTop, half, g_Sheet.buttonHeight, FALSE);
}

HWND CurrentPage(HWND hwnd) {
  return HWND{static_cast<UINT>(SendMessageW(hwnd, PSM_GETCURRENTPAGEHWND, 0, 0))};
}

LRESULT PassOn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(g_Sheet.pfnPrevProc, hwnd, message, wParam, lParam);
}

}  // namespace

// ---- opening --------------------------------------------------------------------------------
int ShowSettingsSheet(HWND hwndOwner, HINSTANCE hinst, SettingsRecord* settings, int startPage) {
  SettingsRecord working;
  working.Clear();
  working.CopyFrom(*settings);

  PROPSHEETPAGEW pages[SHEET_PAGE_COUNT] = {};
  for (int i = 0; i < SHEET_PAGE_COUNT; ++i) {
    pages[i].dwSize = sizeof pages[i];
    pages[i].dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    pages[i].hInstance = hinst;
    pages[i].pResource = kPages[i].dialogTemplate;
    pages[i].pszTitle = kPages[i].title;
    pages[i].pfnDlgProc = kPages[i].procedure;
    pages[i].lParam = reinterpret_cast<LPARAM>(&working);
  }
  g_Sheet.pageCount = SHEET_PAGE_COUNT;
  g_Sheet.startPage = startPage;
  g_Sheet.result = SHEET_CANCELLED;

  PROPSHEETHEADERW header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_MAXIMIZE;
  header.hwndParent = hwndOwner;
  header.hInstance = hinst;
  header.pszCaption = u"Settings";
  header.nPages = SHEET_PAGE_COUNT;
  header.nStartPage = static_cast<UINT>(startPage);
  header.ppsp = pages;
  header.pfnCallback = SettingsSheetCallback;

  SHSipPreference(hwndOwner, SIP_FORCEDOWN);
  if (PropertySheetW(&header) == -1) return SHEET_FAILED;
  if (g_Sheet.result == SHEET_CONFIRMED) settings->CopyFrom(working);
  return g_Sheet.result;
}

int SettingsSheetCallback(HWND hwnd, UINT message, LPARAM lParam) {
  switch (message) {
    case PSCB_INITIALIZED:
      g_Sheet.pfnPrevProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SettingsSheetProc));
      SendMessageW(hwnd, WM_INITDIALOG, 0, 0);
      return 0;
    case PSCB_GETVERSION:
      return SHEET_VERSION;
    case PSCB_GETTITLE:
      StringCchCopyW(reinterpret_cast<LPWSTR>(lParam), PSCB_TITLE_CHARS, u"default header text");
      return 0;
    default:
      return 0;
  }
}

namespace {

// ---- message routines -----------------------------------------------------------------------
LRESULT OnInitDialog(HWND hwnd, UINT, WPARAM, LPARAM) {
  g_Sheet.hwndMenuBar = BuildMenuBar(hwnd, g_hInstance, IDR_SHEET_MENU, true);
  if (!g_Sheet.hwndMenuBar) return 0;
  ShowWindow(GetDlgItem(hwnd, IDC_PROPSHEET_TABS), SW_HIDE);
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if (!(style & WS_NONAVDONEBUTTON))
    SetWindowLongW(hwnd, GWL_STYLE, style | static_cast<LONG>(WS_NONAVDONEBUTTON));
  SHDoneButton(hwnd, SHDB_HIDE);
  SheetButtonBind(&g_BackButton, hwnd, g_hInstance, IDC_SHEET_BACK);
  SheetButtonBind(&g_NextButton, hwnd, g_hInstance, IDC_SHEET_NEXT);
  LayoutNavigation(hwnd, false);
  const int half = g_Sheet.screenWidth / 2;
  SheetButtonCreate(&g_BackButton, u"<< Back", g_Sheet.navLeft, g_Sheet.navTop, half,
                    g_Sheet.buttonHeight, TRUE);
  SheetButtonCreate(&g_NextButton, u"Next >>", half, g_Sheet.navTop, half, g_Sheet.buttonHeight,
                    FALSE);
  g_Sheet.currentPage = g_Sheet.startPage;
  if (g_Sheet.currentPage == 0) EnableWindow(g_BackButton.hwndButton, FALSE);
  if (g_Sheet.currentPage == g_Sheet.pageCount - 1) EnableWindow(g_NextButton.hwndButton, FALSE);
  return 1;
}

LRESULT OnCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

LRESULT OnDrawItem(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (dis->CtlID == IDC_SHEET_BACK) SheetButtonDraw(&g_BackButton, dis);
  if (dis->CtlID == IDC_SHEET_NEXT) SheetButtonDraw(&g_NextButton, dis);
  return PassOn(hwnd, message, wParam, lParam);
}

// A new screen re-places Back and Next (above the input panel when it stays up through the
// turn); a raised or lowered input panel, and activation, also re-lay out the shown page.
LRESULT OnSettingChange(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTINGCHANGE && wParam == SETTINGCHANGE_RESET) {
    LayoutNavigation(hwnd, true);
    MoveNavigation();
    return PassOn(hwnd, message, wParam, lParam);
  }
  HandleActivate(hwnd, wParam, lParam);
  if (const HWND page = CurrentPage(hwnd))
    SendMessageW(page, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, lParam);
  LayoutNavigation(hwnd, true);
  MoveNavigation();
  return 1;
}

LRESULT OnSize(HWND hwnd, UINT, WPARAM, LPARAM lParam) {
  if (g_Sheet.firstSize) {
    if (const HWND page = CurrentPage(hwnd)) {
      g_Sheet.firstSize = false;
      SendMessageW(page, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, lParam);
    }
  }
  return 1;
}

LRESULT OnDestroy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SHSipPreference(g_hWndMain, SIP_FORCEDOWN);
  return PassOn(hwnd, message, wParam, lParam);
}

// ---- command routines -----------------------------------------------------------------------
// Every page made so far (and every other child, which ignores it) is told to apply.
LRESULT OnOk(HWND hwnd, WORD, LPARAM, WORD) {
  PSHNOTIFY notice = {};
  notice.hdr.hwndFrom = hwnd;
  notice.hdr.idFrom = 0;
  notice.hdr.code = PSN_APPLY;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
  g_Sheet.result = SHEET_CONFIRMED;
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  return 0;
}

LRESULT OnCancel(HWND hwnd, WORD, LPARAM, WORD) {
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  return 0;
}

LRESULT OnBack(HWND hwnd, WORD, LPARAM, WORD) {
  if (g_Sheet.currentPage - 1 >= 0) {
    --g_Sheet.currentPage;
    SendMessageW(hwnd, PSM_SETCURSEL, static_cast<WPARAM>(g_Sheet.currentPage), 0);
  }
  if (g_Sheet.currentPage == 0) EnableWindow(g_BackButton.hwndButton, FALSE);
  EnableWindow(g_NextButton.hwndButton, TRUE);
  return 0;
}

LRESULT OnNext(HWND hwnd, WORD, LPARAM, WORD) {
  if (g_Sheet.currentPage + 1 <= g_Sheet.pageCount - 1) {
    ++g_Sheet.currentPage;
    SendMessageW(hwnd, PSM_SETCURSEL, static_cast<WPARAM>(g_Sheet.currentPage), 0);
  }
  if (g_Sheet.currentPage == g_Sheet.pageCount - 1) EnableWindow(g_NextButton.hwndButton, FALSE);
  EnableWindow(g_BackButton.hwndButton, TRUE);
  return 0;
}

// ---- tables ---------------------------------------------------------------------------------
constexpr CommandRow kCommands[] = {
    {IDOK,           OnOk},
    {IDM_OK,         OnOk},
    {IDCANCEL,       OnCancel},
    {IDM_CANCEL,     OnCancel},
    {IDC_SHEET_BACK, OnBack},
    {IDC_SHEET_NEXT, OnNext},
};

LRESULT OnCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DispatchCommandRows(kCommands, hwnd, wParam, lParam);
  return PassOn(hwnd, message, wParam, lParam);
}

constexpr MessageRow kMessages[] = {
    {WM_INITDIALOG,    OnInitDialog},
    {WM_COMMAND,       OnCommand},
    {WM_DRAWITEM,      OnDrawItem},
    {WM_SETTINGCHANGE, OnSettingChange},
    {WM_ACTIVATE,      OnSettingChange},
    {WM_SIZE,          OnSize},
    {WM_DESTROY,       OnDestroy},
};

}  // namespace

LRESULT SettingsSheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessageRows(kMessages, hwnd, message, wParam, lParam, PassOn);
}
