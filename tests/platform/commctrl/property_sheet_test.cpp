// The property sheet, run modally: the owner is given steps through posted messages (as the GPS
// reader posts to the Main window), which the sheet's loop dispatches while it waits. The pages
// log the notices they get; the sheet callback logs its requests.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "pda/commctrl.h"
#include "pda/controls.h"
#include "pda/testing/user.h"
#include "user_fixture.h"

namespace pda::user_test {
namespace {

constexpr UINT kStep = WM_USER + 7;  // to the owner: wParam the step's index
constexpr LPARAM kPageValue = 500;   // page n's own value is kPageValue + n

constexpr DLGITEMTEMPLATEW kItems[] = {
    {WC_STATICW, u"Field", 100, WS_VISIBLE, 4, 4, 60, 10},
};
constexpr DLGTEMPLATEW kTemplate = {WS_CHILD | DS_CONTROL, 0, 0, 120, 80, u"Tahoma", 9, kItems, 1};

// TapLastTab: the stylus pressed and lifted on the tab strip's last tab.
enum class Step { Next, Back, Ok, Cancel, Close, TapLastTab, Look, Rotate };

// One run of the sheet, as its pages, callback and owner saw it.
struct SheetRun {
  std::array<PROPSHEETPAGEW, 3> pages{};
  PROPSHEETHEADERW header{};
  std::vector<Step> steps;
  int refusesToLeave = -1;  // the page that answers TRUE to kill-active
  std::vector<std::string> log;
  // What the callback and the owner's steps saw.
  std::vector<std::pair<UINT, HWND>> requests;
  std::u16string headerLineAtInit;
  bool tabStripAtInit = false;
  HWND pageAtInit{};
  HWND sheet{};
  std::vector<bool> ownerEnabledAtStep;
  HWND lookedPage{};
  HWND lookedParent{};
  RECT lookedSheetRect{};
  bool pageBelowHeaderLine = false;
  bool focusInPage = false;
};
SheetRun run;

int PageNumber(HWND page) {
  return static_cast<int>(GetWindowLongPtrW(page, DWL_USER) - kPageValue);
}

INT_PTR PageProcedure(HWND page, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    const auto n = description - run.pages.data();
    SetWindowLongPtrW(page, DWL_USER, description->lParam);
    const bool ownValue = description->lParam == kPageValue + n;
    run.log.push_back("I" + std::to_string(n) + (ownValue ? "" : " wrong parameter"));
    return TRUE;
  }
  if (message == WM_SETTINGCHANGE) run.log.push_back("C" + std::to_string(PageNumber(page)));
  if (message != WM_NOTIFY) return FALSE;
  const auto* notice = reinterpret_cast<const PSHNOTIFY*>(lParam);
  const char* letter = notice->hdr.code == PSN_SETACTIVE    ? "S"
                       : notice->hdr.code == PSN_KILLACTIVE ? "K"
                       : notice->hdr.code == PSN_APPLY      ? "A"
                       : notice->hdr.code == PSN_RESET      ? "R"
                                                            : "?";
  const int n = PageNumber(page);
  const bool fromSheet = notice->hdr.hwndFrom == run.sheet;
  run.log.push_back(letter + std::to_string(n) + (fromSheet ? "" : " not from the sheet"));
  if (notice->hdr.code == PSN_KILLACTIVE && n == run.refusesToLeave)
    SetWindowLongPtrW(page, DWL_MSGRESULT, TRUE);
  return TRUE;
}

int SheetCallback(HWND sheet, UINT request, LPARAM lParam) {
  run.requests.emplace_back(request, sheet);
  run.sheet = sheet;
  if (request == PSCB_GETVERSION) return static_cast<int>(COMCTL32_VERSION);
  if (request == PSCB_GETTITLE) {
    const std::u16string title = u"default header text";
    std::copy(title.begin(), title.end(), reinterpret_cast<char16_t*>(lParam));
  }
  if (request == PSCB_INITIALIZED && lParam == reinterpret_cast<LPARAM>(&run.header)) {
    char16_t text[64]{};
    GetDlgItemTextW(sheet, IDC_PROPSHEET_HEADER, text, 64);
    run.headerLineAtInit = text;
    run.tabStripAtInit = GetDlgItem(sheet, IDC_PROPSHEET_TABS) != HWND{};
    run.pageAtInit = HWND{static_cast<std::uint32_t>(
        SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0))};
  }
  return 0;
}

HWND CurrentPage() {
  return HWND{static_cast<std::uint32_t>(SendMessageW(run.sheet, PSM_GETCURRENTPAGEHWND, 0, 0))};
}

