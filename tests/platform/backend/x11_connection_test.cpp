// The X connection's handler, SDL's window connection and the window painter against a real X
// server (Xvfb).
//
// A break, met on the window's connection and then on another one, is told once, and each
// thread that met it is kept waiting for good (seen blocked in futex; were the handler to
// return, Xlib would end the child process instead). Events Xlib has read without anybody
// taking them are seen by HasPendingEvents while the socket has nothing more to read. The
// painter puts exactly the rectangles it is given, read back from the server. Each case runs in
// a child process of its own: SDL starts once per process, and kept threads stay.
#include <SDL.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "backend/x11_connection.h"
#include "backend/x11_painter.h"
#include "child_check.h"
#include "gdi/pixels.h"

// After GoogleTest, whose names Xlib's macros (None, Bool) would otherwise take.
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

template <class Done>
bool WaitFor(Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Whether thread `tid` of this process is blocked in the futex call (a condition wait).
bool BlockedInFutex(pid_t tid) {
  std::ifstream file("/proc/self/task/" + std::to_string(tid) + "/syscall");
  long number = -1;
  file >> number;
  return number == SYS_futex;
}

// Runs `check` in a child with SDL on the X11 driver of a fresh Xvfb, which `check` may kill.
std::string InChildOnXvfb(std::string (*check)(const Xvfb& server)) {
  Xvfb server;
  if (server.display().empty()) return "Xvfb did not start; scripts/install-deps.sh";
  return zaz::testing::RunInChild([&] {
    ::setenv("DISPLAY", server.display().c_str(), 1);
    ::setenv("SDL_VIDEODRIVER", "x11", 1);
    return check(server);
  });
}

std::atomic<int> g_told{0};
void Told() { g_told.fetch_add(1); }

std::string BreakIsToldOnceAndKeepsEachThread(const Xvfb& server) {
  // SDL, its window and the first break are on a thread of their own, as in the back end;
  // the second break is met on another connection by another thread.
  std::atomic<pid_t> windowThread{0}, otherThread{0};
  std::atomic<bool> cameBack{false};
  std::string error;
  std::thread([&] {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      error = std::string("SDL_Init: ") + SDL_GetError();
      windowThread.store(-1);
      return;
    }
    x11::OnConnectionLost(Told);
    SDL_Window* window = SDL_CreateWindow("break", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
    if (!window || !x11::WindowConnection::Of(window)) {
      error = "no window on X";
      windowThread.store(-1);
      return;
    }
    windowThread.store(static_cast<pid_t>(::gettid()));
    for (;;) SDL_PumpEvents();  // until it meets the break
  }).detach();
  if (!WaitFor([&] { return windowThread.load() != 0; })) return "SDL did not start";
  if (windowThread.load() < 0) return error;
  Display* other = XOpenDisplay(nullptr);
  if (!other) return "no second connection";
  server.Kill();
  if (!WaitFor([&] { return g_told.load() > 0; })) return "the break was not told";
  if (!WaitFor([&] { return BlockedInFutex(windowThread.load()); }))
    return "the thread that met the break on the window's connection was not kept";
  std::thread([&] {
    otherThread.store(static_cast<pid_t>(::gettid()));
    XSync(other, False);
    cameBack.store(true);
  }).detach();
  if (!WaitFor([&] { return otherThread.load() != 0 && BlockedInFutex(otherThread.load()); }))
    return "the thread that met the break on another connection was not kept";
  if (cameBack.load()) return "a call that met the break came back";
  if (g_told.load() != 1) return "told " + std::to_string(g_told.load()) + " times";
  return "";
}

std::string PendingEventsAreSeenThatTheSocketNoLongerShows(const Xvfb&) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return std::string("SDL_Init: ") + SDL_GetError();
  SDL_Window* window = SDL_CreateWindow("queued", 0, 0, 64, 64, SDL_WINDOW_SHOWN);
  const auto connection = window ? x11::WindowConnection::Of(window) : std::nullopt;
  if (!connection) return "no window on X";
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  SDL_GetWindowWMInfo(window, &info);
  Display* display = info.info.x11.display;
  XSync(display, False);  // everything the window's making caused is read, then taken
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
  }
  std::string result;
  if (connection->HasPendingEvents()) result += "events queued after SDL took them all; ";
  // SDL watches its window's properties: a change makes an event, which the round trip reads.
  XStoreName(display, info.info.x11.window, "renamed");
  XSync(display, False);
  pollfd socket{connection->fd(), POLLIN, 0};
  if (::poll(&socket, 1, 0) != 0) result += "the socket still had something to read; ";
  if (!connection->HasPendingEvents()) result += "the event the round trip read was not seen";
  return result;
}

