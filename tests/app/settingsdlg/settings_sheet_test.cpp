// The settings sheet in the running application, driven with the stylus and keys: Back and Next
// by page, Ok and Cancel on the working copy, the account list's rules, the fields' limits and
// their Copy/Paste menu, scrolling above the input panel and on rotation, the About page's lower
// lines, and the images of Back and Next.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <pda.h>
#include <pda/testing/dialogs.h>
#include <pda/testing/shell.h>
#include <pda/testing/user.h>

#include "app_session.h"
#include "settings/settings_record.h"
#include "settingsdlg/page_sheet.h"
#include "settingsdlg/settings_pages.h"
#include "settingsdlg/sheet_button.h"
#include "shell/globals.h"

namespace zaz::testing {
namespace {

// What the sheet shows: the header line, whether Back and Next can be used, and which page.
struct Shown {
  std::u16string header;
  bool back;
  bool next;
  WORD page;  // the page's template id
  bool operator==(const Shown&) const = default;
};
void PrintTo(const Shown& s, std::ostream* os) {
  *os << std::string(s.header.begin(), s.header.end()) << " back " << s.back << " next "
      << s.next << " page " << s.page;
}

struct Live {
  std::u16string address, account, number;
  bool operator==(const Live&) const = default;
};
void PrintTo(const Live& l, std::ostream* os) {
  *os << std::string(l.address.begin(), l.address.end()) << " | "
      << std::string(l.account.begin(), l.account.end()) << " | "
      << std::string(l.number.begin(), l.number.end());
}

HWND SheetWindow() { return g_BackButton.hwndParent; }
HWND CurrentPage() {
  return HWND{static_cast<UINT>(SendMessageW(SheetWindow(), PSM_GETCURRENTPAGEHWND, 0, 0))};
}
RECT ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

class SheetTest : public AppTest {
 protected:
  void Open() {
    SoftKey(true);
    ASSERT_TRUE(IsOpen()) << "the Settings soft key opened no sheet";
  }
  bool IsOpen() {
    return OnUi(app(), [] { return IsWindow(SheetWindow()) && IsWindowVisible(SheetWindow()); });
  }
  void SoftKey(bool right) {
    const int bar = pda::testing::BarHeight();
    app().Tap(right ? width_ - 30 : 30, height_ - bar / 2);
    ASSERT_TRUE(app().WaitIdle());
  }
  void InputPanelButton() {
    app().Tap(width_ / 2, height_ - pda::testing::BarHeight() / 2);
    ASSERT_TRUE(app().WaitIdle());
  }
  void Navigate(bool next) { TapCentre(next ? NextButton() : BackButton()); }
  HWND BackButton() { return OnUi(app(), [] { return g_BackButton.hwndButton; }); }
  HWND NextButton() { return OnUi(app(), [] { return g_NextButton.hwndButton; }); }
  HWND Control(WORD id) { return OnUi(app(), [id] { return GetDlgItem(CurrentPage(), id); }); }
  RECT RectOf(HWND window) { return OnUi(app(), [window] { return ScreenRect(window); }); }
  void TapCentre(HWND window) {
    const RECT r = RectOf(window);
    app().Tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(app().WaitIdle());
  }
  // Taps the field, puts the caret after its text with End, then types: digits and lower-case
  // letters.
  void TypeInto(WORD id, const std::string& keys) {
    const RECT r = RectOf(Control(id));
    app().Tap(r.right - 3, (r.top + r.bottom) / 2);
    ASSERT_TRUE(app().WaitIdle());
    app().Key(VK_END);
    for (char k : keys) app().Key(k >= 'a' ? k - 'a' + 'A' : k);
    ASSERT_TRUE(app().WaitIdle());
  }
  std::u16string TextOf(WORD id) {
    return OnUi(app(), [id] {
      WCHAR text[512] = {};
      GetDlgItemTextW(CurrentPage(), id, text, 512);
      return std::u16string(text);
    });
  }
  Shown ReadShown() {
    return OnUi(app(), [] {
      WCHAR header[PAGE_TITLE_CHARS] = {};
      GetDlgItemTextW(SheetWindow(), IDC_PROPSHEET_HEADER, header, PAGE_TITLE_CHARS);
      const HWND page = CurrentPage();
      const WORD id = GetDlgItem(page, IDC_EMAIL_ADDR)   ? IDD_EMAIL_PAGE
                      : GetDlgItem(page, IDC_SMS_NUMBER) ? IDD_SMS_PAGE
                                                         : IDD_ABOUT_PAGE;
      return Shown{header, IsWindowEnabled(g_BackButton.hwndButton) != FALSE,
                   IsWindowEnabled(g_NextButton.hwndButton) != FALSE, id};
    });
  }
  void SetLive(const Live& l) {
    OnUi(app(), [&l] {
      g_Settings.Clear();
      std::memcpy(g_Settings.wszDefaultEmailAddr, l.address.c_str(), 2 * l.address.size());
      std::memcpy(g_Settings.DefaultEmailAccount, l.account.c_str(), 2 * l.account.size());
      std::memcpy(g_Settings.DefaultSMSphoneNumber, l.number.c_str(), 2 * l.number.size());
    });
  }
  Live ReadLive() {
    return OnUi(app(), [] {
      return Live{g_Settings.wszDefaultEmailAddr, g_Settings.DefaultEmailAccount,
                  g_Settings.DefaultSMSphoneNumber};
    });
  }
  void StartOn(const Screen& screen) {
    Start(screen);
    width_ = screen.width;
    height_ = screen.height;
  }
  void Rotate(int width, int height) {
    pda::testing::ChangeScreen(width, height, 192);
    width_ = width;
    height_ = height;
    ASSERT_TRUE(app().WaitIdle());
  }
  int width_ = 0;
  int height_ = 0;
};

// ---- navigation ----------------------------------------------------------------------------
TEST_F(SheetTest, BackAndNextFollowThePageAndASecondOpeningStartsOver) {
  StartOn(kPortraitNormal);
  enum class Do { Open, Next, Back, NextCommand, Cancel };
  const struct Step {
    Do action;
    Shown shown;
  } steps[] = {
      {Do::Open,        {u"Email Settings", false, true,  IDD_EMAIL_PAGE}},
      {Do::Next,        {u"SMS Settings",   true,  true,  IDD_SMS_PAGE}},
      {Do::Next,        {u"About...",       true,  false, IDD_ABOUT_PAGE}},
      // A Next arriving on the last page anyway changes nothing.
      {Do::NextCommand, {u"About...",       true,  false, IDD_ABOUT_PAGE}},
      {Do::Back,        {u"SMS Settings",   true,  true,  IDD_SMS_PAGE}},
      {Do::Back,        {u"Email Settings", false, true,  IDD_EMAIL_PAGE}},
      {Do::Next,        {u"SMS Settings",   true,  true,  IDD_SMS_PAGE}},
      {Do::Cancel,      {}},
      {Do::Open,        {u"Email Settings", false, true,  IDD_EMAIL_PAGE}},
      {Do::Next,        {u"SMS Settings",   true,  true,  IDD_SMS_PAGE}},
  };
  for (const Step& step : steps) {
    switch (step.action) {
      case Do::Open: Open(); break;
      case Do::Next: Navigate(true); break;
      case Do::Back: Navigate(false); break;
      case Do::NextCommand:
        OnUi(app(), [] { SendMessageW(SheetWindow(), WM_COMMAND, IDC_SHEET_NEXT, 0); });
        break;
      case Do::Cancel: SoftKey(false); break;
    }
    if (step.action == Do::Cancel) {
      EXPECT_FALSE(IsOpen());
      continue;
    }
    EXPECT_EQ(ReadShown(), step.shown);
  }
  EXPECT_EQ(pda::testing::DoneButtonState(OnUi(app(), [] { return SheetWindow(); })),
            static_cast<DWORD>(SHDB_HIDE));
  EXPECT_FALSE(OnUi(app(), [] {
    return IsWindowVisible(GetDlgItem(SheetWindow(), IDC_PROPSHEET_TABS)) != FALSE;
  })) << "the tab strip is hidden";
  // A second instance brings the Main window to the front: the sheet stays the one in use.
  EXPECT_TRUE(OnUi(app(), [] {
    SetForegroundWindow(g_hWndMain);
    return GetForegroundWindow() == SheetWindow();
  }));
  SoftKey(true);
  EXPECT_FALSE(IsOpen());
  QuitWithCtrlQ();
}

// ---- the working copy ----------------------------------------------------------------------
// Each scenario starts from the same live record; typed text lands after the field's text.
TEST_F(SheetTest, TheLiveRecordChangesOnlyOnOkAndOnlyWithWhatShownPagesHeld) {
  StartOn(kPortraitNormal);
  const Live before{u"old", u"E-mail", u"555"};
  enum class Do { Address, Number, AccountSms, Next, Back, Ok, Cancel };
  const struct Scenario {
    const char* name;
    std::vector<Do> steps;
    Live after;
  } scenarios[] = {
      {"ok without visiting the SMS page", {Do::Address, Do::Ok}, {u"old12", u"E-mail", u"555"}},
      {"address committed on leaving, then cancel", {Do::Address, Do::Next, Do::Cancel}, before},
      {"number typed, back, ok", {Do::Next, Do::Number, Do::Back, Do::Ok},
       {u"old", u"E-mail", u"55534"}},
      {"ok from the about page applies every page shown",
       {Do::Address, Do::Next, Do::Number, Do::Next, Do::Ok}, {u"old12", u"E-mail", u"55534"}},
      {"account tapped, then cancel", {Do::AccountSms, Do::Cancel}, before},
      {"account tapped, then ok", {Do::AccountSms, Do::Ok}, {u"old", u"SMS", u"555"}},
  };
  for (const Scenario& s : scenarios) {
    SetLive(before);
    Open();
    for (Do step : s.steps) {
      switch (step) {
        case Do::Address: TypeInto(IDC_EMAIL_ADDR, "12"); break;
        case Do::Number: TypeInto(IDC_SMS_NUMBER, "34"); break;
        case Do::AccountSms: {
          const RECT list = RectOf(Control(IDC_EMAIL_ACCOUNTS));
          const int row = OnUi(app(), [] {
            return static_cast<int>(SendMessageW(GetDlgItem(CurrentPage(), IDC_EMAIL_ACCOUNTS),
                                                 LB_GETITEMHEIGHT, 0, 0));
          });
          app().Tap(list.left + 10, list.top + 2 + row + row / 2);  // the second row, "SMS"
          ASSERT_TRUE(app().WaitIdle());
          break;
        }
        case Do::Next: Navigate(true); break;
        case Do::Back: Navigate(false); break;
        case Do::Ok: SoftKey(true); break;
        case Do::Cancel: SoftKey(false); break;
      }
    }
    EXPECT_FALSE(IsOpen()) << s.name;
    EXPECT_EQ(ReadLive(), s.after) << s.name;
  }
  QuitWithCtrlQ();
  const std::string file = root_.Read("Program Files/Zazorudu/Zazorudu.settings.txt");
  EXPECT_NE(file.find("DefaultEmailAccount=SMS\r\n"), std::string::npos) << file;
}

// ---- the account list ----------------------------------------------------------------------
TEST_F(SheetTest, TheAccountListIsSortedSelectsTheFirstNameWithinTheStoredOneOrSaysWhyNot) {
  StartOn(kPortraitNormal);
  const struct Case {
    std::vector<std::u16string> names;
    int count;
    std::u16string stored;
    std::vector<std::u16string> rows;
    int selected;  // row index, -1 for none
    bool enabled;
  } cases[] = {
      {{u"Work", u"Home"}, 2, u"Work", {u"Home", u"Work"}, 1, true},
      {{u"Mail", u"Work Mail"}, 2, u"Work Mail", {u"Mail", u"Work Mail"}, 0, true},
      {{u"Work Mail", u"Mail"}, 2, u"Work Mail", {u"Mail", u"Work Mail"}, 1, true},
      {{u"Work", u"Home"}, 2, u"", {u"Home", u"Work"}, -1, true},
      {{u"Work", u"Home"}, 2, u"Elsewhere", {u"Home", u"Work"}, -1, true},
      {{}, 0, u"Work", {u"No email accounts found."}, -1, false},
      {{}, -1, u"Work", {u"Error retreiving accounts"}, -1, false},
  };
  for (const Case& c : cases) {
    OnUi(app(), [&c] {
      std::memset(&g_AccountList, 0, sizeof g_AccountList);
      g_AccountList.count = c.count;
      for (std::size_t i = 0; i < c.names.size(); ++i)
        std::memcpy(g_AccountList.names[i], c.names[i].c_str(), 2 * c.names[i].size());
    });
    SetLive({u"a", c.stored, u"1"});
    Open();
    const auto [rows, selected, enabled] = OnUi(app(), [] {
      const HWND page = CurrentPage();
      const HWND list = GetDlgItem(page, IDC_EMAIL_ACCOUNTS);
      std::vector<std::u16string> texts;
      for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        WCHAR text[ACCOUNT_NAME_CHARS] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        texts.emplace_back(text);
      }
      int on = 0;
      for (WORD id : {IDC_EMAIL_ADDR_LABEL, IDC_EMAIL_ACCOUNT_LABEL, IDC_EMAIL_ADDR, IDC_EMAIL_ACCOUNTS})
        on += IsWindowEnabled(GetDlgItem(page, id)) ? 1 : 0;
      return std::tuple(texts, static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)), on);
    });
    const std::string name(c.stored.begin(), c.stored.end());
    EXPECT_EQ(rows, c.rows) << name;
    EXPECT_EQ(selected, c.selected) << name;
    EXPECT_EQ(enabled, c.enabled ? 4 : 0) << name;
    SoftKey(true);
    EXPECT_EQ(ReadLive().account, c.stored) << "a selection alone changes nothing: " << name;
  }
  QuitWithCtrlQ();
}