void TakeStep(HWND owner, Step step) {
  run.ownerEnabledAtStep.push_back(IsWindowEnabled(owner) != FALSE);
  const int current = PageNumber(CurrentPage());
  switch (step) {
    case Step::Next:
    case Step::Back: {
      const int to = current + (step == Step::Next ? 1 : -1);
      if (!SendMessageW(run.sheet, PSM_SETCURSEL, static_cast<WPARAM>(to), 0))
        run.log.push_back("stays");
      break;
    }
    case Step::Ok:
      SendMessageW(run.sheet, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
      break;
    case Step::Cancel:
      SendMessageW(run.sheet, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
      break;
    case Step::Close:
      SendMessageW(run.sheet, WM_CLOSE, 0, 0);
      break;
    case Step::TapLastTab: {
      const HWND tabs = GetDlgItem(run.sheet, IDC_PROPSHEET_TABS);
      RECT strip{};
      GetClientRect(tabs, &strip);
      const LPARAM point = MAKELPARAM(strip.right - 2, strip.bottom / 2);
      SendMessageW(tabs, WM_LBUTTONDOWN, 0, point);
      SendMessageW(tabs, WM_LBUTTONUP, 0, point);
      break;
    }
    case Step::Rotate:
      pda::testing::ChangeScreen(640, 480, 192);
      break;
    case Step::Look:
    {
      run.lookedPage = CurrentPage();
      run.lookedParent = GetParent(run.lookedPage);
      run.focusInPage =
          GetFocus() == run.lookedPage || IsChild(run.lookedPage, GetFocus()) != FALSE;
      GetWindowRect(run.sheet, &run.lookedSheetRect);
      RECT page{};
      RECT line{};
      GetWindowRect(run.lookedPage, &page);
      GetWindowRect(GetDlgItem(run.sheet, IDC_PROPSHEET_HEADER), &line);
      run.pageBelowHeaderLine = line.bottom > line.top && page.top >= line.bottom &&
                                page.bottom > page.top && page.right - page.left ==
                                run.lookedSheetRect.right - run.lookedSheetRect.left;
      break;
    }
  }
}

class PropertySheetTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    run = SheetRun{};
    owner_ = Make(WS_VISIBLE, HWND{}, 0, 0, 480, 600, u"Main");
    Recorder::Get().On(kStep, [](HWND owner, WPARAM index, LPARAM) {
      TakeStep(owner, run.steps[index]);
      return LRESULT{0};
    });
    for (std::size_t i = 0; i < run.pages.size(); ++i) {
      PROPSHEETPAGEW& page = run.pages[i];
      page.dwSize = sizeof(PROPSHEETPAGEW);
      page.dwFlags = PSP_USETITLE;
      page.pResource = &kTemplate;
      page.pszTitle = u"Page";
      page.pfnDlgProc = PageProcedure;
      page.lParam = kPageValue + static_cast<LPARAM>(i);
    }
    PROPSHEETHEADERW& h = run.header;
    h.dwSize = sizeof(PROPSHEETHEADERW);
    h.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_MAXIMIZE;
    h.hwndParent = owner_;
    h.pszCaption = u"Settings";
    h.nPages = static_cast<UINT>(run.pages.size());
    h.ppsp = run.pages.data();
    h.pfnCallback = SheetCallback;
  }

  // Posts the steps to the owner, then runs the sheet.
  INT_PTR Open(UINT start, std::vector<Step> steps) {
    Watchdog watchdog;
    run.header.nStartPage = start;
    run.steps = std::move(steps);
    for (std::size_t i = 0; i < run.steps.size(); ++i) PostMessageW(owner_, kStep, i, 0);
    return PropertySheetW(&run.header);
  }

  HWND owner_;
};

// The notices each page gets, in order, for Next, Back, Ok, Cancel and closing, and the result:
// a page is made (I) the first time it is shown; the page left is told first, then the one shown;
// Ok applies and Cancel resets every page made so far, and only those.
TEST_F(PropertySheetTest, NoticesFollowEachCommandAndTheResultFollowsHowTheSheetClosed) {
  using enum Step;
  struct Case {
    const char* name;
    UINT start;
    int refusesToLeave;
    std::vector<Step> steps;
    std::vector<std::string> notices;
    INT_PTR result;
  } const cases[] = {
      {"next then ok", 0, -1, {Next, Ok}, {"I0", "S0", "K0", "I1", "S1", "K1", "A0", "A1"}, 1},
      {"next, back, cancel", 0, -1, {Next, Back, Cancel},
       {"I0", "S0", "K0", "I1", "S1", "K1", "S0", "R0", "R1"}, 0},
      {"back from the last page, ok", 2, -1, {Back, Ok},
       {"I2", "S2", "K2", "I1", "S1", "K1", "A1", "A2"}, 1},
      {"next twice, back twice, ok", 0, -1, {Next, Next, Back, Back, Ok},
       {"I0", "S0", "K0", "I1", "S1", "K1", "I2", "S2", "K2", "S1", "K1", "S0", "K0", "A0", "A1",
        "A2"}, 1},
      {"a page that refuses to be left keeps Next and Ok", 0, 0, {Next, Ok, Cancel},
       {"I0", "S0", "K0", "stays", "K0", "R0"}, 0},
      {"closing is cancel", 1, -1, {Close}, {"I1", "S1", "R1"}, 0},
      {"a tap on the last tab", 0, -1, {TapLastTab, Ok},
       {"I0", "S0", "K0", "I2", "S2", "K2", "A0", "A2"}, 1},
      {"past the last page", 2, -1, {Next, Ok}, {"I2", "S2", "stays", "K2", "A2"}, 1},
  };
  for (const Case& c : cases) {
    SetUp();
    run.refusesToLeave = c.refusesToLeave;
    const INT_PTR result = Open(c.start, c.steps);
    EXPECT_EQ(run.log, c.notices) << c.name;
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_FALSE(IsWindow(run.sheet)) << c.name;
    EXPECT_TRUE(IsWindowEnabled(owner_)) << c.name;
    TearDown();
  }
}

