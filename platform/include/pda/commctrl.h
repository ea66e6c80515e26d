// The property sheet: a modal, maximised window that shows one page (a child dialog made from an
// in-code template) at a time, with a tab strip and a header line, and tells the pages through
// WM_NOTIFY when they become visible, are left, and when the sheet is confirmed or dismissed.
#pragma once

#include "pda/dialogs.h"
#include "pda/resources.h"

// ---- page descriptions ---------------------------------------------------------------------
struct PROPSHEETPAGEW;
using LPPROPSHEETPAGEW = PROPSHEETPAGEW*;
using LPCPROPSHEETPAGEW = const PROPSHEETPAGEW*;
using LPFNPSPCALLBACKW = UINT (*)(HWND window, UINT message, LPPROPSHEETPAGEW page);

// A page made elsewhere; the sheet takes its pages only as descriptions (PSH_PROPSHEETPAGE).
struct PropertySheetPageTag;
using HPROPSHEETPAGE = PropertySheetPageTag*;

constexpr DWORD PSP_DEFAULT = 0x0;
constexpr DWORD PSP_DLGINDIRECT = 0x1;
constexpr DWORD PSP_USETITLE = 0x8;
constexpr DWORD PSP_USECALLBACK = 0x80;

// The page's template is always an in-code record (pResource); the platform has no dialog
// resources to name with pszTemplate.
struct PROPSHEETPAGEW {
  DWORD dwSize;
  DWORD dwFlags;
  HINSTANCE hInstance;
  union {
    LPCWSTR pszTemplate;
    LPCDLGTEMPLATEW pResource;
  };
  union {
    HICON hIcon;
    LPCWSTR pszIcon;
  };
  LPCWSTR pszTitle;  // the tab's text with PSP_USETITLE
  DLGPROC pfnDlgProc;
  LPARAM lParam;  // the page's own value; WM_INITDIALOG's lParam is this record
  LPFNPSPCALLBACKW pfnCallback;
  UINT* pcRefParent;
};

// ---- the sheet -----------------------------------------------------------------------------
using PFNPROPSHEETCALLBACK = int (*)(HWND sheet, UINT message, LPARAM lParam);

constexpr DWORD PSH_DEFAULT = 0x0;
constexpr DWORD PSH_PROPSHEETPAGE = 0x8;
constexpr DWORD PSH_NOAPPLYNOW = 0x80;
constexpr DWORD PSH_USECALLBACK = 0x100;
constexpr DWORD PSH_MAXIMIZE = 0x2000;

struct PROPSHEETHEADERW {
  DWORD dwSize;
  DWORD dwFlags;
  HWND hwndParent;  // the owner, disabled while the sheet runs
  HINSTANCE hInstance;
  union {
    HICON hIcon;
    LPCWSTR pszIcon;
  };
  LPCWSTR pszCaption;
  UINT nPages;
  union {
    UINT nStartPage;
    LPCWSTR pStartPage;
  };
  union {
    LPCPROPSHEETPAGEW ppsp;  // with PSH_PROPSHEETPAGE
    HPROPSHEETPAGE* phpage;
  };
  PFNPROPSHEETCALLBACK pfnCallback;  // with PSH_USECALLBACK
};
using LPCPROPSHEETHEADERW = const PROPSHEETHEADERW*;

// The sheet callback's requests, all with the sheet window:
//   PSCB_GETVERSION   answer the wanted version (COMCTL32_VERSION);
//   PSCB_GETTITLE     lParam is a buffer of PSCB_TITLE_CHARS characters for the header line's
//                     first text;
//   PSCB_INITIALIZED  lParam is the header; the tab strip and header line exist, no page yet.
constexpr UINT PSCB_INITIALIZED = 1;
constexpr UINT PSCB_PRECREATE = 2;
constexpr UINT PSCB_GETVERSION = 3;
constexpr UINT PSCB_GETTITLE = 4;
constexpr UINT PSCB_GETLINKTEXT = 5;
constexpr int PSCB_TITLE_CHARS = 256;
constexpr UINT COMCTL32_VERSION = 0x020C;

// The sheet's children: the tab strip (one tab per page, a press shows that page) and the
// header line (a STATIC across the top). The pages lie between them.
constexpr int IDC_PROPSHEET_TABS = 12320;
constexpr int IDC_PROPSHEET_HEADER = 12328;

// ---- notices to the pages ------------------------------------------------------------------
// WM_NOTIFY from the sheet (hwndFrom the sheet, idFrom 0); the page answers through
// DWL_MSGRESULT.
struct PSHNOTIFY {
  NMHDR hdr;
  LPARAM lParam;
};
using LPPSHNOTIFY = PSHNOTIFY*;

constexpr UINT PSN_FIRST = 0U - 200U;
constexpr UINT PSN_SETACTIVE = PSN_FIRST - 0;   // the page has become the visible page
constexpr UINT PSN_KILLACTIVE = PSN_FIRST - 1;  // it is being left; TRUE keeps the sheet on it
constexpr UINT PSN_APPLY = PSN_FIRST - 2;       // Ok: sent to every page made so far
constexpr UINT PSN_RESET = PSN_FIRST - 3;       // Cancel: sent to every page made so far

constexpr LRESULT PSNRET_NOERROR = 0;
constexpr LRESULT PSNRET_INVALID = 1;
constexpr LRESULT PSNRET_INVALID_NOCHANGEPAGE = 2;

// ---- messages to the sheet -----------------------------------------------------------------
// PSM_SETCURSEL: wParam the page index; TRUE when that page is now shown (FALSE when the index is
// out of range, the page could not be made, or the current page refused to be left).
constexpr UINT PSM_SETCURSEL = WM_USER + 101;
// PSM_GETCURRENTPAGEHWND: the shown page's window.
constexpr UINT PSM_GETCURRENTPAGEHWND = WM_USER + 118;
// The sheet's commands (WM_COMMAND): IDOK confirms, IDCANCEL (and WM_CLOSE) dismisses.

// Runs the sheet modally with the owner disabled; the thread's messages (the owner's included)
// are dispatched meanwhile. The sheet fills the screen between the navigation bar and the
// soft-key bar, on rotation too; WM_SETTINGCHANGE re-lays out its lines and is handed on to every
// page made. Returns 1 after Ok, 0 after Cancel or when the sheet window went
// away, -1 when the sheet could not be made (no pages, a start page out of range, a page
// template that fails). A WM_QUIT met in the loop ends the sheet (result 0, no notices) and is
// posted again.
INT_PTR PropertySheetW(LPCPROPSHEETHEADERW header);
