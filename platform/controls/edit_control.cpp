// The EDIT control's window: one OnXxx routine per message, found in one table; the state record
// lives from WM_CREATE to WM_DESTROY (user/window_shape.h).
//
// Sections: state access and notices | text | selection and scrolling | typing | clipboard |
//           focus, size, font, stylus | the table | registration
#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "controls/controls.h"
#include "controls/edit_state.h"
#include "pda/clipboard.h"
#include "pda/dialogs.h"
#include "user/window_class.h"
#include "user/window_shape.h"

namespace pda::controls {
namespace {

// Scroll codes of WM_VSCROLL and EM_SCROLL.
constexpr WPARAM kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumbPosition = 4,
                 kThumbTrack = 5, kTop = 6, kBottom = 7;

// ---- state access and notices --------------------------------------------------------------
void Notify(const EditState& s, WORD code) {
  const HWND parent = GetParent(s.window);
  if (!parent) return;
  SendMessageW(parent, WM_COMMAND,
               MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(s.window)), code),
               static_cast<LPARAM>(s.window.value));
}

void Redraw(const EditState& s) { InvalidateRect(s.window, nullptr, FALSE); }

// After an edit that left the view where it was: only the rows of the lines measured again, or
// from the first of them down (and the scroll bar) when the number of lines changed.
void RedrawEdited(const EditState& s, const Rewrapped& changed, std::size_t linesBefore) {
  const int lineHeight = std::max(s.measure.LineHeight(), 1);
  const bool sameCount = s.lines.size() == linesBefore;
  const int top = (static_cast<int>(changed.first) - s.firstLine) * lineHeight;
  const int bottom = sameCount ? (static_cast<int>(changed.newEnd) - s.firstLine) * lineHeight
                               : s.height;
  const RECT bar = ScrollBarArea(s);
  const int right = bar.right > bar.left && sameCount ? bar.left : s.width;
  const RECT rows{0, std::max(top, 0), right, std::min(bottom, s.height)};
  if (rows.bottom > rows.top) InvalidateRect(s.window, &rows, FALSE);
  if (!sameCount && bar.right > bar.left) InvalidateRect(s.window, &bar, FALSE);
}

// After the caret moved or the text changed: lines again, caret in view where the style asks.
void Changed(EditState& s, bool textChanged) {
  const int firstBefore = s.firstLine;
  const int scrollXBefore = s.scrollX;
  const std::size_t linesBefore = s.lines.size();
  std::optional<Rewrapped> changed;
  if (textChanged) changed = RelayoutAfterEdit(s);
  const bool follow = s.multiLine() ? (s.style & ES_AUTOVSCROLL) != 0 || !s.wraps() : true;
  if (follow) ScrollCaretIntoView(s);
  if (changed && s.multiLine() && s.firstLine == firstBefore && s.scrollX == scrollXBefore)
    RedrawEdited(s, *changed, linesBefore);
  else
    Redraw(s);
  if (textChanged) Notify(s, EN_CHANGE);
}

// Inserts text at the selection as the user would: the limit applies (EN_MAXTEXT and a beep
// when it cuts); a single-line control without ES_AUTOHSCROLL takes only what fits its width.
bool InsertAsUser(EditState& s, std::u16string_view text) {
  if (!s.multiLine() && !(s.style & ES_AUTOHSCROLL)) {
    const RECT area = TextArea(s);
    EditBuffer trial = s.buffer;
    trial.ReplaceSelection(text, true);
    std::vector<int> advances;
    s.measure.Advances(trial.text(), advances);
    if (!advances.empty() && advances.back() > area.right - area.left) {
      MessageBeep(0);
      return false;
    }
  }
  const auto replaced = s.buffer.ReplaceSelection(text, true);
  if (replaced.cut) {
    MessageBeep(0);
    Notify(s, EN_MAXTEXT);
  }
  Changed(s, true);
  return replaced.inserted > 0;
}

// ---- text ----------------------------------------------------------------------------------
LRESULT OnSetText(EditState& s, WPARAM, LPARAM lParam) {
  const auto* text = reinterpret_cast<LPCWSTR>(lParam);
  s.buffer.SetText(text ? std::u16string_view(text) : std::u16string_view());
  s.buffer.setModified(false);
  s.firstLine = 0;
  s.scrollX = 0;
  Relayout(s);
  Redraw(s);
  Notify(s, EN_CHANGE);
  return TRUE;
}