// The callback is asked for the version, the header title, then told the sheet is initialised,
// always with the new sheet window; the header line starts with the title's text; the owner,
// disabled meanwhile, still gets its posted messages; the current page is a child of the sheet
// below the header line and has the focus; the sheet covers the screen.
TEST_F(PropertySheetTest, OpensAMaximisedSheetForTheCallbackWhileTheOwnerStillGetsItsMessages) {
  EXPECT_EQ(Open(1, {Step::Look, Step::Cancel}), 0);

  ASSERT_EQ(run.requests.size(), 3u);
  EXPECT_EQ(run.requests[0].first, PSCB_GETVERSION);
  EXPECT_EQ(run.requests[1].first, PSCB_GETTITLE);
  EXPECT_EQ(run.requests[2].first, PSCB_INITIALIZED);
  for (const auto& [request, window] : run.requests) EXPECT_EQ(window, run.sheet) << request;
  EXPECT_EQ(run.headerLineAtInit, u"default header text");
  EXPECT_TRUE(run.tabStripAtInit);
  EXPECT_EQ(run.pageAtInit, HWND{}) << "no page is made before the sheet is initialised";

  EXPECT_EQ(run.ownerEnabledAtStep, (std::vector<bool>{false, false}));
  ASSERT_TRUE(run.lookedPage);
  EXPECT_EQ(run.lookedParent, run.sheet);
  EXPECT_TRUE(run.pageBelowHeaderLine);
  EXPECT_TRUE(run.focusInPage);
  EXPECT_EQ(run.log, (std::vector<std::string>{"I1", "S1", "R1"}));
  EXPECT_EQ(run.lookedSheetRect.left, 0);
  EXPECT_EQ(run.lookedSheetRect.top, 52) << "below the navigation bar";
  EXPECT_EQ(run.lookedSheetRect.right, 480);
  EXPECT_EQ(run.lookedSheetRect.bottom, 640 - 52) << "above the soft-key bar";
  EXPECT_FALSE(IsWindow(run.lookedPage));
}

// A sheet that cannot be made answers -1 and leaves the owner enabled.
TEST_F(PropertySheetTest, ASheetThatCannotBeMadeAnswersMinusOne) {
  struct Case {
    const char* name;
    void (*spoil)(PROPSHEETHEADERW&);
  } const cases[] = {
      {"no pages", [](PROPSHEETHEADERW& h) { h.nPages = 0; }},
      {"start page past the last", [](PROPSHEETHEADERW& h) { h.nStartPage = 3; }},
      {"pages not given as descriptions", [](PROPSHEETHEADERW& h) { h.dwFlags = PSH_USECALLBACK; }},
      {"start page without a template",
       [](PROPSHEETHEADERW&) { run.pages[0].pResource = nullptr; }},
  };
  for (const Case& c : cases) {
    SetUp();
    run.header.nStartPage = 0;
    c.spoil(run.header);
    EXPECT_EQ(PropertySheetW(&run.header), -1) << c.name;
    EXPECT_TRUE(IsWindowEnabled(owner_)) << c.name;
    EXPECT_FALSE(run.sheet && IsWindow(run.sheet)) << c.name;
    TearDown();
  }
  EXPECT_EQ(PropertySheetW(nullptr), -1);
}

// Turning the device: the sheet stays between the bars, lays out its header line again, and
// every page made hears of the new screen.
TEST_F(PropertySheetTest, ARotatedSheetStaysBetweenTheBarsAndTellsItsPages) {
  EXPECT_EQ(Open(0, {Step::Next, Step::Rotate, Step::Look, Step::Cancel}), 0);
  EXPECT_EQ(run.log, (std::vector<std::string>{"I0", "S0", "K0", "I1", "S1", "C0", "C1", "R0",
                                               "R1"}));
  EXPECT_EQ(run.lookedSheetRect.top, 52);
  EXPECT_EQ(run.lookedSheetRect.right, 640);
  EXPECT_EQ(run.lookedSheetRect.bottom, 480 - 52);
  EXPECT_TRUE(run.pageBelowHeaderLine) << "the header line and the page are as wide as the sheet";
}

}  // namespace
}  // namespace pda::user_test
