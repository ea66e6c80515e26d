// The input panel: raising and lowering it tells the top-level windows, its information record,
// windows fitted above it, activation bookkeeping, and keys that type into the focus window.
#include <algorithm>
#include <string>
#include <vector>

#include "display/display.h"
#include "shell/keyboard_layout.h"
#include "shell/shell_metrics.h"
#include "shell_fixture.h"

namespace pda::shell_test {
namespace {

using pda::shell::KeyAction;
using pda::shell::KeyboardPage;

class InputPanelTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    first_ = Make(WS_VISIBLE);
    second_ = Make(WS_VISIBLE);
    pda::user_test::Recorder::Get().On(WM_SETTINGCHANGE, [this](HWND window, WPARAM w, LPARAM) {
      if (w == SPI_SETSIPINFO) told_.push_back(window);
      return LRESULT{0};
    });
  }
  static SIPINFO Info() {
    SIPINFO info{};
    info.cbSize = SIPINFO_PUBLISHED_SIZE;
    EXPECT_TRUE(SipGetInfo(&info));
    return info;
  }
  int Told(HWND window) const {
    return static_cast<int>(std::count(told_.begin(), told_.end(), window));
  }
  // Taps the key of the letters or symbols page that shows `label` (or types `c`).
  void TapKey(KeyboardPage page, KeyAction action, char16_t c = 0) {
    const HWND panel = pda::testing::InputPanelWindow();
    ASSERT_TRUE(panel);
    RECT client{};
    GetClientRect(panel, &client);
    for (const auto& placed : pda::shell::LayOutKeyboard(page, client)) {
      if (placed.key.action == action && (action != KeyAction::Character || placed.key.plain == c)) {
        Tap(panel, Centre(placed.rect));
        return;
      }
    }
    FAIL() << "no such key";
  }

  HWND first_, second_;
  std::vector<HWND> told_;
};

TEST_F(InputPanelTest, RaisingItTellsEveryTopLevelWindowAndReportsItsRectangle) {
  ASSERT_TRUE(SHSipPreference(first_, SIP_UP));
  EXPECT_EQ(Told(first_), 1);
  EXPECT_EQ(Told(second_), 1);

  const SIPINFO info = Info();
  EXPECT_TRUE(info.fdwFlags & SIPF_ON);
  const int height = info.rcSipRect.bottom - info.rcSipRect.top;
  EXPECT_EQ(height, pda::shell::InputPanelHeight());
  EXPECT_EQ(height, 160);  // 80 pixels at 96 DPI, on a 192 DPI screen
  EXPECT_EQ(info.rcSipRect.bottom, 640 - pda::display::BarHeight());  // right above the menu bar
  EXPECT_EQ(info.rcVisibleDesktop.bottom, info.rcSipRect.top);
  EXPECT_EQ(info.rcVisibleDesktop.top, pda::display::BarHeight());
  RECT window{};
  GetWindowRect(pda::testing::InputPanelWindow(), &window);
  EXPECT_EQ(window.top, info.rcSipRect.top);
  EXPECT_TRUE(IsWindowVisible(pda::testing::InputPanelWindow()));
  EXPECT_EQ(GetForegroundWindow(), second_);  // the panel never takes the foreground

  // Asking again changes nothing and tells nobody; forcing it down tells everyone once more.
  told_.clear();
  SHSipPreference(first_, SIP_UP);
  SHSipPreference(first_, SIP_UNCHANGED);
  EXPECT_TRUE(told_.empty());
  SHSipPreference(first_, SIP_FORCEDOWN);
  EXPECT_EQ(Told(first_), 1);
  EXPECT_EQ(Told(second_), 1);
  EXPECT_FALSE(Info().fdwFlags & SIPF_ON);
  EXPECT_FALSE(IsWindowVisible(pda::testing::InputPanelWindow()));
}