// ---- the fields ----------------------------------------------------------------------------
TEST_F(SheetTest, FieldsKeepTheirLimitsTheNumberTakesDigitsAndHoldingOffersCopyAndPaste) {
  StartOn(kPortraitNormal);
  SetLive({std::u16string(254, u'a'), u"E-mail", u""});
  Open();
  TypeInto(IDC_EMAIL_ADDR, "bc");
  EXPECT_EQ(TextOf(IDC_EMAIL_ADDR), std::u16string(254, u'a') + u"b") << "255 and no more";
  Navigate(true);

  const HWND number = Control(IDC_SMS_NUMBER);
  OnUi(app(), [number] {
    SetFocus(number);
    for (char16_t c : u"1a +2") SendMessageW(number, WM_CHAR, c, 0);
  });
  EXPECT_EQ(TextOf(IDC_SMS_NUMBER), u"12") << "letters, spaces and plus signs are refused";

  // A short tap opens no menu; holding still opens Copy and Paste at the stylus.
  const RECT field = RectOf(number);
  const int x = field.left + 6, y = (field.top + field.bottom) / 2;
  app().Tap(x, y);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_FALSE(pda::testing::OpenPopupMenu().has_value());
  auto hold = [&] {
    app().Press(x, y);
    ASSERT_TRUE(app().WaitIdle());
    pda::testing::AdvanceClock(600);
    ASSERT_TRUE(app().WaitIdle());
  };
  auto choose = [&](std::size_t item) {
    const auto menu = pda::testing::OpenPopupMenu();
    ASSERT_TRUE(menu.has_value()) << "no menu after holding still";
    ASSERT_EQ(menu->items.size(), 2u);
    EXPECT_EQ(menu->items[0].text, u"Copy");
    EXPECT_EQ(menu->items[1].text, u"Paste");
    app().Release(x, y);
    const RECT r = menu->items[item].rect;
    app().Tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(app().WaitIdle());
  };
  OnUi(app(), [number] { SendMessageW(number, EM_SETSEL, 0, -1); });
  hold();
  choose(0);
  EXPECT_EQ(app().ClipboardText(), "12");

  app().SetClipboardText("3456789012345678901234567890123456789");
  OnUi(app(), [number] { SendMessageW(number, EM_SETSEL, 2, 2); });
  hold();
  choose(1);
  EXPECT_EQ(TextOf(IDC_SMS_NUMBER), u"1234567890123456789012345678901") << "31 and no more";

  // Dismissed by a tap outside: nothing changes.
  hold();
  ASSERT_TRUE(pda::testing::OpenPopupMenu().has_value());
  app().Release(x, y);
  app().Tap(width_ / 2, height_ / 2);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_FALSE(pda::testing::OpenPopupMenu().has_value());
  EXPECT_EQ(OnUi(app(), [] { return GetCapture(); }), HWND{}) << "the field keeps no stylus";
  EXPECT_EQ(TextOf(IDC_SMS_NUMBER), u"1234567890123456789012345678901");

  SoftKey(true);
  const Live live = ReadLive();
  EXPECT_EQ(live.address, std::u16string(254, u'a') + u"b");
  EXPECT_EQ(live.number, u"1234567890123456789012345678901");
  QuitWithCtrlQ();
}

