// The test harness over the headless back end and the shared input routing.
#include "pda/testing/harness.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "backend/backend.h"
#include "gdi/png_codec.h"
#include "pda/testing/clipboard.h"
#include "user/input_router.h"
#include "user/message_queue.h"
#include "user/screen_surface.h"

namespace pda::testing {

struct Harness::State {
  std::mutex mutex;
  std::condition_variable changed;
  DWORD uiThread = 0;
  bool ended = false;
  int exitCode = 0;
  std::thread thread;
  user::StylusRouter stylus;
  bool backendStarted = false;
};

Harness::Harness(EntryFunction entry) : state_(std::make_shared<State>()) {
  state_->backendStarted = backend::Boot("headless", backend::Options{});
  state_->thread = std::thread([state = state_, entry] {
    {
      std::lock_guard lock(state->mutex);
      state->uiThread = GetCurrentThreadId();
    }
    state->changed.notify_all();
    const int result = backend::RunEntry(entry);
    {
      std::lock_guard lock(state->mutex);
      state->exitCode = result;
      state->ended = true;
    }
    state->changed.notify_all();
  });
  std::unique_lock lock(state_->mutex);
  state_->changed.wait(lock, [&] { return state_->uiThread != 0; });
}

Harness::~Harness() {
  if (!Ended()) PostQuit(0);
  if (Join() && state_->thread.joinable()) {
    state_->thread.join();
  } else if (state_->thread.joinable()) {
    // A UI thread that does not end cannot be joined; leaving it is the least harm.
    state_->thread.detach();
  }
  if (state_->backendStarted) backend::Stop();
}

void Harness::Tap(int x, int y) {
  Press(x, y);
  Release(x, y);
}
void Harness::Press(int x, int y) { state_->stylus.Down(POINT{x, y}); }
void Harness::PressSecondary(int x, int y) { state_->stylus.Down(POINT{x, y}, true); }
void Harness::MoveTo(int x, int y) { state_->stylus.Move(POINT{x, y}); }
void Harness::Release(int x, int y) { state_->stylus.Up(POINT{x, y}); }

void Harness::Key(int virtualKey, KeyModifiers modifiers) {
  if (modifiers.ctrl) user::PostKey(VK_CONTROL, true);
  if (modifiers.shift) user::PostKey(VK_SHIFT, true);
  user::PostKey(virtualKey, true);
  user::PostKey(virtualKey, false);
  if (modifiers.shift) user::PostKey(VK_SHIFT, false);
  if (modifiers.ctrl) user::PostKey(VK_CONTROL, false);
}

bool Harness::WaitIdle(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (Ended()) return true;
    // The queue is made when the UI thread first uses the window manager.
    if (auto queue = user::QueueOfThread(UiThreadId())) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      return queue->WaitUntilIdle(std::max(left, std::chrono::milliseconds(0)));
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::unique_lock lock(state_->mutex);
    state_->changed.wait_for(lock, std::chrono::milliseconds(5), [&] { return state_->ended; });
  }
}

COLORREF Harness::ReadPixel(int x, int y) const {
  const auto pixels = user::ScreenPixels();
  if (!pixels || x < 0 || y < 0 || x >= pixels->width() || y >= pixels->height())
    return CLR_INVALID;
  return gdi::ColorrefFromPixel(pixels->Color(x, y));
}

bool Harness::SaveScreenshot(const std::string& path) const {
  const auto pixels = user::ScreenPixels();
  return pixels && gdi::WritePngFile(*pixels, path);
}

std::string Harness::ClipboardText() const { return SystemClipboardText(); }
void Harness::SetClipboardText(const std::string& utf8) { SetSystemClipboardText(utf8); }

DWORD Harness::UiThreadId() const {
  std::lock_guard lock(state_->mutex);
  return state_->uiThread;
}

bool Harness::Join(std::chrono::milliseconds limit) {
  std::unique_lock lock(state_->mutex);
  return state_->changed.wait_for(lock, limit, [&] { return state_->ended; });
}

bool Harness::Ended() const {
  std::lock_guard lock(state_->mutex);
  return state_->ended;
}

int Harness::ExitCode() const {
  std::lock_guard lock(state_->mutex);
  return state_->exitCode;
}

void Harness::PostQuit(int exitCode) {
  PostThreadMessageW(UiThreadId(), WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

void Harness::Close(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

}  // namespace pda::testing