TEST_F(InputPanelTest, SipGetInfoWantsThePublishedSizeAsItsMark) {
  SIPINFO info{};
  info.cbSize = sizeof(SIPINFO);  // the host's size, not the published 48
  EXPECT_FALSE(SipGetInfo(&info));
  EXPECT_FALSE(SipGetInfo(nullptr));
  info.cbSize = SIPINFO_PUBLISHED_SIZE;
  EXPECT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
  info.fdwFlags = SIPF_ON;
  EXPECT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &info, 0));
  EXPECT_TRUE(Info().fdwFlags & SIPF_ON);
}

TEST_F(InputPanelTest, SettingChangeFitsTheWindowAboveThePanelAndBackAboveTheMenuBar) {
  RECT before{};
  GetWindowRect(first_, &before);
  SHACTIVATEINFO sai{};
  sai.cbSize = sizeof sai;
  sai.fActive = 1;
  SipShowIM(SIPF_ON);
  ASSERT_TRUE(SHHandleWMSettingChange(first_, SPI_SETSIPINFO, 0, &sai));
  RECT rect{};
  GetWindowRect(first_, &rect);
  EXPECT_EQ(rect.top, before.top);
  EXPECT_EQ(rect.bottom, Info().rcSipRect.top);
  EXPECT_EQ(sai.fSipUp, 1u);

  SipShowIM(SIPF_OFF);
  ASSERT_TRUE(SHHandleWMSettingChange(first_, SPI_SETSIPINFO, 0, &sai));
  GetWindowRect(first_, &rect);
  EXPECT_EQ(rect.bottom, 640 - pda::display::BarHeight());
  EXPECT_EQ(sai.fSipUp, 0u);
  EXPECT_FALSE(SHHandleWMSettingChange(first_, SETTINGCHANGE_RESET, 0, &sai));
}

TEST_F(InputPanelTest, ActivationPutsThePanelBackAsTheWindowLastHadIt) {
  SHACTIVATEINFO sai{};
  sai.cbSize = sizeof sai;
  SipShowIM(SIPF_ON);
  sai.fSipUp = 1;
  ASSERT_TRUE(SHHandleWMActivate(first_, MAKEWPARAM(WA_INACTIVE, 0), 0, &sai, 0));
  EXPECT_EQ(sai.fSipOnDeactivation, 1u);
  EXPECT_EQ(sai.fActive, 0u);
  SipShowIM(SIPF_OFF);  // another window lowered it meanwhile
  ASSERT_TRUE(SHHandleWMActivate(first_, MAKEWPARAM(WA_ACTIVE, 0), 0, &sai, 0));
  EXPECT_EQ(sai.fActive, 1u);
  EXPECT_TRUE(Info().fdwFlags & SIPF_ON);

  // A fresh record on every activation (as the program passes) lowers the panel.
  SHACTIVATEINFO fresh{};
  fresh.cbSize = sizeof fresh;
  ASSERT_TRUE(SHHandleWMActivate(first_, MAKEWPARAM(WA_ACTIVE, 0), 0, &fresh, 0));
  EXPECT_FALSE(Info().fdwFlags & SIPF_ON);
  fresh.cbSize = 16;
  EXPECT_FALSE(SHHandleWMActivate(first_, MAKEWPARAM(WA_ACTIVE, 0), 0, &fresh, 0));

  // A settings change handed on in place of an activation leaves the panel up.
  SipShowIM(SIPF_ON);
  fresh = SHACTIVATEINFO{};
  fresh.cbSize = sizeof fresh;
  EXPECT_FALSE(SHHandleWMActivate(first_, SPI_SETSIPINFO, 0, &fresh, 0));
  EXPECT_TRUE(Info().fdwFlags & SIPF_ON);
}

class TypingTest : public InputPanelTest {
 protected:
  void SetUp() override {
    InputPanelTest::SetUp();
    SetFocus(first_);
    pda::user_test::Recorder::Get().On(WM_CHAR, [this](HWND window, WPARAM w, LPARAM) {
      if (window == first_) typed_ += static_cast<char16_t>(w);
      return LRESULT{0};
    });
    SipShowIM(SIPF_ON);
  }
  std::u16string typed_;
};