// ---- scrolling, the input panel and rotation -----------------------------------------------
struct PageLayout {
  bool scrolls;
  int max;
  UINT page;
  int height;      // of the page window
  int buttonsTop;  // Back's top, screen coordinates
};

class SheetLayoutTest : public SheetTest {
 protected:
  PageLayout Layout() {
    return OnUi(app(), [] {
      const HWND page = CurrentPage();
      SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
      const bool scrolls = (GetWindowLongW(page, GWL_STYLE) & WS_VSCROLL) != 0;
      if (scrolls) GetScrollInfo(page, SB_VERT, &si);
      const RECT r = ScreenRect(page);
      return PageLayout{scrolls, si.nMax, si.nPage, r.bottom - r.top,
                        ScreenRect(g_BackButton.hwndButton).top};
    });
  }
};

// The page's visible height is the sheet less the soft-key strip, the Back/Next strip, the header
// line and the input panel; below 0.44 times the screen width the page scrolls.
TEST_F(SheetLayoutTest, APageScrollsWhileShorterThanTheThresholdAndScrollsBackWhenTaller) {
  StartOn(kLandscapeHigh);  // 640 x 480 at 192 DPI: bars of 52
  Open();
  const int bar = 52, panel = 160;  // 26 and 80 at 96 DPI
  const RECT pageRect = RectOf(OnUi(app(), [] { return CurrentPage(); }));
  const int full = (480 - bar) - 2 * bar - (pageRect.top - bar);
  PageLayout l = Layout();
  EXPECT_TRUE(l.scrolls) << full << " < 0.44 * 640";
  EXPECT_EQ(l.height, full);
  EXPECT_EQ(l.max, static_cast<int>(0.84 * 640 - full));
  EXPECT_EQ(l.page, static_cast<UINT>(full / 4));
  EXPECT_EQ(l.buttonsTop, 480 - 2 * bar);

  // The bar's down arrow scrolls the fields up by a quarter page.
  const HWND field = Control(IDC_EMAIL_ADDR);
  const int fieldTop = RectOf(field).top;
  const int arrow = GetSystemMetrics(SM_CXVSCROLL);
  app().Tap(640 - arrow / 2, pageRect.top + l.height - arrow / 2);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(RectOf(field).top, fieldTop - static_cast<int>(l.page / 4));

  // The input panel: Back and Next move above it, the page shrinks by its height.
  InputPanelButton();
  const PageLayout up = Layout();
  EXPECT_EQ(up.height, full - panel);
  EXPECT_EQ(up.buttonsTop, 480 - 2 * bar - panel);
  EXPECT_EQ(up.max, static_cast<int>(0.84 * 640 - (full - panel)));
  Rotate(480, 640);
  EXPECT_EQ(Layout().buttonsTop, 640 - 2 * bar - panel) << "turned with the panel up: still above it";
  Rotate(640, 480);
  InputPanelButton();

  // Turned to portrait the page is tall enough: back to position 0 and no bar.
  Rotate(480, 640);
  l = Layout();
  EXPECT_FALSE(l.scrolls);
  EXPECT_EQ(RectOf(field).top, fieldTop) << "the fields are back where they were unscrolled";
  EXPECT_EQ(l.buttonsTop, 640 - 2 * bar);
  EXPECT_EQ(OnUi(app(), [] { return g_BackButton.imageWidth; }), 240) << "images rebuilt";
  SoftKey(false);
  QuitWithCtrlQ();
}

