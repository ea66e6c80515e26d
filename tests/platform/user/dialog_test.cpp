// Dialogs from in-code templates: dialog units at two DPIs, controls placed at their converted
// rectangles, WM_INITDIALOG and its parameter, answers through DWL_MSGRESULT, the item calls, and
// the tab order.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "pda/dialogs.h"
#include "pda/gdi.h"
#include "user/dialog_units.h"
#include "user_fixture.h"

namespace pda::user_test {
namespace {

constexpr DWORD kItem = WS_CHILD | WS_VISIBLE;
constexpr DWORD kStop = kItem | WS_TABSTOP;

constexpr DLGITEMTEMPLATEW kItems[] = {
    {kRecorderClass, u"Label",  100, kItem,               4,  4,  60, 10},
    {kRecorderClass, u"First",  101, kStop,               4,  16, 80, 12},
    {kRecorderClass, u"Off",    102, kStop | WS_DISABLED, 4,  30, 80, 12},
    {kRecorderClass, u"Second", 103, kStop,               4,  44, 37, 14},
    {kRecorderClass, u"Hidden", 104, WS_CHILD | WS_TABSTOP, 45, 44, 37, 14},
    {kRecorderClass, u"Third",  105, kStop,               90, 44, 37, 14},
};
constexpr DLGTEMPLATEW kPage = {WS_CHILD | WS_VISIBLE | DS_CONTROL, 2, 3, 140, 90, u"Tahoma", 9,
                                kItems, static_cast<WORD>(std::size(kItems))};

// What the dialog procedure saw, and what it answers.
struct Seen {
  std::vector<UINT> messages;
  WPARAM initFocus = 0;
  LPARAM initParameter = 0;
};
Seen seen;
constexpr UINT kNoticeCode = 0xFFFFFF38;  // any WM_NOTIFY code
constexpr LONG_PTR kNoticeAnswer = 2;

INT_PTR PageProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  seen.messages.push_back(message);
  switch (message) {
    case WM_INITDIALOG:
      seen.initFocus = wParam;
      seen.initParameter = lParam;
      return TRUE;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code != kNoticeCode) return FALSE;
      SetWindowLongPtrW(dialog, DWL_MSGRESULT, kNoticeAnswer);
      return TRUE;
    default:
      return FALSE;
  }
}