TEST_F(TypingTest, ATapOnAKeyTypesItsCharacterIntoTheFocusWindow) {
  TapKey(KeyboardPage::Letters, KeyAction::Character, u'q');
  EXPECT_EQ(typed_, u"q");
  // Key down, character, key up, in that order, all to the focus window.
  std::vector<std::string> keys;
  for (const auto& name : pda::user_test::Recorder::Get().NamesFor(first_))
    if (name == "WM_KEYDOWN" || name == "WM_CHAR" || name == "WM_KEYUP") keys.push_back(name);
  EXPECT_EQ(keys, (std::vector<std::string>{"WM_KEYDOWN", "WM_CHAR", "WM_KEYUP"}));
  const auto others = pda::user_test::Recorder::Get().NamesFor(second_);
  EXPECT_EQ(std::count(others.begin(), others.end(), "WM_CHAR"), 0);
}

TEST_F(TypingTest, ShiftHoldsForOneLetterAndTheSymbolsPageTypesSymbols) {
  TapKey(KeyboardPage::Letters, KeyAction::Shift);
  TapKey(KeyboardPage::Letters, KeyAction::Character, u'h');
  TapKey(KeyboardPage::Letters, KeyAction::Character, u'i');
  TapKey(KeyboardPage::Letters, KeyAction::Space);
  TapKey(KeyboardPage::Letters, KeyAction::Symbols);
  TapKey(KeyboardPage::Symbols, KeyAction::Character, u'#');
  TapKey(KeyboardPage::Symbols, KeyAction::Letters);
  TapKey(KeyboardPage::Letters, KeyAction::Character, u'7');
  TapKey(KeyboardPage::Letters, KeyAction::Backspace);
  TapKey(KeyboardPage::Letters, KeyAction::Enter);
  EXPECT_EQ(typed_, u"Hi #7\b\r");
}

TEST_F(TypingTest, ALoopThatTranslatesKeysStillTypesEachCharacterOnce) {
  TapKey(KeyboardPage::Letters, KeyAction::Character, u'a');  // handled by Drain already
  typed_.clear();
  const HWND panel = pda::testing::InputPanelWindow();
  RECT client{};
  GetClientRect(panel, &client);
  for (const auto& placed : pda::shell::LayOutKeyboard(KeyboardPage::Letters, client))
    if (placed.key.plain == u'z') {
      SendMessageW(panel, WM_LBUTTONDOWN, 0, MAKELPARAM(static_cast<WORD>(Centre(placed.rect).x), static_cast<WORD>(Centre(placed.rect).y)));
      SendMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(Centre(placed.rect).x), static_cast<WORD>(Centre(placed.rect).y)));
    }
  MSG msg;
  while (PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  EXPECT_EQ(typed_, u"z");
}

TEST(KeyboardLayout, KeysTileThePanelAndEachKeyIsFoundAtItsCentre) {
  for (KeyboardPage page : {KeyboardPage::Letters, KeyboardPage::Symbols})
    for (RECT panel : {RECT{0, 0, 240, 80}, RECT{0, 0, 480, 160}, RECT{0, 0, 640, 160}}) {
      long area = 0;
      for (const auto& placed : pda::shell::LayOutKeyboard(page, panel)) {
        const RECT& r = placed.rect;
        EXPECT_GT(r.right, r.left);
        area += static_cast<long>(r.right - r.left) * (r.bottom - r.top);
        const auto found = pda::shell::KeyAt(page, panel, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        ASSERT_TRUE(found);
        EXPECT_EQ(found->rect.left, r.left);
        EXPECT_EQ(found->rect.top, r.top);
      }
      EXPECT_EQ(area, static_cast<long>(panel.right) * panel.bottom);
    }
}

}  // namespace
}  // namespace pda::shell_test
