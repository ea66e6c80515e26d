// Shared by the control tests: a 480x640 screen at 96 DPI, the control classes, and a shown
// top-level parent whose procedure passes every message to the test's `parentHook` first.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "controls/controls.h"
#include "gdi/pixels.h"
#include "pda/controls.h"
#include "pda/gdi.h"
#include "pda/testing/user.h"
#include "user/screen_surface.h"

namespace control_test {

// What the parent does with a message before its default handling (WM_DRAWITEM answers TRUE).
using ParentHook = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pda::testing::ChangeScreen(480, 640, 96);
    ASSERT_TRUE(pda::controls::RegisterControlClasses());
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = ParentProcedure;
      wc.lpszClassName = u"ControlParent";
      return RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    parent_ = CreateWindowExW(0, u"ControlParent", u"", WS_VISIBLE, 0, 0, 480, 640, HWND{},
                              HANDLE{}, HINSTANCE{}, nullptr);
    ASSERT_TRUE(parent_);
    Drain();
  }
  void TearDown() override {
    DestroyWindow(parent_);
    Hook() = nullptr;
    Drain();
  }
  static ParentHook& Hook() {
    static ParentHook hook;
    return hook;
  }
  static void Drain() {
    MSG msg;
    while (PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  static LPARAM At(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
  }
  static COLORREF ScreenAt(int x, int y) {
    return pda::gdi::ColorrefFromPixel(pda::user::ScreenPixels()->Color(x, y));
  }
  HWND parent_;

 private:
  static LRESULT ParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Hook()) Hook()(message, wParam, lParam);
    return message == WM_DRAWITEM ? TRUE : DefWindowProcW(window, message, wParam, lParam);
  }
};

}  // namespace control_test
