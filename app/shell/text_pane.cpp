#include "shell/text_pane.h"

#include <cstring>

#include "resources/resource_ids.h"
#include "screen/surface.h"

namespace {

constexpr DWORD kPaneStyle = 0x50200844;  // child, visible, vertical scroll bar, multi-line,
                                          // automatic vertical scrolling, read-only
constexpr WPARAM kPaneTextLimit = 65536;

// The guard lives from process start to exit; the font and the control are released by
// TextPaneDestroy when the program ends its run.
struct PaneLifetime {
  PaneLifetime() { InitializeCriticalSection(&g_TextPane.guard); }
  ~PaneLifetime() { DeleteCriticalSection(&g_TextPane.guard); }
};

}  // namespace

TextPane g_TextPane;
static PaneLifetime g_PaneLifetime;

void TextPaneCreate(TextPane* pane, HWND main, HINSTANCE hinst, const CREATESTRUCTW* create) {
  pane->control = CreateWindowExW(0, u"EDIT", nullptr, kPaneStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                  create->cx, create->cy, main,
                                  HANDLE{IDC_TEXT_PANE},  // a child's menu slot holds its id
                                  hinst, nullptr);
  if (!pane->control) return;
  LOGFONTW lf = {};
  lf.lfHeight = IsHighResolution() ? 18 : 14;
  lf.lfWeight = FW_NORMAL;
  lstrcpynW(lf.lfFaceName, u"Courier New", 32);
  pane->font = CreateFontIndirectW(&lf);
  SendMessageW(pane->control, WM_SETFONT, pane->font.value, TRUE);
  SendMessageW(pane->control, EM_LIMITTEXT, kPaneTextLimit, 0);
  ShowWindow(pane->control, SW_HIDE);
}

void TextPaneResize(TextPane* pane, HWND main) {
  EnterCriticalSection(&pane->guard);
  RECT rc;
  GetClientRect(main, &rc);
  if (pane->control)
    MoveWindow(pane->control, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
  LeaveCriticalSection(&pane->guard);
}

bool TextPaneIsShown(TextPane* pane) {
  EnterCriticalSection(&pane->guard);
  const bool shown = pane->control && IsWindowVisible(pane->control);
  LeaveCriticalSection(&pane->guard);
  return shown;
}

void TextPaneToggle(TextPane* pane) {
  EnterCriticalSection(&pane->guard);
  if (pane->control) {
    if (IsWindowVisible(pane->control)) {
      ShowWindow(pane->control, SW_HIDE);
    } else {
      ShowWindow(pane->control, SW_SHOW);
      SendMessageW(pane->control, EM_SCROLLCARET, 0, 0);
    }
  }
  LeaveCriticalSection(&pane->guard);
}

void TextPaneClear(TextPane* pane) {
  if (!TextPaneIsShown(pane)) return;
  EnterCriticalSection(&pane->guard);
  SetWindowTextW(pane->control, u"");
  LeaveCriticalSection(&pane->guard);
}

void TextPaneDestroy(TextPane* pane) {
  if (pane->font) DeleteObject(pane->font);
  if (IsWindow(pane->control)) DestroyWindow(pane->control);
  pane->font = nullptr;
  pane->control = nullptr;
}