// The maker line and the web address sit at the bottom of the visible page, above the panel
// when it is up, and the description is centred between the release line and them.
TEST_F(SheetLayoutTest, TheAboutPagesLowerLinesStayAtTheBottomOfTheVisiblePage) {
  StartOn(kPortraitNormal);
  Open();
  Navigate(true);
  Navigate(true);
  auto lines = [&] {
    return OnUi(app(), [] {
      const HWND page = CurrentPage();
      RECT page_r = ScreenRect(page);
      std::vector<RECT> r;
      for (WORD id : {IDC_ABOUT_RELEASE, IDC_ABOUT_DESCRIPTION, IDC_ABOUT_MAKER, IDC_ABOUT_WEB}) {
        const RECT c = ScreenRect(GetDlgItem(page, id));
        r.push_back(RECT{c.left, c.top - page_r.top, c.right, c.bottom - page_r.top});
      }
      r.push_back(RECT{0, 0, 0, PageFrameOf(page).full});
      return r;
    });
  };
  for (const bool panelUp : {false, true}) {
    if (panelUp) {
      InputPanelButton();
      OnUi(app(), [] { InvalidateRect(CurrentPage(), nullptr, TRUE); });  // the next paint
      ASSERT_TRUE(app().WaitIdle());
    }
    const int panel = panelUp ? 80 : 0;  // at 96 DPI
    const std::vector<RECT> r = lines();
    const int visibleBottom = r[4].bottom - panel;
    EXPECT_EQ(r[3].bottom, visibleBottom - 2) << "web address, panel " << panelUp;
    EXPECT_EQ(r[2].bottom, r[3].top - 2) << "maker line, panel " << panelUp;
    const int above = r[1].top - r[0].bottom, below = r[2].top - r[1].bottom;
    EXPECT_LE(std::abs(above - below), 1) << "description centred, panel " << panelUp;
  }
  SoftKey(false);
  QuitWithCtrlQ();
}