LRESULT OnGetText(EditState& s, WPARAM size, LPARAM lParam) {
  auto* buffer = reinterpret_cast<LPWSTR>(lParam);
  if (!buffer || size == 0) return 0;
  const std::size_t count = std::min<std::size_t>(s.buffer.text().size(), size - 1);
  std::copy_n(s.buffer.text().data(), count, buffer);
  buffer[count] = 0;
  return static_cast<LRESULT>(count);
}

LRESULT OnGetTextLength(EditState& s, WPARAM, LPARAM) {
  return static_cast<LRESULT>(s.buffer.text().size());
}

LRESULT OnLimitText(EditState& s, WPARAM limit, LPARAM) {
  s.buffer.SetLimit(limit);
  return 0;
}

LRESULT OnGetLimitText(EditState& s, WPARAM, LPARAM) {
  return static_cast<LRESULT>(s.buffer.limit());
}

LRESULT OnReplaceSel(EditState& s, WPARAM, LPARAM lParam) {
  const auto* text = reinterpret_cast<LPCWSTR>(lParam);
  InsertAsUser(s, text ? std::u16string_view(text) : std::u16string_view());
  return 0;
}

LRESULT OnGetModify(EditState& s, WPARAM, LPARAM) { return s.buffer.modified() ? TRUE : FALSE; }
LRESULT OnSetModify(EditState& s, WPARAM flag, LPARAM) {
  s.buffer.setModified(flag != 0);
  return 0;
}

LRESULT OnSetReadOnly(EditState& s, WPARAM flag, LPARAM) {
  s.style = flag ? (s.style | ES_READONLY) : (s.style & ~ES_READONLY);
  SetWindowLongW(s.window, GWL_STYLE, static_cast<LONG>(
                     flag ? (GetWindowLongW(s.window, GWL_STYLE) | static_cast<LONG>(ES_READONLY))
                          : (GetWindowLongW(s.window, GWL_STYLE) & ~static_cast<LONG>(ES_READONLY))));
  Redraw(s);
  return TRUE;
}

// ---- selection and scrolling ---------------------------------------------------------------
LRESULT OnGetSel(EditState& s, WPARAM wParam, LPARAM lParam) {
  const auto start = static_cast<DWORD>(s.buffer.selectionStart());
  const auto end = static_cast<DWORD>(s.buffer.selectionEnd());
  if (auto* out = reinterpret_cast<DWORD*>(wParam)) *out = start;
  if (auto* out = reinterpret_cast<DWORD*>(lParam)) *out = end;
  return static_cast<LRESULT>(MAKELPARAM(static_cast<WORD>(start), static_cast<WORD>(end)));
}

// EM_SETSEL: start -1 drops the selection; end -1 (or past the text) means the end of the text.
LRESULT OnSetSel(EditState& s, WPARAM start, LPARAM end) {
  const std::size_t length = s.buffer.text().size();
  if (static_cast<LPARAM>(start) == -1) {
    s.buffer.MoveCaret(s.buffer.caret(), false);
  } else {
    const std::size_t to = end < 0 ? length : static_cast<std::size_t>(end);
    s.buffer.Select(static_cast<std::size_t>(start), to);
  }
  if (!s.multiLine()) ScrollCaretIntoView(s);  // a multi-line control waits for EM_SCROLLCARET
  Redraw(s);
  return 0;
}

LRESULT OnScrollCaret(EditState& s, WPARAM, LPARAM) {
  ScrollCaretIntoView(s);
  Redraw(s);
  return TRUE;
}

LRESULT OnLineScroll(EditState& s, WPARAM columns, LPARAM lines) {
  if (!s.multiLine()) return FALSE;
  ScrollLines(s, static_cast<int>(lines));
  if (!s.wraps())
    s.scrollX = std::max(0, s.scrollX + static_cast<int>(static_cast<LPARAM>(columns)) *
                                            s.measure.AverageCharWidth());
  Redraw(s);
  return TRUE;
}

int ScrollBy(EditState& s, WPARAM code, int thumb) {
  switch (code) {
    case kLineUp: return ScrollLines(s, -1);
    case kLineDown: return ScrollLines(s, 1);
    case kPageUp: return ScrollLines(s, -VisibleLines(s));
    case kPageDown: return ScrollLines(s, VisibleLines(s));
    case kTop: return ScrollLines(s, -s.firstLine);
    case kBottom: return ScrollLines(s, MaxFirstLine(s) - s.firstLine);
    case kThumbPosition:
    case kThumbTrack: return ScrollLines(s, thumb - s.firstLine);
    default: return 0;
  }
}

