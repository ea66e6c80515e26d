// The SMS settings page: the default phone number, digits only.
#include "settingsdlg/copy_paste_edit.h"
#include "settingsdlg/settings_pages.h"
#include "utils/message_table.h"

namespace {

// What the page's content needs, times the screen width (the layout reset's scroll range).
constexpr double kContentFactor = 0.44;
constexpr int kNumberLimit = SETTINGS_SMS_NUMBER_CHARS - 1;

constexpr DLGITEMTEMPLATEW kItems[] = {
    {WC_STATICW, u"Default phone number to SMS to", IDC_SMS_NUMBER_LABEL,
     WS_VISIBLE | WS_GROUP | SS_LEFT, 5, 5, 109, 8},
    {WC_EDITW, nullptr, IDC_SMS_NUMBER,
     WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_NUMBER, 5, 15, 128, 12},
};

}  // namespace

const DLGTEMPLATEW g_SmsPageTemplate = {PAGE_TEMPLATE_STYLE, 0, 0, 138, 154, u"Tahoma", 9,
                                        kItems, 2};

namespace {

LRESULT OnInitDialog(HWND page, UINT, WPARAM, LPARAM lParam) {
  TakeWorkingSettings(lParam);
  SendDlgItemMessageW(page, IDC_SMS_NUMBER, EM_LIMITTEXT, kNumberLimit, 0);
  SetDlgItemTextW(page, IDC_SMS_NUMBER, g_pWorkingSettings->DefaultSMSphoneNumber);
  InstallCopyPasteEdit(GetDlgItem(page, IDC_SMS_NUMBER), &g_pfnSmsNumberProc, SmsNumberEditProc);
  return TRUE;
}

INT_PTR OnSetActive(HWND page, WPARAM wParam, LPARAM lParam) {
  return PageSetActive(page, wParam, lParam, SMS_PAGE_TITLE);
}

INT_PTR CommitNumber(HWND page, WPARAM, LPARAM) {
  GetDlgItemTextW(page, IDC_SMS_NUMBER, g_pWorkingSettings->DefaultSMSphoneNumber,
                  SETTINGS_SMS_NUMBER_CHARS);
  return TRUE;
}

constexpr NoticeRow kNotices[] = {
    {PSN_SETACTIVE,  OnSetActive},
    {PSN_KILLACTIVE, CommitNumber},
    {PSN_APPLY,      CommitNumber},
    {PSN_RESET,      NoticeTaken},
};

constexpr MessageRow kMessages[] = {
    {WM_INITDIALOG,    OnInitDialog},
    {WM_NOTIFY,        PageNotify<kNotices>},
    {WM_SETTINGCHANGE, PageSettingChange<kContentFactor>},
    {WM_VSCROLL,       PageScroll},
    {WM_DESTROY,       PageDestroy},
};

}  // namespace

INT_PTR SmsPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessageRows(kMessages, hwnd, message, wParam, lParam, NotHandled);
}
