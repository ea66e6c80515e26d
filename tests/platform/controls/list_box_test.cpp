// The LISTBOX control through its messages and the stylus: sorted order, finding rows, the
// selection and its notices, the top row, and the scroll bar that shows when the rows overflow.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control_fixture.h"
#include "pda/testing/user.h"

namespace {

constexpr DWORD kSortedList =
    WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

std::vector<WORD> notices;  // LBN_ codes the parent got

void Record(UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND) notices.push_back(HIWORD(wParam));
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(window, message, wParam, lParam);
}
LRESULT SendText(HWND window, UINT message, WPARAM wParam, const char16_t* text) {
  return SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(text));
}

std::vector<std::u16string> Rows(HWND list) {
  std::vector<std::u16string> rows;
  for (int i = 0; i < Send(list, LB_GETCOUNT); ++i) {
    std::u16string row(static_cast<std::size_t>(Send(list, LB_GETTEXTLEN, i)), u'\0');
    EXPECT_EQ(Send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data())),
              static_cast<LRESULT>(row.size()));
    rows.push_back(row);
  }
  return rows;
}

class ListBoxTest : public control_test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    Hook() = Record;
    notices.clear();
  }
  HWND List(DWORD style, int height, std::initializer_list<const char16_t*> rows = {}) {
    HWND list = CreateWindowExW(0, WC_LISTBOXW, u"", style, 10, 10, 200, height, parent_,
                                HANDLE{1003u}, HINSTANCE{}, nullptr);
    EXPECT_TRUE(list);
    for (const char16_t* row : rows) SendText(list, LB_ADDSTRING, 0, row);
    notices.clear();
    return list;
  }
  // A tap at a client point of the control, as the stylus router delivers it.
  static void Tap(HWND window, int x, int y) {
    Send(window, WM_LBUTTONDOWN, 1, At(x, y));
    Send(window, WM_LBUTTONUP, 0, At(x, y));
  }
};

TEST_F(ListBoxTest, SortedRowsOrderWithoutRegardToCaseAndUnsortedKeepArrival) {
  const auto arrivals = {u"Work Mail", u"mail", u"ActiveSync", u"Mail", u"zeta", u"Alpha"};
  HWND sorted = List(kSortedList, 200, arrivals);
  EXPECT_EQ(Rows(sorted), (std::vector<std::u16string>{u"ActiveSync", u"Alpha", u"mail", u"Mail",
                                                      u"Work Mail", u"zeta"}))
      << "equal rows keep their arrival order";
  EXPECT_EQ(SendText(sorted, LB_ADDSTRING, 0, u"b"), 2) << "the index it went to";
  EXPECT_EQ(SendText(sorted, LB_INSERTSTRING, 0, u"last?"), 0) << "insert never sorts";

  HWND plain = List(WS_CHILD | WS_VISIBLE, 200, arrivals);
  EXPECT_EQ(Rows(plain).front(), u"Work Mail");
  EXPECT_EQ(SendText(plain, LB_INSERTSTRING, static_cast<WPARAM>(-1), u"end"), 6);
  EXPECT_EQ(SendText(plain, LB_INSERTSTRING, 9, u"past"), LB_ERR);
}

TEST_F(ListBoxTest, FindingRowsByPrefixOrWholeTextWrapsAfterTheStartRow) {
  HWND list = List(kSortedList, 200, {u"Mail", u"Work Mail", u"ActiveSync", u"Mailbox"});
  // Rows: ActiveSync, Mail, Mailbox, Work Mail.
  struct Case {
    UINT message;
    int after;
    const char16_t* text;
    LRESULT found;
  } const cases[] = {
      {LB_FINDSTRING,      -1, u"mail",      1},
      {LB_FINDSTRING,       1, u"MAIL",      2},       // after row 1
      {LB_FINDSTRING,       2, u"mail",      1},       // wraps around
      {LB_FINDSTRING,      -1, u"Work",      3},
      {LB_FINDSTRING,      -1, u"ail",       LB_ERR},  // a prefix, not a substring
      {LB_FINDSTRING,      -1, u"",          0},       // every row starts with nothing
      {LB_FINDSTRINGEXACT, -1, u"mailbox",   2},
      {LB_FINDSTRINGEXACT, -1, u"Mailbo",    LB_ERR},
      {LB_FINDSTRINGEXACT,  3, u"work mail", 3},       // wraps back to the start row itself
  };
  for (const Case& c : cases)
    EXPECT_EQ(SendText(list, c.message, static_cast<WPARAM>(c.after), c.text), c.found)
        << pda::testing::MessageName(c.message) << " after " << c.after;

  EXPECT_EQ(SendText(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), u"wo"), 3);
  EXPECT_EQ(Send(list, LB_GETCURSEL), 3);
  EXPECT_EQ(SendText(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), u"none"), LB_ERR);
  EXPECT_EQ(Send(list, LB_GETCURSEL), 3) << "a failed select keeps the selection";
  EXPECT_TRUE(notices.empty()) << "messages select silently";
}