LRESULT OnScroll(EditState& s, WPARAM code, LPARAM) {
  if (!s.multiLine()) return FALSE;
  const int moved = ScrollBy(s, code, 0);
  Redraw(s);
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(moved)), TRUE);
}

LRESULT OnVScroll(EditState& s, WPARAM wParam, LPARAM) {
  ScrollBy(s, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)));
  Redraw(s);
  return 0;
}

LRESULT OnGetLineCount(EditState& s, WPARAM, LPARAM) {
  return static_cast<LRESULT>(s.lines.size());
}
LRESULT OnGetFirstVisibleLine(EditState& s, WPARAM, LPARAM) {
  return s.multiLine() ? s.firstLine : 0;
}

std::size_t LineArgument(const EditState& s, WPARAM line) {
  return static_cast<LPARAM>(line) == -1 ? LineOfPosition(s.lines, s.buffer.caret())
                                         : static_cast<std::size_t>(line);
}

LRESULT OnLineFromChar(EditState& s, WPARAM position, LPARAM) {
  const std::size_t at = static_cast<LPARAM>(position) == -1 ? s.buffer.caret() : position;
  return static_cast<LRESULT>(LineOfPosition(s.lines, at));
}

LRESULT OnLineIndex(EditState& s, WPARAM line, LPARAM) {
  const std::size_t index = LineArgument(s, line);
  return index < s.lines.size() ? static_cast<LRESULT>(s.lines[index].start) : -1;
}

LRESULT OnLineLength(EditState& s, WPARAM position, LPARAM) {
  const std::size_t at = static_cast<LPARAM>(position) == -1 ? s.buffer.caret() : position;
  const TextLine& line = s.lines[LineOfPosition(s.lines, at)];
  return static_cast<LRESULT>(line.end - line.start);
}

// ---- clipboard -----------------------------------------------------------------------------
LRESULT OnCopy(EditState& s, WPARAM, LPARAM) {
  if (!s.buffer.hasSelection()) return 0;
  const std::u16string_view text = s.buffer.selectedText();
  if (!OpenClipboard(s.window)) return 0;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  if (auto* chars = static_cast<char16_t*>(block ? GlobalLock(block) : nullptr)) {
    std::copy(text.begin(), text.end(), chars);
    chars[text.size()] = u'\0';
    GlobalUnlock(block);
    if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
  }
  CloseClipboard();
  return 0;
}

LRESULT OnClear(EditState& s, WPARAM, LPARAM) {
  if (s.readOnly() || !s.buffer.hasSelection()) return 0;
  s.buffer.DeleteBackward();
  Changed(s, true);
  return 0;
}

LRESULT OnCut(EditState& s, WPARAM wParam, LPARAM lParam) {
  if (s.readOnly()) return 0;
  OnCopy(s, wParam, lParam);
  return OnClear(s, wParam, lParam);
}

