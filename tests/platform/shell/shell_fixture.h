// Shared by the shell's tests: recorder windows (from the window manager's tests), a clean shell
// before and after each test, the menus of the program registered under an instance, and taps
// posted to the shell's windows (the window manager routes no stylus input yet).
#pragma once

#include <array>

#include "pda/resources.h"
#include "pda/shell.h"
#include "pda/testing/shell.h"
#include "user_fixture.h"

namespace pda::shell_test {

inline const HINSTANCE kInstance{0x6100};
inline constexpr UINT kExit = 40100, kSettings = 2000, kCancel = 40110, kSave = 40120;

class ShellTest : public pda::user_test::UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    pda::testing::ResetShell();
    static const MenuItemResource main[] = {{kExit, u"Exit", MF_STRING},
                                            {kSettings, u"Settings", MF_STRING}};
    static const MenuItemResource notes[] = {{kCancel, u"Cancel", MF_STRING},
                                             {kSave, u"Save", MF_GRAYED}};
    static const std::array<MenuResource, 2> menus{{{40001, main}, {40005, notes}}};
    ASSERT_TRUE(RegisterResources(kInstance, {.menus = menus}));
  }
  void TearDown() override {
    pda::testing::ResetShell();
    UserTest::TearDown();
  }

  // Press and release at (x, y) of the window's client area, then handle what followed.
  static void Tap(HWND window, POINT down, POINT up) {
    SendMessageW(window, WM_LBUTTONDOWN, 0, MAKELPARAM(static_cast<WORD>(down.x), static_cast<WORD>(down.y)));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(up.x), static_cast<WORD>(up.y)));
    Drain();
  }
  static void Tap(HWND window, POINT at) { Tap(window, at, at); }
  static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
};

}  // namespace pda::shell_test