// The published recipe, from the font the dialog reports: (extent of A-Z a-z / 26 + 1) / 2
// across, tmHeight down.
user::BaseUnits RecipeUnits(HFONT font) {
  HDC dc = CreateCompatibleDC(HDC{});
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  DeleteDC(dc);
  return {(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

RECT RectIn(HWND window, HWND parent) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(HWND{}, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class DialogTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    seen = Seen{};
    host_ = Make(WS_VISIBLE, HWND{}, 0, 0, 480, 600);
  }
  HWND Page(LPARAM parameter = 0) {
    const HWND page =
        CreateDialogIndirectParamW(HINSTANCE{}, &kPage, host_, PageProcedure, parameter);
    if (page) made_.push_back(page);
    return page;
  }
  HWND host_;
};

TEST(DialogUnits, EveryEdgeScalesByAQuarterWidthAndAnEighthHeightRounded) {
  struct Case {
    user::BaseUnits base;
    RECT units;
    RECT pixels;
  } const cases[] = {
      {{6, 13}, {0, 0, 4, 8}, {0, 0, 6, 13}},
      {{6, 13}, {4, 16, 84, 28}, {6, 26, 126, 46}},      // 45.5 rounds up
      {{7, 15}, {1, 1, 3, 3}, {2, 2, 5, 6}},             // 1.75, 1.875, 5.25, 5.625
      {{13, 31}, {-4, -8, 2, 4}, {-13, -31, 7, 16}},     // halves away from zero
  };
  for (const Case& c : cases) {
    const RECT got = user::DialogUnitsToPixels(c.units, c.base);
    EXPECT_EQ(got.left, c.pixels.left);
    EXPECT_EQ(got.top, c.pixels.top);
    EXPECT_EQ(got.right, c.pixels.right);
    EXPECT_EQ(got.bottom, c.pixels.bottom) << "base " << c.base.x << "x" << c.base.y;
  }
}

// At 96 and 192 DPI the page and every control land where the recipe puts them, and the font
// (Tahoma 9 pt) doubles with the DPI.
TEST_F(DialogTest, ControlsLandAtTheirConvertedRectanglesAtBothDensities) {
  user::BaseUnits at96{};
  for (const int dpi : {96, 192}) {
    pda::testing::ChangeScreen(480, 640, dpi);
    const HWND page = Page();
    ASSERT_TRUE(page) << dpi;
    const auto font = HFONT{static_cast<std::uint32_t>(SendMessageW(page, WM_GETFONT, 0, 0))};
    ASSERT_TRUE(font);
    const user::BaseUnits base = RecipeUnits(font);
    if (dpi == 96) at96 = base;
    else {
      EXPECT_NEAR(base.x, 2 * at96.x, 1) << "average width doubles";
      EXPECT_NEAR(base.y, 2 * at96.y, 1) << "height doubles";
    }
    const auto expect = [&](HWND window, HWND parent, int x, int y, int cx, int cy) {
      const RECT got = RectIn(window, parent);
      EXPECT_EQ(got.left, MulDiv(x, base.x, 4)) << dpi;
      EXPECT_EQ(got.top, MulDiv(y, base.y, 8)) << dpi;
      EXPECT_EQ(got.right, MulDiv(x + cx, base.x, 4)) << dpi;
      EXPECT_EQ(got.bottom, MulDiv(y + cy, base.y, 8)) << dpi;
    };
    expect(page, host_, kPage.x, kPage.y, kPage.cx, kPage.cy);
    for (const DLGITEMTEMPLATEW& item : kItems)
      expect(GetDlgItem(page, item.id), page, item.x, item.y, item.cx, item.cy);
    RECT mapped{4, 16, 84, 28};
    ASSERT_TRUE(MapDialogRect(page, &mapped));
    EXPECT_EQ(mapped.right, MulDiv(84, base.x, 4));
    EXPECT_EQ(mapped.bottom, MulDiv(28, base.y, 8));
    const auto names = Recorder::Get().NamesFor(GetDlgItem(page, 101));
    EXPECT_NE(std::find(names.begin(), names.end(), "WM_SETFONT"), names.end())
        << "each control is given the dialog's font";
    DestroyWindow(page);

    DLGTEMPLATEW centred = kPage;
    centred.style |= DS_CENTER;
    const HWND middle = CreateDialogIndirectParamW(HINSTANCE{}, &centred, host_, PageProcedure, 0);
    const RECT got = RectIn(middle, host_);
    const int width = MulDiv(kPage.x + kPage.cx, base.x, 4) - MulDiv(kPage.x, base.x, 4);
    const int height = MulDiv(kPage.y + kPage.cy, base.y, 8) - MulDiv(kPage.y, base.y, 8);
    EXPECT_EQ(got.left, (480 - width) / 2) << "DS_CENTER, " << dpi;
    EXPECT_EQ(got.top, (600 - height) / 2) << "DS_CENTER, " << dpi;
    DestroyWindow(middle);
  }
}

TEST_F(DialogTest, InitDialogGetsTheParameterAndTheFirstTabStopWhichTakesTheFocus) {
  const HWND page = Page(0x5EED);
  ASSERT_TRUE(page);
  EXPECT_EQ(seen.initParameter, 0x5EED);
  EXPECT_EQ(HWND{static_cast<std::uint32_t>(seen.initFocus)}, GetDlgItem(page, 101));
  EXPECT_EQ(GetFocus(), GetDlgItem(page, 101)) << "TRUE from WM_INITDIALOG asks for the focus";
  EXPECT_TRUE(IsWindowVisible(page));
  // Children in template order: first child, then next siblings.
  std::vector<int> ids;
  for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    ids.push_back(GetDlgCtrlID(c));
  EXPECT_EQ(ids, (std::vector<int>{100, 101, 102, 103, 104, 105}));
}

TEST_F(DialogTest, HandledMessagesAnswerThroughTheResultSlotAndTheRestGoToTheDefaults) {
  const HWND page = Page();
  ASSERT_TRUE(page);
  NMHDR notice{host_, 7, kNoticeCode};
  EXPECT_EQ(SendMessageW(page, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&notice)), kNoticeAnswer);
  notice.code = kNoticeCode + 1;  // not handled: the default answer
  SetWindowLongPtrW(page, DWL_MSGRESULT, 99);
  EXPECT_EQ(SendMessageW(page, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&notice)), 0);
  EXPECT_NE(SendMessageW(page, WM_GETFONT, 0, 0), 0) << "not handled: the dialog's font";
  EXPECT_EQ(GetWindowLongPtrW(page, DWL_DLGPROC), reinterpret_cast<LONG_PTR>(PageProcedure));

  ASSERT_TRUE(SetDlgItemTextW(page, 103, u"Renamed"));
  char16_t text[16];
  EXPECT_EQ(GetDlgItemTextW(page, 103, text, 16), 7u);
  EXPECT_EQ(std::u16string(text), u"Renamed");
  EXPECT_EQ(SendDlgItemMessageW(page, 103, WM_GETTEXTLENGTH, 0, 0), 7);
  EXPECT_EQ(GetDlgItemTextW(page, 999, text, 16), 0u) << "no such item";
  EXPECT_EQ(text[0], u'\0');
}

