// The SDL back end on SDL's dummy video driver: the window is made when the first top-level
// window is shown (and not before), a pushed mouse event becomes WM_LBUTTONDOWN for the window
// under it (the secondary button too, marked MK_RBUTTON), the clipboard goes both ways through
// SDL, and F9 rotates the screen (WM_SIZE, WM_SETTINGCHANGE 0x3002). The windows live on this
// thread, which plays the UI thread and pumps its messages.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "backend/backend.h"
#include "display/display.h"
#include "pda/clipboard.h"
#include "user_fixture.h"

namespace pda::user_test {
namespace {

class SdlTest : public UserTest {
 protected:
  static void SetUpTestSuite() {
    pda::testing::ChangeScreen(480, 640, 192);
    pda::backend::Options options;
    options.zoom = 2;
    ASSERT_TRUE(pda::backend::Start("sdl", options));
  }
  static void TearDownTestSuite() { pda::backend::Stop(); }

  // Pumps this thread's messages until `done` or the limit passes.
  template <class Done>
  bool PumpUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      MSG msg;
      while (PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }
};

TEST_F(SdlTest, WindowIsMadeOnTheFirstShowAtTheZoomedDeviceSize) {
  // The back end's thread owns the window; it is asked of SDL's window list.
  HWND hidden = Make(0);
  Drain();
  EXPECT_EQ(SDL_GetWindowFromID(1), nullptr) << "a window before any was shown";
  ShowWindow(hidden, SW_SHOW);
  ASSERT_TRUE(PumpUntil([] { return SDL_GetWindowFromID(1) != nullptr; }));
  SDL_Window* window = SDL_GetWindowFromID(1);
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 1280);
}

TEST_F(SdlTest, PushedMouseButtonBecomesButtonDownInDeviceCoordinates) {
  HWND window = Make(WS_VISIBLE, HWND{}, 100, 100, 50, 50);
  Drain();
  Recorder::Get().Clear();
  LPARAM where = -1;
  Recorder::Get().On(WM_LBUTTONDOWN, [&](HWND, WPARAM, LPARAM l) -> LRESULT {
    where = l;
    return 0;
  });
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.state = SDL_PRESSED;
  e.button.x = 2 * 110;  // zoom 2
  e.button.y = 2 * 120 + 1;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  ASSERT_TRUE(PumpUntil([&] { return where != -1; }));
  EXPECT_EQ(where, MAKELPARAM(10, 20));
  EXPECT_EQ(Recorder::Get().NamesFor(window), (std::vector<std::string>{"WM_LBUTTONDOWN"}));
  e.type = SDL_MOUSEBUTTONUP;
  e.button.state = SDL_RELEASED;
  SDL_PushEvent(&e);
  ASSERT_TRUE(PumpUntil([&] { return Recorder::Get().NamesFor(window).size() == 2; }));
}

TEST_F(SdlTest, SecondaryButtonIsAStylusPressMarkedRightButtonEndedByItsOwnRelease) {
  HWND window = Make(WS_VISIBLE, HWND{}, 100, 100, 50, 50);
  Drain();
  Recorder::Get().Clear();
  std::vector<WPARAM> buttons;  // of each stylus message, in order
  Recorder::Get().On(WM_LBUTTONUP, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
    buttons.push_back(w);
    return 0;
  });
  bool rightHeld = false;
  Recorder::Get().On(WM_LBUTTONDOWN, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
    buttons.push_back(w);
    rightHeld = GetKeyState(VK_RBUTTON) < 0;  // what SHRecognizeGesture reads
    return 0;
  });
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.button = SDL_BUTTON_RIGHT;
  e.button.state = SDL_PRESSED;
  e.button.x = 2 * 110;
  e.button.y = 2 * 120;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  e.type = SDL_MOUSEBUTTONUP;  // the other button's release does not end the press
  e.button.button = SDL_BUTTON_LEFT;
  e.button.state = SDL_RELEASED;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  e.button.button = SDL_BUTTON_RIGHT;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  ASSERT_TRUE(PumpUntil([&] { return buttons.size() == 2; }));
  EXPECT_EQ(buttons, (std::vector<WPARAM>{MK_LBUTTON | MK_RBUTTON, 0}));
  EXPECT_TRUE(rightHeld);
  EXPECT_EQ(Recorder::Get().NamesFor(window),
            (std::vector<std::string>{"WM_LBUTTONDOWN", "WM_LBUTTONUP"}));
}

TEST_F(SdlTest, ClipboardGoesBothWaysThroughSdl) {
  const std::u16string text = u"47.6062095,-122.3320708 é";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  auto* p = static_cast<char16_t*>(GlobalLock(block));
  std::copy(text.c_str(), text.c_str() + text.size() + 1, p);
  GlobalUnlock(block);
  ASSERT_TRUE(OpenClipboard(HWND{}));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, block);
  ASSERT_TRUE(CloseClipboard());  // hands the text to SDL and waits for it
  char* desktop = SDL_GetClipboardText();
  EXPECT_STREQ(desktop, "47.6062095,-122.3320708 \xC3\xA9");
  SDL_free(desktop);

  ASSERT_EQ(SDL_SetClipboardText("from the desktop \xC3\xA9"), 0);
  ASSERT_TRUE(OpenClipboard(HWND{}));
  HGLOBAL got = GetClipboardData(CF_UNICODETEXT);
  ASSERT_TRUE(got);
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GlobalLock(got))), u"from the desktop é");
  GlobalUnlock(got);
  CloseClipboard();
}

TEST_F(SdlTest, F9RotatesTheScreen) {
  HWND window = Make(WS_VISIBLE);  // default placement: follows the screen
  SetForegroundWindow(window);
  Drain();
  Recorder::Get().Clear();
  WPARAM setting = 0;
  Recorder::Get().On(WM_SETTINGCHANGE, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
    setting = w;
    return 0;
  });
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.state = SDL_PRESSED;
  e.key.keysym.sym = SDLK_F9;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  ASSERT_TRUE(PumpUntil([&] { return setting != 0; }));
  EXPECT_EQ(setting, SETTINGCHANGE_RESET);
  const auto names = Recorder::Get().NamesFor(window);
  EXPECT_NE(std::find(names.begin(), names.end(), "WM_SIZE"), names.end());
  EXPECT_EQ(pda::display::CurrentScreen().width, 640);
  EXPECT_EQ(pda::display::CurrentScreen().height, 480);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 640);
  // And back, so that the other tests see the screen they expect.
  setting = 0;
  SDL_PushEvent(&e);
  ASSERT_TRUE(PumpUntil([&] { return setting != 0; }));
  EXPECT_EQ(pda::display::CurrentScreen().width, 480);
}

}  // namespace
}  // namespace pda::user_test

int main(int argc, char** argv) {
  // No X server is needed: SDL's dummy driver has a window surface and a clipboard.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