// Two pictures of distinct pixels: the first put whole, then rectangles of the second, among
// them one at the edge and one a single pixel; the window must show the second inside them and
// the first everywhere else, pixel for pixel.
std::string PainterPutsExactlyTheRectanglesGiven(const Xvfb&) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return std::string("SDL_Init: ") + SDL_GetError();
  constexpr int kWidth = 61, kHeight = 37;  // rows that are not a round number of bytes
  SDL_Window* window = SDL_CreateWindow("painter", 0, 0, kWidth, kHeight, SDL_WINDOW_SHOWN);
  const auto painter = window ? x11::WindowPainter::Of(window) : nullptr;
  if (!painter) return "no painter for a window on Xvfb's default visual";
  auto first = pda::gdi::Pixels::Create(kWidth, kHeight);
  auto second = pda::gdi::Pixels::Create(kWidth, kHeight);
  if (!first || !second) return "no pixels";
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      first->row(y)[x] = static_cast<std::uint32_t>(y << 16 | x << 8 | 0x11);
      second->row(y)[x] = static_cast<std::uint32_t>(0x80 | x << 16 | y << 8);
    }
  const std::vector<RECT> rects = {{3, 2, 20, 9}, {50, 30, kWidth, kHeight}, {30, 17, 31, 18}};
  if (!painter->Put(*first, {RECT{0, 0, kWidth, kHeight}}) || !painter->Put(*second, rects))
    return "Put refused the picture";

  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  SDL_GetWindowWMInfo(window, &info);
  XImage* shown = XGetImage(info.info.x11.display, info.info.x11.window, 0, 0, kWidth, kHeight,
                            AllPlanes, ZPixmap);
  if (!shown) return "the window could not be read back";
  std::string result;
  for (int y = 0; y < kHeight && result.empty(); ++y)
    for (int x = 0; x < kWidth && result.empty(); ++x) {
      bool inside = false;
      for (const RECT& r : rects)
        inside = inside || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
      const pda::gdi::Pixels& picture = inside ? *second : *first;
      const std::uint32_t expected = picture.data()[y * picture.stride() / 4 + x];
      const std::uint32_t got = static_cast<std::uint32_t>(XGetPixel(shown, x, y)) & 0xFFFFFF;
      if (got != expected)
        result = "pixel " + std::to_string(x) + "," + std::to_string(y) + " is " +
                 std::to_string(got) + ", expected " + std::to_string(expected);
    }
  XDestroyImage(shown);
  return result;
}

TEST(X11ConnectionTest, BreakIsToldOnceAndEachThreadThatMeetsItIsKept) {
  EXPECT_EQ(InChildOnXvfb(BreakIsToldOnceAndKeepsEachThread), "");
}

TEST(X11ConnectionTest, PendingEventsAreSeenThatTheSocketNoLongerShows) {
  EXPECT_EQ(InChildOnXvfb(PendingEventsAreSeenThatTheSocketNoLongerShows), "");
}

TEST(X11PainterTest, PutsExactlyTheRectanglesGiven) {
  EXPECT_EQ(InChildOnXvfb(PainterPutsExactlyTheRectanglesGiven), "");
}

}  // namespace