TEST_F(DialogTest, TabAndShiftTabVisitTheVisibleEnabledTabStopsInTemplateOrder) {
  const HWND page = Page();
  ASSERT_TRUE(page);
  struct Step {
    bool shift;
    int focus;  // id of the control focused afterwards
  } const steps[] = {
      {false, 103},  // 102 disabled
      {false, 105},  // 104 hidden
      {false, 101},  // wraps around; 100 is no tab stop
      {true, 105},   // backwards wraps too
      {true, 103},
      {true, 101},
  };
  for (const Step& step : steps) {
    pda::testing::ResetKeyState();
    if (step.shift) {  // the key state follows key messages as they are taken from the queue
      PostMessageW(host_, WM_KEYDOWN, VK_SHIFT, 1);
      MSG got;
      ASSERT_TRUE(PeekMessageW(&got, host_, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    }
    MSG tab{GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(VK_TAB), 1, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(page, &tab));
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), step.focus) << (step.shift ? "shift+tab" : "tab");
  }
  MSG other{GetFocus(), WM_KEYDOWN, static_cast<WPARAM>('A'), 1, 0, {}};
  EXPECT_FALSE(IsDialogMessageW(page, &other)) << "other keys go on to the control";
  MSG outside{host_, WM_KEYDOWN, static_cast<WPARAM>(VK_TAB), 1, 0, {}};
  EXPECT_FALSE(IsDialogMessageW(page, &outside)) << "not for a window outside the dialog";
}

// A page (DS_CONTROL) inside an outer dialog: its tab stops take its place in the outer order.
TEST_F(DialogTest, APageLendsItsTabStopsToTheOuterDialogInPlace) {
  static constexpr DLGITEMTEMPLATEW kOuterItems[] = {
      {kRecorderClass, u"Before", 200, kStop, 150, 4, 40, 12},
  };
  static constexpr DLGTEMPLATEW kOuter = {WS_CHILD | WS_VISIBLE, 0, 0, 200, 150, u"Tahoma", 9,
                                          kOuterItems, 1};
  const HWND outer = CreateDialogIndirectParamW(HINSTANCE{}, &kOuter, host_, nullptr, 0);
  ASSERT_TRUE(outer);
  made_.push_back(outer);
  const HWND page = CreateDialogIndirectParamW(HINSTANCE{}, &kPage, outer, PageProcedure, 0);
  ASSERT_TRUE(page);
  const HWND after = Child(outer, 150, 120, 40, 12, 201, WS_VISIBLE | WS_TABSTOP);
  ASSERT_TRUE(after);
  SetFocus(GetDlgItem(outer, 200));
  std::vector<int> order;
  for (int i = 0; i < 5; ++i) {
    MSG tab{GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(VK_TAB), 1, 0, {}};
    ASSERT_TRUE(IsDialogMessageW(outer, &tab));
    order.push_back(GetDlgCtrlID(GetFocus()));
  }
  EXPECT_EQ(order, (std::vector<int>{101, 103, 105, 201, 200}));
}

// A modal dialog box: its procedure ends it (from a posted command, inside WM_INITDIALOG, or on
// the Cancel command that closing gives); the owner is disabled meanwhile and its posted messages
// are still handled; the result is EndDialog's and the dialog is gone afterwards.
struct Modal {
  enum class End { PostedCommand, AtInit, Close } end;
  HWND owner;
  bool ownerEnabledInside = true;
  bool ownerMessageHandled = false;
  HWND dialog;
} modal;
constexpr UINT kOwnerPing = WM_USER + 9;

INT_PTR ModalProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      modal.dialog = dialog;
      modal.ownerEnabledInside = IsWindowEnabled(modal.owner) != FALSE;
      if (modal.end == Modal::End::AtInit) EndDialog(dialog, 7);
      if (modal.end == Modal::End::PostedCommand)
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
      if (modal.end == Modal::End::Close) PostMessageW(dialog, WM_CLOSE, 0, 0);
      return TRUE;
    case WM_COMMAND:
      EndDialog(dialog, LOWORD(wParam) == IDOK ? 42 : LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

TEST_F(DialogTest, ADialogBoxRunsUntilEndDialogAndAnswersItsResult) {
  constexpr DLGTEMPLATEW kBox = {WS_CAPTION, 10, 10, 120, 60, u"Tahoma", 9, kItems,
                                 static_cast<WORD>(std::size(kItems))};
  Recorder::Get().On(kOwnerPing, [](HWND, WPARAM, LPARAM) {
    modal.ownerMessageHandled = true;
    return LRESULT{0};
  });
  struct Case {
    Modal::End end;
    INT_PTR result;
    bool loops;  // ended after the loop began: the owner's message came first
  } const cases[] = {{Modal::End::PostedCommand, 42, true}, {Modal::End::AtInit, 7, false},
                     {Modal::End::Close, IDCANCEL, true}};
  for (const Case& c : cases) {
    Watchdog watchdog;
    modal = Modal{c.end, host_, true, false, HWND{}};
    PostMessageW(host_, kOwnerPing, 0, 0);
    EXPECT_EQ(DialogBoxIndirectParamW(HINSTANCE{}, &kBox, host_, ModalProcedure, 0), c.result);
    EXPECT_FALSE(modal.ownerEnabledInside);
    EXPECT_EQ(modal.ownerMessageHandled, c.loops);
    EXPECT_TRUE(IsWindowEnabled(host_));
    EXPECT_FALSE(IsWindow(modal.dialog));
    Drain();
  }
}

}  // namespace
}  // namespace pda::user_test
