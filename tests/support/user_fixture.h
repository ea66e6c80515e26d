// Shared by the window-manager tests: a window class whose procedure records every message it
// gets (by name) and can be given a handler per message, a fixture that cleans up the windows it
// made, and a watchdog for tests that block.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "pda/testing/user.h"
#include "pda/user.h"

namespace pda::user_test {

inline constexpr char16_t kRecorderClass[] = u"Recorder";

struct Recorded {
  HWND window;
  std::string message;
};

// What recorder windows were sent, in order, and what they answer.
class Recorder {
 public:
  static Recorder& Get() {
    static Recorder recorder;
    return recorder;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    log_.clear();
    handlers_.clear();
  }
  std::vector<Recorded> Log() {
    std::lock_guard lock(mutex_);
    return log_;
  }
  // The names of the messages one window got, in order.
  std::vector<std::string> NamesFor(HWND window) {
    std::vector<std::string> names;
    for (const Recorded& r : Log())
      if (r.window == window) names.push_back(r.message);
    return names;
  }
  // Every message as "name@tag", with tags given to windows by the test.
  std::vector<std::string> Tagged(const std::map<std::uint32_t, std::string>& tags) {
    std::vector<std::string> out;
    for (const Recorded& r : Log()) {
      auto it = tags.find(r.window.value);
      out.push_back(r.message + "@" + (it == tags.end() ? "?" : it->second));
    }
    return out;
  }
  using Handler = std::function<LRESULT(HWND, WPARAM, LPARAM)>;
  void On(UINT message, Handler handler) {
    std::lock_guard lock(mutex_);
    handlers_[message] = std::move(handler);
  }

  static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorder& r = Get();
    Handler handler;
    {
      std::lock_guard lock(r.mutex_);
      r.log_.push_back({window, pda::testing::MessageName(message)});
      if (auto it = r.handlers_.find(message); it != r.handlers_.end()) handler = it->second;
    }
    if (handler) return handler(window, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
  }

 private:
  std::mutex mutex_;
  std::vector<Recorded> log_;
  std::map<UINT, Handler> handlers_;
};

inline void RegisterRecorderClass() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Recorder::Procedure;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.lpszClassName = kRecorderClass;
    return RegisterClassW(&wc) != 0;
  }();
  ASSERT_TRUE(registered);
}

// Aborts the test program if the test is still running after the limit: a blocking test that
// goes wrong fails instead of hanging CTest. It asserts nothing about speed.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit = std::chrono::seconds(60))
      : thread_([this, limit] {
          std::unique_lock lock(mutex_);
          if (!done_cv_.wait_for(lock, limit, [this] { return done_; })) {
            std::fprintf(stderr, "watchdog: the test is stuck\n");
            std::abort();
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    done_cv_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_cv_;
  bool done_ = false;
  std::thread thread_;
};

class UserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterRecorderClass();
    pda::testing::ChangeScreen(480, 640, 192);
    pda::testing::UseRealClock();
    pda::testing::ResetKeyState();
    Drain();
    Recorder::Get().Clear();
  }
  void TearDown() override {
    // Handlers may point at the finished test's locals.
    Recorder::Get().Clear();
    for (auto it = made_.rbegin(); it != made_.rend(); ++it)
      if (IsWindow(*it)) DestroyWindow(*it);
    Drain();
    pda::testing::UseRealClock();
    Recorder::Get().Clear();
  }

  HWND Make(DWORD style, HWND parent = HWND{}, int x = CW_USEDEFAULT, int y = CW_USEDEFAULT,
            int w = CW_USEDEFAULT, int h = CW_USEDEFAULT, const char16_t* title = u"",
            int id = 0) {
    const HWND window = CreateWindowExW(0, kRecorderClass, title, style, x, y, w, h, parent,
                                        HANDLE{static_cast<std::uint32_t>(id)}, HINSTANCE{},
                                        nullptr);
    if (window) made_.push_back(window);
    return window;
  }
  HWND Child(HWND parent, int x, int y, int w, int h, int id = 0, DWORD extra = WS_VISIBLE) {
    return Make(WS_CHILD | extra, parent, x, y, w, h, u"", id);
  }

  // Handles everything already waiting in this thread's queue (WM_PAINT included).
  static void Drain() {
    MSG msg;
    while (PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      DispatchMessageW(&msg);
    }
  }

  std::vector<HWND> made_;
};

}  // namespace pda::user_test