// ---- the Back and Next images --------------------------------------------------------------
// Held down, Back is light at its left edge and dark at its right, Next the mirror image; a
// disabled button's caption is grey.
TEST_F(SheetTest, PressedButtonsShowTheirGradientAndDisabledOnesAGreyCaption) {
  StartOn(kPortraitHigh);
  Open();
  auto count = [&](HWND button, COLORREF colour) {
    const RECT r = RectOf(button);
    const PixelBlock block = ReadBlock(app(), r.left, r.top, r.right - r.left, r.bottom - r.top);
    int n = 0;
    for (COLORREF c : block.pixels) n += c == colour ? 1 : 0;
    return n;
  };
  EXPECT_GT(count(BackButton(), SHEET_BUTTON_GREY), 20) << "Back disabled on the first page";
  EXPECT_EQ(count(BackButton(), SHEET_BUTTON_CAPTION), 0);
  EXPECT_GT(count(NextButton(), SHEET_BUTTON_CAPTION), 20);
  Navigate(true);
  EXPECT_GT(count(BackButton(), SHEET_BUTTON_CAPTION), 20) << "enabled again: white";

  for (const bool back : {true, false}) {
    const RECT r = RectOf(back ? BackButton() : NextButton());
    const int y = r.top + 2;
    app().Press((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(app().WaitIdle());
    const COLORREF left = app().ReadPixel(r.left, y), right = app().ReadPixel(r.right - 1, y);
    EXPECT_EQ(back ? left : right, SHEET_BUTTON_LIGHT) << "light end, back " << back;
    EXPECT_EQ(back ? right : left, SHEET_BUTTON_FILL) << "dark end, back " << back;
    app().MoveTo(r.left + 1, r.top - 40);  // slide off: nothing is pressed
    app().Release(r.left + 1, r.top - 40);
    ASSERT_TRUE(app().WaitIdle());
    EXPECT_EQ(app().ReadPixel(r.left, y), SHEET_BUTTON_FILL) << "released, back " << back;
  }
  EXPECT_EQ(ReadShown().page, IDD_SMS_PAGE) << "a press slid off is no command";
  SoftKey(false);
  QuitWithCtrlQ();
}

}  // namespace
}  // namespace zaz::testing
