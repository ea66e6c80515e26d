// The LISTBOX control: one column of text rows in the control's font, the selected row in the
// accent colour, a drawn scroll bar on the right when the rows overflow, a tap selecting a row
// (LBN_SELCHANGE with LBS_NOTIFY), Up and Down moving the selection. Without
// LBS_NOINTEGRALHEIGHT the control's height is cut to whole rows.
//
// Sections: the record | layout | notices | the LB_ messages | stylus, keys, focus | painting |
//           the table
#include <algorithm>
#include <memory>

#include "controls/control_common.h"
#include "controls/controls.h"
#include "controls/list_box_items.h"
#include "controls/text_measure.h"
#include "look/look.h"
#include "look/scroll_bar.h"
#include "pda/controls.h"
#include "user/window_class.h"
#include "user/window_shape.h"

namespace pda::controls {
namespace {

namespace palette = look::palette;

// ---- the record ----------------------------------------------------------------------------
struct ListBoxState {
  static std::unique_ptr<ListBoxState> Create(HWND window, const CREATESTRUCTW& create) {
    auto state = std::make_unique<ListBoxState>();
    if (!state->measure.valid()) return nullptr;
    state->window = window;
    state->style = static_cast<DWORD>(create.style);
    return state;
  }
  HWND window;
  DWORD style = 0;
  HFONT font;  // the caller's (WM_SETFONT); null: the system font
  DcTextMeasure measure;
  ListItems items;
  bool focused = false;
};

// ---- layout --------------------------------------------------------------------------------
int Border(const ListBoxState& s) { return (s.style & WS_BORDER) ? 1 : 0; }
int RowHeight(const ListBoxState& s) { return std::max(s.measure.LineHeight(), 1); }

RECT Client(const ListBoxState& s) {
  RECT client{};
  GetClientRect(s.window, &client);
  return client;
}

// Inside the border.
RECT Inner(const ListBoxState& s) {
  RECT r = Client(s);
  const int b = Border(s);
  return RECT{r.left + b, r.top + b, std::max(r.right - b, r.left + b),
              std::max(r.bottom - b, r.top + b)};
}

int VisibleRows(const ListBoxState& s) {
  const RECT inner = Inner(s);
  return std::max(1, (inner.bottom - inner.top) / RowHeight(s));
}

int MaxTop(const ListBoxState& s) { return std::max(0, s.items.count() - VisibleRows(s)); }
bool Overflows(const ListBoxState& s) { return s.items.count() > VisibleRows(s); }

RECT ScrollBarArea(const ListBoxState& s) {
  if (!Overflows(s)) return RECT{};
  const RECT inner = Inner(s);
  return RECT{std::max(inner.right - GetSystemMetrics(SM_CXVSCROLL), inner.left), inner.top,
              inner.right, inner.bottom};
}

RECT RowsArea(const ListBoxState& s) {
  RECT rows = Inner(s);
  if (Overflows(s)) rows.right = ScrollBarArea(s).left;
  return rows;
}

void Redraw(const ListBoxState& s) { InvalidateRect(s.window, nullptr, FALSE); }

void SetTop(ListBoxState& s, int top) {
  top = std::clamp(top, 0, MaxTop(s));
  if (top == s.items.top) return;
  s.items.top = top;
  Redraw(s);
}

void ShowRow(ListBoxState& s, int index) {
  if (!s.items.valid(index)) return;
  if (index < s.items.top)
    SetTop(s, index);
  else if (index >= s.items.top + VisibleRows(s))
    SetTop(s, index - VisibleRows(s) + 1);
}

// Whole rows only: the window's height is cut to a whole number of rows (at least one).
void FitIntegralHeight(ListBoxState& s) {
  if (s.style & LBS_NOINTEGRALHEIGHT) return;
  const RECT client = Client(s);
  const int height = client.bottom - client.top;
  const int wanted = 2 * Border(s) + VisibleRows(s) * RowHeight(s);
  if (height > 0 && wanted < height)
    SetWindowPos(s.window, HWND{}, 0, 0, client.right - client.left, wanted,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- notices -------------------------------------------------------------------------------
void Notify(const ListBoxState& s, WORD code) {
  if (!(s.style & LBS_NOTIFY)) return;
  if (const HWND parent = GetParent(s.window))
    SendMessageW(parent, WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(s.window)), code),
                 static_cast<LPARAM>(s.window.value));
}

// The user chose a row: selected, shown, and the parent told when it changed; a row tapped is
// told even when it was selected already (the tap is the choice).
enum class By { Keys, Stylus };
void Choose(ListBoxState& s, int index, By by = By::Keys) {
  if (!s.items.valid(index)) return;
  ShowRow(s, index);
  if (index == s.items.selection) {
    if (by == By::Stylus) Notify(s, LBN_SELCHANGE);
    return;
  }
  s.items.selection = index;
  Redraw(s);
  Notify(s, LBN_SELCHANGE);
}

// ---- the LB_ messages ----------------------------------------------------------------------
int Index(WPARAM wParam) { return static_cast<int>(static_cast<LPARAM>(wParam)); }
std::u16string_view TextParam(LPARAM lParam) {
  const auto* text = reinterpret_cast<LPCWSTR>(lParam);
  return text ? std::u16string_view(text) : std::u16string_view();
}

LRESULT Added(ListBoxState& s, int index) {
  if (index == ListItems::kNone) return LB_ERR;
  Redraw(s);
  return index;
}

LRESULT OnAddString(ListBoxState& s, WPARAM, LPARAM text) {
  return Added(s, s.items.Add(TextParam(text), (s.style & LBS_SORT) != 0));
}

LRESULT OnInsertString(ListBoxState& s, WPARAM index, LPARAM text) {
  return Added(s, s.items.Insert(Index(index), TextParam(text)));
}

LRESULT OnDeleteString(ListBoxState& s, WPARAM index, LPARAM) {
  if (!s.items.Delete(Index(index))) return LB_ERR;
  s.items.top = std::clamp(s.items.top, 0, MaxTop(s));
  Redraw(s);
  return s.items.count();
}

LRESULT OnResetContent(ListBoxState& s, WPARAM, LPARAM) {
  s.items.Clear();
  Redraw(s);
  return 0;
}

LRESULT OnGetCount(ListBoxState& s, WPARAM, LPARAM) { return s.items.count(); }
LRESULT OnGetCurSel(ListBoxState& s, WPARAM, LPARAM) {
  return s.items.selection == ListItems::kNone ? LB_ERR : s.items.selection;
}

// -1 clears the selection (and still answers LB_ERR, as the call has always done).
LRESULT OnSetCurSel(ListBoxState& s, WPARAM index, LPARAM) {
  const int i = Index(index);
  if (i == -1) {
    s.items.selection = ListItems::kNone;
    Redraw(s);
    return LB_ERR;
  }
  if (!s.items.valid(i)) return LB_ERR;
  s.items.selection = i;
  ShowRow(s, i);
  Redraw(s);
  return i;
}

LRESULT OnGetText(ListBoxState& s, WPARAM index, LPARAM lParam) {
  const int i = Index(index);
  auto* buffer = reinterpret_cast<LPWSTR>(lParam);
  if (!s.items.valid(i) || !buffer) return LB_ERR;
  const std::u16string& text = s.items.text(i);
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = 0;
  return static_cast<LRESULT>(text.size());
}

LRESULT OnGetTextLen(ListBoxState& s, WPARAM index, LPARAM) {
  const int i = Index(index);
  return s.items.valid(i) ? static_cast<LRESULT>(s.items.text(i).size()) : LB_ERR;
}

LRESULT Found(int index) { return index == ListItems::kNone ? LB_ERR : index; }

LRESULT OnFindString(ListBoxState& s, WPARAM after, LPARAM text) {
  return Found(s.items.FindPrefix(Index(after), TextParam(text)));
}

LRESULT OnFindStringExact(ListBoxState& s, WPARAM after, LPARAM text) {
  return Found(s.items.FindExact(Index(after), TextParam(text)));
}

// Selects the first row starting with the text; the selection stays when none does.
LRESULT OnSelectString(ListBoxState& s, WPARAM after, LPARAM text) {
  const int index = s.items.FindPrefix(Index(after), TextParam(text));
  if (index == ListItems::kNone) return LB_ERR;
  return OnSetCurSel(s, static_cast<WPARAM>(index), 0);
}

LRESULT OnGetTopIndex(ListBoxState& s, WPARAM, LPARAM) { return s.items.top; }

LRESULT OnSetTopIndex(ListBoxState& s, WPARAM index, LPARAM) {
  const int i = Index(index);
  if (!s.items.valid(i)) return LB_ERR;
  SetTop(s, i);
  return 0;
}

LRESULT OnGetItemHeight(ListBoxState& s, WPARAM, LPARAM) { return RowHeight(s); }

// ---- stylus, keys, focus -------------------------------------------------------------------
// A tap on a row chooses it; on the scroll bar it pages towards the tap.
LRESULT OnButtonDown(ListBoxState& s, WPARAM, LPARAM point) {
  const auto [x, y] = user::StylusPoint(point);
  if (GetFocus() != s.window) SetFocus(s.window);
  const RECT bar = ScrollBarArea(s);
  if (bar.right > bar.left && x >= bar.left) {
    const auto g = look::VerticalScrollBar(bar, s.items.count(), VisibleRows(s), s.items.top,
                                     bar.right - bar.left);
    const int page = VisibleRows(s);
    if (y < g.thumb.top) SetTop(s, s.items.top - page);
    if (y >= g.thumb.bottom) SetTop(s, s.items.top + page);
    return 0;
  }
  const RECT rows = RowsArea(s);
  if (y < rows.top || y >= rows.bottom) return 0;
  Choose(s, s.items.top + (y - rows.top) / RowHeight(s), By::Stylus);
  return 0;
}

LRESULT OnKeyDown(ListBoxState& s, WPARAM key, LPARAM) {
  const int last = s.items.count() - 1;
  if (last < 0) return 0;
  const int current = s.items.selection;
  switch (static_cast<int>(key)) {
    case VK_UP: Choose(s, current == ListItems::kNone ? 0 : std::max(current - 1, 0)); break;
    case VK_DOWN: Choose(s, current == ListItems::kNone ? 0 : std::min(current + 1, last)); break;
    case VK_HOME: Choose(s, 0); break;
    case VK_END: Choose(s, last); break;
    default: break;
  }
  return 0;
}

LRESULT OnSetFocus(ListBoxState& s, WPARAM, LPARAM) {
  s.focused = true;
  Redraw(s);
  Notify(s, LBN_SETFOCUS);
  return 0;
}

LRESULT OnKillFocus(ListBoxState& s, WPARAM, LPARAM) {
  s.focused = false;
  Redraw(s);
  Notify(s, LBN_KILLFOCUS);
  return 0;
}

LRESULT OnSize(ListBoxState& s, WPARAM, LPARAM) {
  FitIntegralHeight(s);
  s.items.top = std::clamp(s.items.top, 0, MaxTop(s));
  Redraw(s);
  return 0;
}

LRESULT OnSetFont(ListBoxState& s, WPARAM font, LPARAM redraw) {
  s.font = FontParameter(font);
  s.measure.SetFont(s.font);
  FitIntegralHeight(s);
  if (redraw) Redraw(s);
  return 0;
}

LRESULT OnEnable(ListBoxState& s, WPARAM, LPARAM) {
  Redraw(s);
  return 0;
}

// ---- painting ------------------------------------------------------------------------------
void OnPaint(ListBoxState& s, HDC dc, const RECT& client) {
  const bool enabled = IsWindowEnabled(s.window) != FALSE;
  look::Fill(dc, client, palette::kWindow);
  if (Border(s)) look::Frame(dc, client, Border(s), palette::kEdge);
  const ScopedSelect font(dc, s.font ? HGDIOBJ(s.font) : GetStockObject(SYSTEM_FONT));
  const RECT rows = RowsArea(s);
  const int height = RowHeight(s);
  const int margin = std::max(1, GetSystemMetrics(SM_CXVSCROLL) / 6);
  for (int i = s.items.top, y = rows.top; i < s.items.count() && y < rows.bottom;
       ++i, y += height) {
    const RECT row{rows.left, y, rows.right, std::min(y + height, static_cast<int>(rows.bottom))};
    COLORREF color = enabled ? palette::kText : palette::kDisabledText;
    if (i == s.items.selection) {
      look::Fill(dc, row, enabled ? palette::kAccent : palette::kTrack);
      if (enabled) color = palette::kAccentText;
    }
    look::Text(dc, RECT{row.left + margin, row.top, row.right - margin, row.bottom},
               s.items.text(i), color, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
  const RECT bar = ScrollBarArea(s);
  if (bar.right > bar.left) {
    const auto g = look::VerticalScrollBar(bar, s.items.count(), VisibleRows(s), s.items.top,
                                     bar.right - bar.left);
    look::PaintScrollBar(dc, g, enabled);
  }
}

// ---- the table -----------------------------------------------------------------------------
constexpr user::Route<ListBoxState> kRoutes[] = {
    {LB_ADDSTRING,       OnAddString},
    {LB_INSERTSTRING,    OnInsertString},
    {LB_DELETESTRING,    OnDeleteString},
    {LB_RESETCONTENT,    OnResetContent},
    {LB_GETCOUNT,        OnGetCount},
    {LB_GETCURSEL,       OnGetCurSel},
    {LB_SETCURSEL,       OnSetCurSel},
    {LB_GETTEXT,         OnGetText},
    {LB_GETTEXTLEN,      OnGetTextLen},
    {LB_FINDSTRING,      OnFindString},
    {LB_FINDSTRINGEXACT, OnFindStringExact},
    {LB_SELECTSTRING,    OnSelectString},
    {LB_GETTOPINDEX,     OnGetTopIndex},
    {LB_SETTOPINDEX,     OnSetTopIndex},
    {LB_GETITEMHEIGHT,   OnGetItemHeight},
    {WM_LBUTTONDOWN,     OnButtonDown},
    {WM_KEYDOWN,         OnKeyDown},
    {WM_SETFOCUS,        OnSetFocus},
    {WM_KILLFOCUS,       OnKillFocus},
    {WM_SIZE,            OnSize},
    {WM_SETFONT,         OnSetFont},
    {WM_GETFONT,         GetFontRow<ListBoxState>},
    {WM_ENABLE,          OnEnable},
    {WM_PAINT,           user::PaintThrough<ListBoxState, OnPaint>},
};

}  // namespace

bool RegisterListBoxClass() {
  return user::RegisterShapedClass<ListBoxState, kRoutes>(
      WC_LISTBOXW, CS_DBLCLKS | user::kClassDrawsOwnScrollBar);
}

}  // namespace pda::controls
