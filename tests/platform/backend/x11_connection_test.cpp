// The X connection's handlers against a real X server (Xvfb) killed under the test, each case in
// a child process of its own (the handler is told once per process, and a kept thread stays):
// a break met on the connection of SDL's window comes back from Xlib, the back end is told once
// that the thread was not kept, and later calls on that connection come back too; a break met on
// another connection is told as kept. A fault ends the child (Xlib's exit) or leaves the wait
// for the handler without an answer.
#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ostream>
#include <string>
#include <thread>

#include "backend/x11_connection.h"
#include "child_check.h"

// After GoogleTest, whose names Xlib's macros (None, Bool) would otherwise take.
#include <X11/Xlib.h>

namespace {

namespace x11 = pda::backend::x11;

// A private Xvfb on a display number it picks itself.
class Xvfb {
 public:
  Xvfb() {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
               "320x240x24", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  ~Xvfb() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

  // ":N", or empty when it did not start (not installed: scripts/install-deps.sh).
  const std::string& display() const { return display_; }
  void Kill() const { ::kill(pid_, SIGKILL); }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

std::atomic<int> g_told{0};
std::atomic<bool> g_kept{false};
void Told(bool kept) {
  g_kept.store(kept);
  g_told.fetch_add(1);
}

template <class Done>
bool WaitFor(Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

struct BreakCase {
  const char* name;
  bool onWindowConnection;  // else on a connection of its own, not given to WindowConnection
  bool kept;
};
void PrintTo(const BreakCase& c, std::ostream* os) { *os << c.name; }

const BreakCase kCases[] = {
    {"OnTheWindowConnectionComesBack", true, false},
    {"OnAnotherConnectionIsKept", false, true},
};

class X11BreakTest : public ::testing::TestWithParam<BreakCase> {};

// In the child: SDL, its window and the break are on a thread of their own, as in the back end,
// so that a kept thread does not keep the check.
std::string MeetBreak(const BreakCase& c, const Xvfb& server) {
  std::atomic<int> stage{0};  // 1: ready to break, 2: came back from the calls after the break
  std::string error;
  std::thread([&] {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      error = std::string("SDL_Init: ") + SDL_GetError();
      stage.store(-1);
      return;
    }
    x11::OnConnectionLost(Told);
    SDL_Window* window = SDL_CreateWindow("break", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
    const auto connection = window ? x11::WindowConnection::Of(window) : std::nullopt;
    Display* other = XOpenDisplay(nullptr);
    if (!connection || !other) {
      error = "no window connection or no second connection";
      stage.store(-1);
      return;
    }
    stage.store(1);
    if (c.onWindowConnection) {
      while (g_told.load() == 0) SDL_PumpEvents();
      // Later calls on the broken connection: a round trip and reading events.
      SDL_SetWindowTitle(window, "after");
      SDL_PumpEvents();
      stage.store(2);
    } else {
      while (g_told.load() == 0) XSync(other, False);
      stage.store(2);  // not reached when the thread is kept
    }
  }).detach();
  if (!WaitFor([&] { return stage.load() != 0; })) return "SDL did not start";
  if (stage.load() < 0) return error;
  server.Kill();
  if (!WaitFor([] { return g_told.load() > 0; })) return "the handler was not called";
  if (g_kept.load() != c.kept)
    return std::string("told kept=") + (g_kept.load() ? "true" : "false");
  if (!c.kept && !WaitFor([&] { return stage.load() == 2; }))
    return "the calls after the break did not come back";
  if (g_told.load() != 1) return "told " + std::to_string(g_told.load()) + " times";
  return "";
}

TEST_P(X11BreakTest, IsToldAndKeptOrComesBack) {
  const BreakCase& c = GetParam();
  Xvfb server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start; scripts/install-deps.sh";
  const std::string result = zaz::testing::RunInChild([&] {
    ::setenv("DISPLAY", server.display().c_str(), 1);
    ::setenv("SDL_VIDEODRIVER", "x11", 1);
    return MeetBreak(c, server);
  });
  EXPECT_EQ(result, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, X11BreakTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
