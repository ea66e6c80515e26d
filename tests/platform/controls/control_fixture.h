// Shared by the control tests: a 480x640 screen at 96 DPI, the control classes, an empty
// clipboard, and a shown top-level parent whose procedure passes every message to the test's
// hook first; the text of a window and SendMessage in short.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "controls/controls.h"
#include "gdi/pixels.h"
#include "pda/controls.h"
#include "pda/gdi.h"
#include "pda/testing/clipboard.h"
#include "pda/testing/user.h"
#include "user/screen_surface.h"

namespace control_test {

inline LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(window, message, wParam, lParam);
}

inline std::u16string TextOf(HWND window) {
  std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// What the parent does with a message before its default handling (WM_DRAWITEM answers TRUE).
using ParentHook = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pda::testing::ChangeScreen(480, 640, 96);
    pda::testing::ResetClipboard();
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
    pda::testing::ResetClipboard();
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