TEST_F(ListBoxTest, SelectionFollowsDeletionsAndAnswersErrorsForBadRows) {
  HWND list = List(WS_CHILD | WS_VISIBLE, 200, {u"a", u"b", u"c", u"d"});
  EXPECT_EQ(Send(list, LB_GETCURSEL), LB_ERR) << "nothing selected at first";
  EXPECT_EQ(Send(list, LB_SETCURSEL, 2), 2);
  EXPECT_EQ(Send(list, LB_DELETESTRING, 0), 3) << "rows left";
  EXPECT_EQ(Send(list, LB_GETCURSEL), 1) << "the selected row moved up";
  EXPECT_EQ(Send(list, LB_DELETESTRING, 1), 2);
  EXPECT_EQ(Send(list, LB_GETCURSEL), LB_ERR) << "the selected row went";
  EXPECT_EQ(Send(list, LB_DELETESTRING, 5), LB_ERR);
  EXPECT_EQ(Send(list, LB_SETCURSEL, 7), LB_ERR);
  EXPECT_EQ(Send(list, LB_GETTEXTLEN, 7), LB_ERR);
  Send(list, LB_SETCURSEL, 0);
  EXPECT_EQ(Send(list, LB_SETCURSEL, static_cast<WPARAM>(-1)), LB_ERR);
  EXPECT_EQ(Send(list, LB_GETCURSEL), LB_ERR) << "-1 clears the selection";
  Send(list, LB_RESETCONTENT);
  EXPECT_EQ(Send(list, LB_GETCOUNT), 0);
}

// A tap is a choice, told even on the row already selected; the keys tell only changes.
TEST_F(ListBoxTest, TapsAndArrowKeysSelectAndNotifyWithNotifyStyle) {
  HWND list = List(kSortedList, 200, {u"a", u"b", u"c"});
  const int row = static_cast<int>(Send(list, LB_GETITEMHEIGHT));
  ASSERT_GT(row, 0);
  Tap(list, 20, 1 + row + row / 2);  // inside the 1-pixel border, the second row
  EXPECT_EQ(Send(list, LB_GETCURSEL), 1);
  EXPECT_EQ(GetFocus(), list) << "a tap focuses the list";
  Tap(list, 20, 1 + row + row / 2);
  Send(list, WM_KEYDOWN, VK_DOWN);
  Send(list, WM_KEYDOWN, VK_DOWN);  // already on the last row: no change
  EXPECT_EQ(Send(list, LB_GETCURSEL), 2);
  Send(list, WM_KEYDOWN, VK_UP);
  Tap(list, 20, 1 + 3 * row + row / 2);  // below the last row: nothing
  const std::vector<WORD> changes = [] {
    std::vector<WORD> out;
    for (WORD n : notices)
      if (n == LBN_SELCHANGE) out.push_back(n);
    return out;
  }();
  EXPECT_EQ(changes.size(), 4u) << "tap, tap again, down, up; a key at the end and an empty "
                                   "tap are silent";
  EXPECT_EQ(Send(list, LB_GETCURSEL), 1);

  HWND quiet = List(WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, 200, {u"a", u"b"});
  SetFocus(quiet);
  notices.clear();
  Tap(quiet, 20, row + row / 2);
  EXPECT_EQ(Send(quiet, LB_GETCURSEL), 1);
  EXPECT_TRUE(notices.empty()) << "no LBS_NOTIFY, no notices";
}

TEST_F(ListBoxTest, OverflowingRowsScrollWithTheSelectionAndShowABar) {
  HWND probe = List(kSortedList, 100);
  const int row = static_cast<int>(Send(probe, LB_GETITEMHEIGHT));
  DestroyWindow(probe);
  const int visible = 4;
  HWND list = List(kSortedList, 2 + visible * row);
  for (const char16_t* r : {u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j"})
    SendText(list, LB_ADDSTRING, 0, r);
  Send(list, LB_SETCURSEL, 6);
  EXPECT_EQ(Send(list, LB_GETTOPINDEX), 6 - visible + 1) << "selection brought into view";
  EXPECT_EQ(Send(list, LB_SETTOPINDEX, 9), 0);
  EXPECT_EQ(Send(list, LB_GETTOPINDEX), 10 - visible) << "clamped to the last full page";
  EXPECT_EQ(Send(list, LB_SETTOPINDEX, 10), LB_ERR);
  Send(list, WM_KEYDOWN, VK_HOME);
  EXPECT_EQ(Send(list, LB_GETTOPINDEX), 0);

  // The bar: the thumb at the top of the track, in the look's colours, on the right.
  UpdateWindow(parent_);
  UpdateWindow(list);
  RECT r{};
  GetWindowRect(list, &r);
  const int barX = r.right - 1 - GetSystemMetrics(SM_CXVSCROLL) / 2;
  const auto at = ScreenAt;
  EXPECT_EQ(at(barX, r.top + 2), RGB(0x90, 0x90, 0x90)) << "thumb";
  EXPECT_EQ(at(barX, r.bottom - 3), RGB(0xE8, 0xE8, 0xE8)) << "track";
  EXPECT_EQ(at(barX - GetSystemMetrics(SM_CXVSCROLL), r.top + 1 + row / 2), RGB(0x1C, 0x4E, 0x9A))
      << "the selected first row, right of its text";

  DestroyWindow(list);
  HWND fits = List(kSortedList, 2 + visible * row, {u"a", u"b"});
  UpdateWindow(fits);
  GetWindowRect(fits, &r);
  EXPECT_EQ(at(barX, r.bottom - 3), RGB(255, 255, 255)) << "no bar when the rows fit";
}

TEST_F(ListBoxTest, WithoutNoIntegralHeightTheHeightIsCutToWholeRows) {
  HWND probe = List(kSortedList, 100);
  const int row = static_cast<int>(Send(probe, LB_GETITEMHEIGHT));
  HWND list = List(WS_CHILD | WS_VISIBLE | WS_BORDER, 100);
  SetWindowPos(list, HWND{}, 0, 0, 200, 2 + 3 * row + row / 2, SWP_NOMOVE | SWP_NOZORDER);
  RECT client{};
  GetClientRect(list, &client);
  EXPECT_EQ(client.bottom, 2 + 3 * row);
  RECT kept{};
  GetClientRect(probe, &kept);
  EXPECT_EQ(kept.bottom, 100) << "LBS_NOINTEGRALHEIGHT keeps the asked height";
}

}  // namespace
