// Dialogs from in-code templates: the dialog class (its record and default handling), creation
// from a template, the dialog-unit mapping and the dialog-item calls.
//
// Sections: the record | default handling | the dialog procedure | creation | modal dialogs |
// item calls
#include <memory>
#include <optional>
#include <span>

#include "look/look.h"
#include "pda/dialogs.h"
#include "user/dialog_units.h"
#include "user/modal_loop.h"
#include "user/modal_owner.h"
#include "user/placement.h"
#include "user/window_shape.h"

namespace pda::user {
namespace {

// The extra bytes: DWLP_MSGRESULT, DWLP_DLGPROC, DWLP_USER, then the record.
constexpr int kStateSlot = DWLP_USER + static_cast<int>(sizeof(LONG_PTR));
constexpr int kExtraBytes = kStateSlot + static_cast<int>(sizeof(LONG_PTR));

// What CreateDialogIndirectParamW hands to the new window (lpCreateParams).
struct DialogCreation {
  DialogFace face;
  DLGPROC procedure;
};

// DS_CENTER: the frame moved to the middle of the parent's client area (of the screen below the
// navigation bar for a dialog without parent).
RECT Centred(RECT frame, HWND parent) {
  RECT area = DefaultTopLevelRect();
  if (parent) GetClientRect(parent, &area);
  const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
  frame.left = area.left + (area.right - area.left - width) / 2;
  frame.top = area.top + (area.bottom - area.top - height) / 2;
  return RECT{frame.left, frame.top, frame.left + width, frame.top + height};
}

// ---- the record ----------------------------------------------------------------------------
struct DialogState {
  static std::unique_ptr<DialogState> Create(HWND window, const CREATESTRUCTW& create) {
    auto* creation = static_cast<DialogCreation*>(create.lpCreateParams);
    if (!creation || !creation->face.font) return nullptr;  // only made through a template
    auto state = std::make_unique<DialogState>();
    state->window = window;
    state->face = creation->face;
    SetWindowLongPtrW(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(creation->procedure));
    return state;
  }

  HWND window;
  DialogFace face{};  // the program keeps the font
  std::optional<INT_PTR> ended;  // EndDialog's result
};

// ---- default handling ----------------------------------------------------------------------
void OnPaint(DialogState&, HDC dc, const RECT& client) {
  look::Fill(dc, client, look::palette::kWindow);
}

LRESULT OnGetFont(DialogState& s, WPARAM, LPARAM) {
  return static_cast<LRESULT>(s.face.font.value);
}

// The dialog itself focused (nothing inside took it): the first tab stop takes it.
LRESULT OnSetFocus(DialogState& s, WPARAM, LPARAM) {
  if (const HWND first = GetNextDlgTabItem(s.window, HWND{}, FALSE)) SetFocus(first);
  return 0;
}

LRESULT OnKeyDown(DialogState& s, WPARAM key, LPARAM lParam) {
  MSG msg{s.window, WM_KEYDOWN, key, lParam, 0, POINT{0, 0}};
  IsDialogMessageW(s.window, &msg);
  return 0;
}

// Closing a dialog is its Cancel command; the dialog procedure decides what that does.
LRESULT OnClose(DialogState& s, WPARAM, LPARAM) {
  PostMessageW(s.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  return 0;
}

constexpr Route<DialogState> kRoutes[] = {
    {WM_PAINT,    PaintThrough<DialogState, OnPaint>},
    {WM_GETFONT,  OnGetFont},
    {WM_SETFOCUS, OnSetFocus},
    {WM_KEYDOWN,  OnKeyDown},
    {WM_CLOSE,    OnClose},
};

// ---- the dialog procedure ------------------------------------------------------------------
// Messages whose result is the dialog procedure's own answer rather than DWL_MSGRESULT.
bool AnswersDirectly(UINT message) {
  return message == WM_INITDIALOG || message == WM_CTLCOLORSTATIC;
}

bool RegisterDialogClass() {
  static const bool registered = [] {
    WNDCLASSW existing{};
    if (GetClassInfoW(HINSTANCE{}, WC_DIALOGW, &existing)) return true;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefDlgProcW;
    wc.cbWndExtra = kExtraBytes;
    wc.lpszClassName = WC_DIALOGW;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

DialogState* StateOf(HWND dialog) { return ShapedState<DialogState, kStateSlot>(dialog); }

}  // namespace
}  // namespace pda::user

using namespace pda::user;  // NOLINT: the C surface below is a thin layer over this namespace

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CREATE) {
    if (auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC))) {
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
      const INT_PTR handled = procedure(dialog, message, wParam, lParam);
      // WM_DESTROY goes on whatever the answer: the record is freed there.
      if (handled && message != WM_DESTROY)
        return AnswersDirectly(message) ? handled : GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
    }
  }
  return ShapedProcedure<DialogState, kRoutes, kStateSlot>(dialog, message, wParam, lParam);
}