// The clipboard's text; a single-line control takes it up to the first line break.
LRESULT OnPaste(EditState& s, WPARAM, LPARAM) {
  if (s.readOnly() || !OpenClipboard(s.window)) return 0;
  std::u16string text;
  if (HGLOBAL block = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const char16_t*>(GlobalLock(block))) {
      text = chars;
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  if (!s.multiLine()) text.resize(std::min(text.find_first_of(u"\r\n"), text.size()));
  if (!text.empty()) InsertAsUser(s, text);
  return 0;
}

// ---- typing --------------------------------------------------------------------------------
bool Accepts(const EditState& s, char16_t c) {
  if (s.readOnly()) return false;
  if ((s.style & ES_NUMBER) && (c < u'0' || c > u'9')) return false;
  if (c == u'\t') return s.multiLine();
  return c >= 0x20;
}

LRESULT OnChar(EditState& s, WPARAM wParam, LPARAM lParam) {
  const auto c = static_cast<char16_t>(wParam);
  switch (c) {
    case 0x01: s.buffer.Select(0, s.buffer.text().size()); Redraw(s); return 0;  // Ctrl+A
    case 0x03: return OnCopy(s, 0, lParam);                                        // Ctrl+C
    case 0x16: return OnPaste(s, 0, lParam);                                       // Ctrl+V
    case 0x18: return OnCut(s, 0, lParam);                                         // Ctrl+X
    case 0x08:
      if (s.readOnly()) break;
      if (s.buffer.DeleteBackward()) Changed(s, true);
      return 0;
    case u'\r':
      if (!s.multiLine() || s.readOnly()) break;
      InsertAsUser(s, u"\r\n");
      return 0;
    default:
      if (!Accepts(s, c)) break;
      InsertAsUser(s, std::u16string_view(&c, 1));
      return 0;
  }
  MessageBeep(0);  // refused
  return 0;
}

LRESULT OnKeyDown(EditState& s, WPARAM key, LPARAM) {
  const bool extend = GetKeyState(VK_SHIFT) < 0;
  const std::size_t caret = s.buffer.caret();
  const std::size_t line = LineOfPosition(s.lines, caret);
  switch (static_cast<int>(key)) {
    case VK_LEFT: s.buffer.MoveCaret(s.buffer.PreviousPosition(caret), extend); break;
    case VK_RIGHT: s.buffer.MoveCaret(s.buffer.NextPosition(caret), extend); break;
    case VK_HOME: s.buffer.MoveCaret(s.lines[line].start, extend); break;
    case VK_END: s.buffer.MoveCaret(s.lines[line].end, extend); break;
    case VK_UP:
    case VK_DOWN: {
      if (!s.multiLine()) return 0;
      const bool up = key == static_cast<WPARAM>(VK_UP);
      if ((up && line == 0) || (!up && line + 1 >= s.lines.size())) return 0;
      const int x = XOfPosition(s.buffer.text(), s.lines[line], caret, s.measure);
      const TextLine& target = s.lines[up ? line - 1 : line + 1];
      s.buffer.MoveCaret(PositionAtX(s.buffer.text(), target, x, s.measure), extend);
      break;
    }
    case VK_DELETE:
      if (s.readOnly()) return 0;
      if (s.buffer.DeleteForward()) Changed(s, true);
      return 0;
    default: return 0;
  }
  Changed(s, false);
  return 0;
}

// ---- focus, size, font, stylus -------------------------------------------------------------
LRESULT OnSetFocus(EditState& s, WPARAM, LPARAM) {
  s.focused = true;
  Redraw(s);
  Notify(s, EN_SETFOCUS);
  return 0;
}

LRESULT OnKillFocus(EditState& s, WPARAM, LPARAM) {
  s.focused = false;
  Redraw(s);
  Notify(s, EN_KILLFOCUS);
  return 0;
}

LRESULT OnSize(EditState& s, WPARAM, LPARAM size) {
  s.width = LOWORD(static_cast<std::uintptr_t>(size));
  s.height = HIWORD(static_cast<std::uintptr_t>(size));
  Relayout(s);
  Redraw(s);
  return 0;
}

LRESULT OnSetFont(EditState& s, WPARAM font, LPARAM redraw) {
  s.font = HFONT{static_cast<std::uint32_t>(font)};
  s.measure.SetFont(s.font);
  Relayout(s);
  if (redraw) Redraw(s);
  return 0;
}

LRESULT OnGetFont(EditState& s, WPARAM, LPARAM) { return static_cast<LRESULT>(s.font.value); }

// A tap in the text places the caret; on the scroll bar it pages towards the tap. A press that
// is already over when it arrives (passed on after a tap-and-hold menu took its release) only
// places the caret: a drag begun then would hold the stylus until some later release.
LRESULT OnButtonDown(EditState& s, WPARAM buttons, LPARAM point) {
  const auto [x, y] = user::StylusPoint(point);
  if (GetFocus() != s.window) SetFocus(s.window);
  const RECT bar = ScrollBarArea(s);
  if (bar.right > bar.left && x >= bar.left) {
    const int lineHeight = std::max(s.measure.LineHeight(), 1);
    const int thumbCentre = s.height * (2 * s.firstLine + VisibleLines(s)) /
                            std::max(2 * static_cast<int>(s.lines.size()), 1);
    ScrollBy(s, y < thumbCentre - lineHeight ? kPageUp : kPageDown, 0);
    Redraw(s);
    return 0;
  }
  s.buffer.MoveCaret(PositionAt(s, x, y), GetKeyState(VK_SHIFT) < 0);
  const bool lifted = (buttons & MK_LBUTTON) && GetKeyState(VK_LBUTTON) >= 0;
  if (!lifted) {
    s.selecting = true;
    SetCapture(s.window);
  }
  Changed(s, false);
  return 0;
}

// A drag from the press selects from where it went down to the stylus (above or below the text,
// the view follows it line by line).
LRESULT OnButtonMove(EditState& s, WPARAM, LPARAM point) {
  if (!s.selecting) return 0;
  const auto [x, y] = user::StylusPoint(point);
  const std::size_t before = s.buffer.caret();
  s.buffer.MoveCaret(PositionAt(s, x, y), true);
  if (s.buffer.caret() != before) Changed(s, false);
  return 0;
}

LRESULT OnButtonUp(EditState& s, WPARAM, LPARAM) {
  if (!s.selecting) return 0;
  s.selecting = false;
  if (GetCapture() == s.window) ReleaseCapture();
  return 0;
}

// Another window took the stylus (a popup menu opened by a tap-and-hold): the drag is over.
LRESULT OnCaptureChanged(EditState& s, WPARAM, LPARAM) {
  s.selecting = false;
  return 0;
}

void OnPaint(EditState& s, HDC dc, const RECT&) { PaintEdit(dc, s); }

// ---- the table -----------------------------------------------------------------------------
constexpr user::Route<EditState> kRoutes[] = {
    {WM_SETTEXT,             OnSetText},
    {WM_GETTEXT,             OnGetText},
    {WM_GETTEXTLENGTH,       OnGetTextLength},
    {EM_LIMITTEXT,           OnLimitText},
    {EM_GETLIMITTEXT,        OnGetLimitText},
    {EM_REPLACESEL,          OnReplaceSel},
    {EM_GETMODIFY,           OnGetModify},
    {EM_SETMODIFY,           OnSetModify},
    {EM_SETREADONLY,         OnSetReadOnly},
    {EM_GETSEL,              OnGetSel},
    {EM_SETSEL,              OnSetSel},
    {EM_SCROLLCARET,         OnScrollCaret},
    {EM_LINESCROLL,          OnLineScroll},
    {EM_SCROLL,              OnScroll},
    {WM_VSCROLL,             OnVScroll},
    {EM_GETLINECOUNT,        OnGetLineCount},
    {EM_GETFIRSTVISIBLELINE, OnGetFirstVisibleLine},
    {EM_LINEFROMCHAR,        OnLineFromChar},
    {EM_LINEINDEX,           OnLineIndex},
    {EM_LINELENGTH,          OnLineLength},
    {WM_COPY,                OnCopy},
    {WM_CUT,                 OnCut},
    {WM_PASTE,               OnPaste},
    {WM_CLEAR,               OnClear},
    {WM_CHAR,                OnChar},
    {WM_KEYDOWN,             OnKeyDown},
    {WM_SETFOCUS,            OnSetFocus},
    {WM_KILLFOCUS,           OnKillFocus},
    {WM_SIZE,                OnSize},
    {WM_SETFONT,             OnSetFont},
    {WM_GETFONT,             OnGetFont},
    {WM_LBUTTONDOWN,         OnButtonDown},
    {WM_MOUSEMOVE,           OnButtonMove},
    {WM_LBUTTONUP,           OnButtonUp},
    {WM_CAPTURECHANGED,      OnCaptureChanged},
    {WM_PAINT,               user::PaintThrough<EditState, OnPaint>},
};

}  // namespace

std::unique_ptr<EditState> EditState::Create(HWND window, const CREATESTRUCTW& create) {
  auto state = std::make_unique<EditState>();
  if (!state->measure.valid()) return nullptr;
  state->window = window;
  state->style = static_cast<DWORD>(create.style);
  state->width = create.cx;
  state->height = create.cy;
  if (create.lpszName && !IS_INTRESOURCE(create.lpszName)) state->buffer.SetText(create.lpszName);
  Relayout(*state);
  return state;
}

LRESULT EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return user::ShapedProcedure<EditState, kRoutes>(window, message, wParam, lParam);
}

// ---- registration --------------------------------------------------------------------------
bool RegisterControlClasses() {
  static const bool registered =
      user::RegisterShapedClass<EditState, kRoutes>(WC_EDITW,
                                                    CS_DBLCLKS | user::kClassDrawsOwnScrollBar) &&
      RegisterRichInkClass() && RegisterStaticClass() && RegisterButtonClass() &&
      RegisterListBoxClass();
  return registered;
}

}  // namespace pda::controls
