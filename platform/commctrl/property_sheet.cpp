// PropertySheetW: the sheet window (its record and messages), the pages it makes on first show,
// the notices it gives them, and the modal run with the owner disabled.
//
// Sections: the sheet | notices and page switching | the window | PropertySheetW
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "commctrl/tab_strip.h"
#include "controls/controls.h"
#include "display/display.h"
#include "look/look.h"
#include "pda/commctrl.h"
#include "pda/controls.h"
#include "shell/shell_metrics.h"
#include "user/modal_loop.h"
#include "user/modal_owner.h"
#include "user/window_shape.h"

namespace pda::commctrl {
namespace {

constexpr char16_t kSheetClass[] = u"pda:PropertySheet";

// ---- the sheet -----------------------------------------------------------------------------
struct Page {
  const PROPSHEETPAGEW* description;
  HWND window;  // null until first shown
};

// One running sheet, owned by the PropertySheetW call that waits for it.
struct Sheet {
  std::vector<Page> pages;
  UniqueFont font;
  int barHeight;  // of the header line and of the tab strip
  int current = -1;
  std::optional<INT_PTR> result;
  HWND window;
  HWND tabs;
  HWND headerLine;
};

// Below the header line, above the tab strip while it is shown.
RECT PageArea(const Sheet& sheet) {
  RECT area{};
  GetClientRect(sheet.window, &area);
  area.top = sheet.barHeight;
  if (sheet.tabs && IsWindowVisible(sheet.tabs)) area.bottom -= sheet.barHeight;
  return area;
}

void Place(HWND window, const RECT& r) {
  SetWindowPos(window, HWND{}, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Layout(const Sheet& sheet) {
  RECT client{};
  GetClientRect(sheet.window, &client);
  // The header line's text keeps a little from the screen's edge.
  const int inset = sheet.barHeight / 4;
  if (sheet.headerLine) Place(sheet.headerLine, {inset, 0, client.right, sheet.barHeight});
  if (sheet.tabs)
    Place(sheet.tabs, {0, client.bottom - sheet.barHeight, client.right, client.bottom});
  if (sheet.current >= 0)
    if (const HWND page = sheet.pages[static_cast<std::size_t>(sheet.current)].window)
      Place(page, PageArea(sheet));
}

// ---- notices and page switching ------------------------------------------------------------
// The page's answer (its DWL_MSGRESULT when it handled the notice).
LRESULT Notify(const Sheet& sheet, HWND page, UINT code) {
  PSHNOTIFY notice{{sheet.window, 0, code}, 0};
  return SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
}

void NotifyMade(const Sheet& sheet, UINT code) {
  for (const Page& page : sheet.pages)
    if (page.window && IsWindow(page.window)) Notify(sheet, page.window, code);
}

// A child dialog from the page's template; WM_INITDIALOG gets the page description.
HWND MakePage(const Sheet& sheet, const PROPSHEETPAGEW& description) {
  if (!description.pResource) return HWND{};
  DLGTEMPLATEW child = *description.pResource;
  child.style = (child.style | WS_CHILD | DS_CONTROL) & ~(WS_POPUP | WS_VISIBLE);
  return CreateDialogIndirectParamW(description.hInstance, &child, sheet.window,
                                    description.pfnDlgProc,
                                    reinterpret_cast<LPARAM>(&description));
}

// The current page is asked to be left (it may refuse); the page `index` is made if it never
// was, told it is active, and shown in the page area.
bool ShowPage(Sheet& sheet, int index) {
  if (index < 0 || index >= static_cast<int>(sheet.pages.size())) return false;
  if (index == sheet.current) return true;
  Page* from = sheet.current >= 0 ? &sheet.pages[static_cast<std::size_t>(sheet.current)] : nullptr;
  if (from && Notify(sheet, from->window, PSN_KILLACTIVE) != 0) return false;
  Page& to = sheet.pages[static_cast<std::size_t>(index)];
  if (!to.window) to.window = MakePage(sheet, *to.description);
  if (!to.window) return false;
  sheet.current = index;
  SelectTab(sheet.tabs, index);
  Place(to.window, PageArea(sheet));
  Notify(sheet, to.window, PSN_SETACTIVE);
  if (from) ShowWindow(from->window, SW_HIDE);
  ShowWindow(to.window, SW_SHOW);
  if (IsWindowVisible(sheet.window)) SetFocus(to.window);  // its first tab stop takes it
  return true;
}

// Ok: the current page may refuse to be left; otherwise every page made so far applies.
void Confirm(Sheet& sheet) {
  const HWND page = sheet.pages[static_cast<std::size_t>(sheet.current)].window;
  if (Notify(sheet, page, PSN_KILLACTIVE) != 0) return;
  NotifyMade(sheet, PSN_APPLY);
  sheet.result = 1;
}

void Dismiss(Sheet& sheet) {
  NotifyMade(sheet, PSN_RESET);
  sheet.result = 0;
}

// ---- the window ----------------------------------------------------------------------------
struct SheetWindow {
  static std::unique_ptr<SheetWindow> Create(HWND window, const CREATESTRUCTW& create) {
    auto* sheet = static_cast<Sheet*>(create.lpCreateParams);
    if (!sheet) return nullptr;
    return std::make_unique<SheetWindow>(SheetWindow{window, sheet});
  }
  HWND window;
  Sheet* sheet;
};

LRESULT OnCommand(SheetWindow& w, WPARAM wParam, LPARAM) {
  Sheet& sheet = *w.sheet;
  if (sheet.result || sheet.current < 0) return 0;
  if (LOWORD(wParam) == IDOK) Confirm(sheet);
  else if (LOWORD(wParam) == IDCANCEL) Dismiss(sheet);
  return 0;
}

LRESULT OnClose(SheetWindow& w, WPARAM, LPARAM) {
  if (!w.sheet->result && w.sheet->current >= 0) Dismiss(*w.sheet);
  return 0;
}

LRESULT OnSetCurSel(SheetWindow& w, WPARAM index, LPARAM) {
  if (w.sheet->result) return FALSE;
  return ShowPage(*w.sheet, static_cast<int>(index)) ? TRUE : FALSE;
}

LRESULT OnGetCurrentPage(SheetWindow& w, WPARAM, LPARAM) {
  const Sheet& sheet = *w.sheet;
  if (sheet.current < 0) return 0;
  return static_cast<LRESULT>(sheet.pages[static_cast<std::size_t>(sheet.current)].window.value);
}

LRESULT OnSize(SheetWindow& w, WPARAM, LPARAM) {
  Layout(*w.sheet);
  return 0;
}

// A new screen or input panel: the sheet lays out its own lines and tells every page made.
LRESULT OnSettingChange(SheetWindow& w, WPARAM wParam, LPARAM lParam) {
  Layout(*w.sheet);
  for (const Page& page : w.sheet->pages)
    if (page.window && IsWindow(page.window))
      SendMessageW(page.window, WM_SETTINGCHANGE, wParam, lParam);
  return 0;
}

void Paint(SheetWindow&, HDC dc, const RECT& client) {
  look::Fill(dc, client, look::palette::kWindow);
}

constexpr user::Route<SheetWindow> kRoutes[] = {
    {WM_COMMAND,             OnCommand},
    {WM_CLOSE,               OnClose},
    {PSM_SETCURSEL,          OnSetCurSel},
    {PSM_GETCURRENTPAGEHWND, OnGetCurrentPage},
    {WM_SIZE,                OnSize},
    {WM_SETTINGCHANGE,       OnSettingChange},
    {WM_PAINT,               user::PaintThrough<SheetWindow, Paint>},
};

bool Valid(const PROPSHEETHEADERW* header) {
  return header && (header->dwFlags & PSH_PROPSHEETPAGE) && header->ppsp && header->nPages > 0 &&
         header->nStartPage < header->nPages;
}

std::u16string TitleOf(const PROPSHEETPAGEW& page) {
  return (page.dwFlags & PSP_USETITLE) && page.pszTitle ? page.pszTitle : u"";
}

}  // namespace
}  // namespace pda::commctrl

// ---- PropertySheetW ------------------------------------------------------------------------
INT_PTR PropertySheetW(LPCPROPSHEETHEADERW header) {
  using namespace pda::commctrl;
  using pda::user::DisabledOwner;
  static const bool registered =
      pda::user::RegisterShapedClass<SheetWindow, kRoutes>(kSheetClass) &&
      RegisterTabStripClass() && pda::controls::RegisterControlClasses();
  if (!Valid(header)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (!registered) return -1;
  const PROPSHEETHEADERW& h = *header;
  const auto screen = pda::display::CurrentScreen();
  Sheet sheet;
  for (const PROPSHEETPAGEW& page : std::span(h.ppsp, h.nPages))
    sheet.pages.push_back({&page, HWND{}});
  sheet.font = pda::look::SystemFont(pda::look::PointsToPixels(9, screen.dpi), FW_BOLD);
  sheet.barHeight = pda::look::PointsToPixels(16, screen.dpi);

  const HWND owner = pda::user::TopLevelOf(h.hwndParent);
  DisabledOwner disabled(owner);
  // Maximised: the screen between the navigation bar and the soft-key bar, kept so on rotation.
  pda::UniqueWindow window(CreateWindowExW(0, kSheetClass, h.pszCaption ? h.pszCaption : u"",
                                           WS_POPUP | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                                           HANDLE{}, h.hInstance, &sheet));
  if (!window) return -1;
  sheet.window = window.get();
  RECT placed{};
  GetWindowRect(sheet.window, &placed);
  MoveWindow(sheet.window, placed.left, placed.top, placed.right - placed.left,
             pda::shell::MenuBarRect().top - placed.top, FALSE);

  const auto callback = (h.dwFlags & PSH_USECALLBACK) ? h.pfnCallback : nullptr;
  char16_t title[PSCB_TITLE_CHARS]{};
  if (callback) {
    callback(sheet.window, PSCB_GETVERSION, 0);
    callback(sheet.window, PSCB_GETTITLE, reinterpret_cast<LPARAM>(title));
    title[PSCB_TITLE_CHARS - 1] = u'\0';
  }
  sheet.headerLine = CreateWindowExW(0, WC_STATICW, title, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                     sheet.window, HANDLE{IDC_PROPSHEET_HEADER}, h.hInstance,
                                     nullptr);
  TabStripContent tabs{{}, sheet.font.get()};
  for (const Page& page : sheet.pages) tabs.titles.push_back(TitleOf(*page.description));
  sheet.tabs = CreateWindowExW(0, kTabStripClass, u"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                               sheet.window, HANDLE{IDC_PROPSHEET_TABS}, h.hInstance, &tabs);
  if (!sheet.headerLine || !sheet.tabs) return -1;
  SendMessageW(sheet.headerLine, WM_SETFONT, static_cast<WPARAM>(sheet.font.get().value), FALSE);
  Layout(sheet);
  if (callback) callback(sheet.window, PSCB_INITIALIZED, reinterpret_cast<LPARAM>(header));
  if (!IsWindow(sheet.window)) {
    (void)window.release();
    return -1;
  }
  if (!ShowPage(sheet, static_cast<int>(h.nStartPage))) return -1;

  ShowWindow(sheet.window, SW_SHOW);
  SetForegroundWindow(sheet.window);
  SetFocus(sheet.pages[h.nStartPage].window);
  pda::user::RunModalLoop(sheet.window, [&sheet] { return sheet.result.has_value(); });
  const INT_PTR result = sheet.result.value_or(0);
  // The owner is enabled before the sheet goes, so that activation can return to it.
  disabled.Restore();
  if (!IsWindow(sheet.window)) (void)window.release();
  window.reset();
  if (owner && IsWindow(owner)) SetForegroundWindow(owner);
  return result;
}
