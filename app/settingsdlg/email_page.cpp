// The Email settings page: the default address in a one-line field and the sending account
// chosen from the Account list. With no account (or none to be had) the whole page is disabled
// and the list says why.
//
// Sections: template | initialisation | account list | message routines | the tables
#include <string_view>

#include "settingsdlg/copy_paste_edit.h"
#include "settingsdlg/settings_pages.h"
#include "shell/globals.h"
#include "utils/message_table.h"

namespace {

// What the page's content needs, times the screen width (the layout reset's scroll range).
constexpr double kContentFactor = 0.84;
constexpr int kAddressLimit = SETTINGS_EMAIL_ADDR_CHARS - 1;

// ---- template (dialog units; template order is the tab order) -------------------------------
constexpr DLGITEMTEMPLATEW kItems[] = {
    {WC_STATICW, u"Default email address to send to", IDC_EMAIL_ADDR_LABEL,
     WS_VISIBLE | WS_GROUP | SS_LEFT, 5, 5, 107, 8},
    {WC_STATICW, u"Default email account to use", IDC_EMAIL_ACCOUNT_LABEL, WS_VISIBLE | SS_LEFT,
     5, 34, 94, 8},
    {WC_LISTBOXW, nullptr, IDC_EMAIL_ACCOUNTS,
     WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT |
         LBS_NOINTEGRALHEIGHT,
     5, 45, 128, 29},
    {WC_EDITW, nullptr, IDC_EMAIL_ADDR, WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 5,
     15, 128, 12},
};

}  // namespace

const DLGTEMPLATEW g_EmailPageTemplate = {PAGE_TEMPLATE_STYLE, 0, 0, 138, 154, u"Tahoma", 9,
                                          kItems, 4};

namespace {

// ---- account list ---------------------------------------------------------------------------
// Fills the list from the Account list (count -1: enumeration failed, 0: none) and selects the
// first account, in Account list order, whose name occurs within the stored account.
int FillAccountList(HWND page, int count, const WCHAR (*names)[ACCOUNT_NAME_CHARS]) {
  const HWND list = GetDlgItem(page, IDC_EMAIL_ACCOUNTS);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  if (count == 0) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"No email accounts found."));
    return 0;
  }
  if (count < 0) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Error retreiving accounts"));
    return -1;
  }
  for (int i = 0; i < count; ++i)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
  const std::u16string_view stored = g_pWorkingSettings->DefaultEmailAccount;
  for (int i = 0; i < count; ++i) {
    if (stored.find(names[i]) == std::u16string_view::npos) continue;
    const LRESULT row =
        SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(names[i]));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    break;
  }
  return count;
}

// The tapped row's text becomes the working copy's account; no row selected changes nothing.
void TakeSelectedAccount(HWND page) {
  const HWND list = GetDlgItem(page, IDC_EMAIL_ACCOUNTS);
  const LRESULT row = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (row == LB_ERR) return;
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
  if (length < 0 || length >= SETTINGS_EMAIL_ACCOUNT_CHARS) return;  // never cut a name
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(g_pWorkingSettings->DefaultEmailAccount));
}

// ---- message routines -----------------------------------------------------------------------
LRESULT OnInitDialog(HWND page, UINT, WPARAM, LPARAM lParam) {
  TakeWorkingSettings(lParam);
  SendDlgItemMessageW(page, IDC_EMAIL_ADDR, EM_LIMITTEXT, kAddressLimit, 0);
  SetDlgItemTextW(page, IDC_EMAIL_ADDR, g_pWorkingSettings->wszDefaultEmailAddr);
  FillAccountList(page, g_AccountList.count, g_AccountList.names);
  if (g_AccountList.count < 1) {
    for (const WORD id : {IDC_EMAIL_ADDR_LABEL, IDC_EMAIL_ACCOUNT_LABEL, IDC_EMAIL_ADDR,
                          IDC_EMAIL_ACCOUNTS})
      EnableWindow(GetDlgItem(page, id), FALSE);
  }
  InstallCopyPasteEdit(GetDlgItem(page, IDC_EMAIL_ADDR), &g_pfnEmailAddrProc, EmailAddrEditProc);
  return TRUE;
}

// A row chosen (tapped, even when it was selected already, or moved to with the keys) or double
// tapped. The list's focus notices take nothing: the list gets the focus when the page opens,
// and the shown selection (a name found within the stored one) must not replace it unasked.
LRESULT OnCommand(HWND page, UINT, WPARAM wParam, LPARAM) {
  if (LOWORD(wParam) != IDC_EMAIL_ACCOUNTS) return TRUE;
  const WORD code = HIWORD(wParam);
  if (code == LBN_SELCHANGE || code == LBN_DBLCLK) TakeSelectedAccount(page);
  return FALSE;
}

INT_PTR OnSetActive(HWND page, WPARAM wParam, LPARAM lParam) {
  return PageSetActive(page, wParam, lParam, EMAIL_PAGE_TITLE);
}

INT_PTR CommitAddress(HWND page, WPARAM, LPARAM) {
  GetDlgItemTextW(page, IDC_EMAIL_ADDR, g_pWorkingSettings->wszDefaultEmailAddr,
                  SETTINGS_EMAIL_ADDR_CHARS);
  return TRUE;
}

constexpr NoticeRow kNotices[] = {
    {PSN_SETACTIVE,  OnSetActive},
    {PSN_KILLACTIVE, CommitAddress},
    {PSN_APPLY,      CommitAddress},
    {PSN_RESET,      NoticeTaken},
};

// ---- the table ------------------------------------------------------------------------------
constexpr MessageRow kMessages[] = {
    {WM_INITDIALOG,    OnInitDialog},
    {WM_COMMAND,       OnCommand},
    {WM_NOTIFY,        PageNotify<kNotices>},
    {WM_SETTINGCHANGE, PageSettingChange<kContentFactor>},
    {WM_VSCROLL,       PageScroll},
    {WM_DESTROY,       PageDestroy},
};

}  // namespace

INT_PTR EmailPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessageRows(kMessages, hwnd, message, wParam, lParam, NotHandled);
}