// ---- creation ------------------------------------------------------------------------------
HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                DLGPROC dialogProc, LPARAM parameter) {
  if (!dialogTemplate || (dialogTemplate->cdit && !dialogTemplate->items)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return HWND{};
  }
  if (!RegisterDialogClass()) return HWND{};
  const DLGTEMPLATEW& t = *dialogTemplate;
  DialogCreation creation{DialogFont(t.faceName, t.pointSize ? t.pointSize : 9), dialogProc};
  const BaseUnits base = creation.face.base;
  if (!creation.face.font || base.x <= 0 || base.y <= 0) return HWND{};
  const HFONT font = creation.face.font;
  RECT frame = DialogUnitsToPixels(RECT{t.x, t.y, t.x + t.cx, t.y + t.cy}, base);
  if (t.style & DS_CENTER) frame = Centred(frame, (t.style & WS_CHILD) ? parent : HWND{});
  const DWORD exStyle = (t.style & DS_CONTROL) ? WS_EX_CONTROLPARENT : 0;
  pda::UniqueWindow dialog(CreateWindowExW(exStyle, WC_DIALOGW, u"", t.style & ~WS_VISIBLE,
                                           frame.left, frame.top, frame.right - frame.left,
                                           frame.bottom - frame.top, parent, HANDLE{}, instance,
                                           &creation));
  if (!dialog) return HWND{};

  for (const DLGITEMTEMPLATEW& item : std::span(t.items, t.cdit)) {
    const RECT r = DialogUnitsToPixels(
        RECT{item.x, item.y, item.x + item.cx, item.y + item.cy}, base);
    const HWND control = CreateWindowExW(
        0, item.className, item.text ? item.text : u"", item.style | WS_CHILD, r.left, r.top,
        r.right - r.left, r.bottom - r.top, dialog.get(), HANDLE{item.id}, instance, nullptr);
    if (!control) return HWND{};  // the owner destroys the dialog
    SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font.value), FALSE);
  }

  const HWND first = GetNextDlgTabItem(dialog.get(), HWND{}, FALSE);
  const LRESULT wantsFocus =
      SendMessageW(dialog.get(), WM_INITDIALOG, static_cast<WPARAM>(first.value), parameter);
  if (!IsWindow(dialog.get())) {  // the procedure ended it
    (void)dialog.release();
    return HWND{};
  }
  if (t.style & WS_VISIBLE) {
    ShowWindow(dialog.get(), SW_SHOWNA);
    if (wantsFocus && first) SetFocus(first);
  }
  return dialog.release();
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  const DialogState* state = IsWindow(dialog) ? StateOf(dialog) : nullptr;
  if (!state || !rect) {
    SetLastError(state ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = DialogUnitsToPixels(*rect, state->face.base);
  return TRUE;
}

// ---- modal dialogs -------------------------------------------------------------------------
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC dialogProc, LPARAM parameter) {
  if (!dialogTemplate) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  const HWND top = TopLevelOf(owner);
  DisabledOwner disabled(top);
  DLGTEMPLATEW popup = *dialogTemplate;
  popup.style = (popup.style & ~WS_CHILD) | WS_POPUP | WS_VISIBLE;
  const HWND dialog = CreateDialogIndirectParamW(instance, &popup, top, dialogProc, parameter);
  if (!dialog) return -1;
  SetForegroundWindow(dialog);
  RunModalLoop(dialog, [dialog] {
    const DialogState* state = IsWindow(dialog) ? StateOf(dialog) : nullptr;
    return !state || state->ended.has_value();
  });
  const DialogState* state = IsWindow(dialog) ? StateOf(dialog) : nullptr;
  const INT_PTR result = state ? state->ended.value_or(0) : 0;
  // The owner is enabled before the dialog goes, so that activation can return to it.
  disabled.Restore();
  if (IsWindow(dialog)) DestroyWindow(dialog);
  if (top && IsWindow(top)) SetForegroundWindow(top);
  return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  DialogState* state = IsWindow(dialog) ? StateOf(dialog) : nullptr;
  if (!state) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  state->ended = result;
  ShowWindow(dialog, SW_HIDE);
  return TRUE;
}

// ---- item calls ----------------------------------------------------------------------------
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
  const HWND item = GetDlgItem(dialog, id);
  return item ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size) {
  const HWND item = GetDlgItem(dialog, id);
  if (!item) {
    if (buffer && size > 0) buffer[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowTextW(item, buffer, size));
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND item = GetDlgItem(dialog, id);
  return item ? SendMessageW(item, message, wParam, lParam) : 0;
}
