// The SDL back end.
//
// Sections: the back-end thread and its task queue | a lost display | the window | the loop and its
//           wait | presenting | input | rotation | idle and screen saver | hooks (present,
//           clipboard, activation, idle, shown) | init and term
#include "backend/sdl_backend.h"

#include <SDL.h>
#include <pthread.h>

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "backend/sdl_keys.h"
#include "backend/startup_trace.h"
#include "backend/wakeup.h"
#include "backend/window_class_name.h"
#include "backend/window_icon.h"
#include "backend/x11_connection.h"
#include "backend/x11_painter.h"
#include "backend/zoom.h"
#include "user/close_request.h"
#include "user/screen_surface.h"

namespace pda::backend::sdl {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kScreenSaverDelay = std::chrono::seconds(60);

std::atomic<bool> g_displayLost{false};
// The painter of a window whose display was lost, kept for good (and reachable): freeing it would
// meet the broken connection.
x11::WindowPainter* g_keptPainter = nullptr;

struct WindowDeleter {
  void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

// ---- the back-end thread and its task queue ------------------------------------------------
class Screen {
 public:
  explicit Screen(const Options& options)
      : askedZoom_(options.zoom), applicationId_(options.applicationId) {}
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // Starts the thread and waits for SDL; false with *error set on failure. The window is made
  // when the first top-level window is shown (Shown).
  bool Start(std::string* error);
  // Asks the thread to end and joins it; a thread kept by a lost display is left to itself.
  void Stop();
  // The back-end thread, inside Xlib, which met the display's break and is kept there for good:
  // nothing more is asked of it, and Stop does not wait for it. Returns whether Stop has begun.
  bool Lose();

  // Any thread: runs `task` on the back-end thread. False once the thread is gone.
  bool Post(std::function<void()> task);
  // Any thread except the back-end thread: runs `task` there and waits for its result.
  template <class T>
  std::optional<T> Ask(std::function<T()> task) {
    auto promise = std::make_shared<std::promise<T>>();
    std::future<T> answer = promise->get_future();
    if (!Post([promise, task = std::move(task)] { promise->set_value(task()); })) return std::nullopt;
    try {
      return answer.get();
    } catch (const std::future_error&) {
      return std::nullopt;  // the thread ended with the request unanswered
    }
  }

  // Any thread: damage appeared on the screen surface.
  void Wake() { Push(kPresent); }
  // Any thread: the window takes the foreground window's title and asks to be raised.
  void Activated(std::string title) {
    Post([this, title = std::move(title)] {
      title_ = title;
      if (!window_) return;
      SDL_SetWindowTitle(window_.get(), title_.c_str());
      SDL_RaiseWindow(window_.get());
    });
  }
  // Any thread: a top-level window was shown; the first time, the window is made, with that
  // window's icon (read here, on the thread that showed it).
  void Shown(HWND window) {
    if (windowAsked_.exchange(true)) return;
    Post([this, icon = WindowIcon(window)] { MakeWindow(icon.get()); });
  }
  void NoteIdleReset() {
    lastReset_.store(Clock::now().time_since_epoch().count());
    if (!holding_.load()) Push(kIdleReset);
  }

 private:
  // What the back-end thread is asked to do, gathered until it wakes.
  enum Code : unsigned { kTasks = 1, kPresent = 2, kIdleReset = 4, kQuit = 8 };
  void Push(Code code);
  void Run(std::promise<std::string> started);
  bool Open(std::string* error);
  void Loop();
  void TakeEvents();
  void Wait();
  void RunTasks();
  void MakeWindow(const gdi::Pixels* icon);
  int ZoomFor(int width, int height) const;
  void Ended(bool kept);
  void Present(bool everything);
  void HandleEvent(const SDL_Event& e);
  void Rotate();
  void CheckScreenSaver();
  POINT Device(int x, int y) const { return POINT{x / zoom_, y / zoom_}; }

  const int askedZoom_;  // a number, or kZoomAuto
  const std::string applicationId_;
  int zoom_ = 1;  // the window's, on the back-end thread
  Uint32 userEvent_ = 0;
  std::thread thread_;
  std::unique_ptr<SDL_Window, WindowDeleter> window_;
  std::string title_;  // the foreground window's, for a window made after it came forward
  std::atomic<bool> windowAsked_{false};
  std::atomic<unsigned> pending_{0};   // Codes asked for since the thread last looked
  // Under X11 the thread is woken by this and waits on it and on the window's connection; set
  // before Start returns. Other drivers wake it by SDL_PushEvent.
  std::optional<Wakeup> wakeup_;
  std::optional<x11::WindowConnection> connection_;  // once the window is made, under X11
  // Puts the screen on the window while it is not zoomed, under X11 (x11_painter.h); released
  // before the window.
  std::unique_ptr<x11::WindowPainter> painter_;
  std::atomic<bool> quitting_{false};  // Stop has pushed its quit: nothing more is pushed
  pda::user::StylusRouter stylus_;
  StartupTrace trace_;

  std::mutex mutex_;
  std::condition_variable endedChanged_;
  std::deque<std::function<void()>> tasks_;
  bool running_ = false;
  bool stopping_ = false;
  std::optional<bool> ended_;  // set when the thread is done: kept (by a lost display) or not

  std::atomic<Clock::rep> lastReset_{0};
  std::atomic<bool> holding_{false};  // the screen saver is held off
};

// ---- a lost display ------------------------------------------------------------------------
// The screen whose thread this is: the one a broken X connection is met on.
thread_local Screen* t_screen = nullptr;

// The X server went away (on the back end's thread, inside Xlib, which keeps the thread after
// this returns): the program shuts down as its user would close it, and main exits with
// kExitNoDisplay. When the back end is being stopped already, that shutdown is under way. With no
// window to close (none shown yet) there is no shutdown to run: the program ends now.
void LoseDisplay() {
  g_displayLost.store(true);
  std::fprintf(stderr, "%s: the display was lost\n", program_invocation_short_name);
  if (t_screen && t_screen->Lose()) return;
  if (pda::user::RequestApplicationClose() == 0) ::_exit(kExitNoDisplay);
}

bool Screen::Lose() {
  bool stopping;
  {
    std::lock_guard lock(mutex_);
    stopping = stopping_;
  }
  Ended(true);
  return stopping;
}

void Screen::Push(Code code) {
  pending_.fetch_or(code);
  if (wakeup_) {
    wakeup_->Signal();
    return;
  }
  // SDL_PushEvent wakes the thread through the display's own connection: once the thread is
  // told to quit, the window it is about to destroy may be gone when the event arrives.
  if (quitting_.load()) return;
  SDL_Event e{};
  e.type = userEvent_;
  SDL_PushEvent(&e);
}

bool Screen::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    if (!running_) return false;
    tasks_.push_back(std::move(task));
  }
  Push(kTasks);
  return true;
}

void Screen::RunTasks() {
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard lock(mutex_);
      if (tasks_.empty()) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
  }
}

bool Screen::Start(std::string* error) {
  std::promise<std::string> started;
  std::future<std::string> result = started.get_future();
  thread_ = std::thread([this, p = std::move(started)]() mutable { Run(std::move(p)); });
  *error = result.get();
  if (error->empty()) return true;
  thread_.join();
  return false;
}

void Screen::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  Push(kQuit);
  quitting_.store(true);
  std::unique_lock lock(mutex_);
  endedChanged_.wait(lock, [this] { return ended_.has_value(); });
  if (!*ended_) {
    lock.unlock();
    thread_.join();
    return;
  }
  // The thread waits in Xlib for good and the window belongs to a server that is gone: both are
  // left as they are; destroying the window or the painter would only meet the broken
  // connection again.
  thread_.detach();
  g_keptPainter = painter_.release();
  [[maybe_unused]] SDL_Window* gone = window_.release();
}

void Screen::Ended(bool kept) {
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard lock(mutex_);
    running_ = false;
    dropped.swap(tasks_);  // their promises break: waiting askers get nothing
    if (!ended_) ended_ = kept;
  }
  endedChanged_.notify_all();
}

bool Screen::Open(std::string* error) {
  // Ctrl+C stays the process's; closing the window is told by SDL_WINDOWEVENT_CLOSE.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Without an X or Wayland display the only real screen left is the framebuffer (KMSDRM, as on
  // a handheld); probing the others would only print their own complaints.
  auto set = [](const char* name) { return std::getenv(name) && *std::getenv(name); };
  if (!set("SDL_VIDEODRIVER") && !set("DISPLAY") && !set("WAYLAND_DISPLAY"))
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "kmsdrm");
  const ScopedWindowClassName className(applicationId_);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    *error = std::string("display: cannot open an SDL display (") + SDL_GetError() +
             "); run under Xvfb with `xvfb-run -a scripts/run.sh`, or set PDA_DISPLAY=headless";
    SDL_Quit();  // frees the hints and what the failed start kept
    return false;
  }
  // With no real display SDL falls back to a driver that shows nothing; a user who did not ask
  // for one by SDL_VIDEODRIVER would wait for a window that never comes.
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if ((driver == "offscreen" || driver == "dummy") && !(asked && driver == asked)) {
    *error = "display: no display to show the screen on; run under Xvfb with "
             "`xvfb-run -a scripts/run.sh`, or set PDA_DISPLAY=headless";
    SDL_Quit();
    return false;
  }
  userEvent_ = SDL_RegisterEvents(1);
  if (userEvent_ == static_cast<Uint32>(-1)) {
    *error = std::string("display: no SDL event left for the back end (") + SDL_GetError() + ")";
    SDL_Quit();
    return false;
  }
  // X11 shows the window surface from memory of its own; without this SDL would back it with
  // OpenGL there: ~90 MB for a 2D screen. SDL's Wayland and KMSDRM drivers have no such surface
  // and show it only through a GL texture, so they keep SDL's choice.
  if (driver == "x11") {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Only this thread may call into Xlib (backend/x11_connection.h): the others wake it by this.
    wakeup_ = Wakeup::Open();
    if (!wakeup_) {
      *error = std::string("display: no eventfd for the back end (") + std::strerror(errno) + ")";
      SDL_Quit();
      return false;
    }
    // Only X11 has a connection that can break under the program (x11_connection.h).
    x11::OnConnectionLost(LoseDisplay);
  }
  // SDL holds the screen saver off by default; here only SystemIdleTimerReset does.
  SDL_EnableScreenSaver();
  return true;
}

// ---- the window ----------------------------------------------------------------------------
void Screen::MakeWindow(const gdi::Pixels* icon) {
  const auto screen = pda::user::ScreenPixels();
  const int width = screen ? screen->width() : 0;
  const int height = screen ? screen->height() : 0;
  zoom_ = ZoomFor(width, height);
  window_.reset(SDL_CreateWindow(title_.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                 width * zoom_, height * zoom_, SDL_WINDOW_HIDDEN));
  if (!window_) {
    std::fprintf(stderr, "%s: cannot make the SDL window (%s)\n", program_invocation_short_name,
                 SDL_GetError());
    g_displayLost.store(true);
    pda::user::RequestApplicationClose();
    return;
  }
  if (wakeup_) {
    connection_ = x11::WindowConnection::Of(window_.get());
    painter_ = x11::WindowPainter::Of(window_.get());
  }
  // The icon is there before the window is shown, where the desktop first looks for it.
  if (icon) {
    if (const UniqueSdlSurface surface = IconSurface(*icon))
      SDL_SetWindowIcon(window_.get(), surface.get());
  }
  SDL_ShowWindow(window_.get());
  Present(true);
}

int Screen::ZoomFor(int width, int height) const {
  if (askedZoom_ != kZoomAuto) return askedZoom_;
  // The display the window will open on is not known before it exists: the first one.
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
  return FitZoom(SIZE{usable.w, usable.h}, SIZE{width, height});
}

void Screen::Run(std::promise<std::string> started) {
  pthread_setname_np(pthread_self(), "pda-screen");  // as ps and top show it
  std::string error;
  if (!Open(&error)) {
    started.set_value(error);
    return;
  }
  {
    std::lock_guard lock(mutex_);
    running_ = true;
  }
  started.set_value("");
  t_screen = this;
  Loop();
  t_screen = nullptr;
  painter_.reset();
  window_.reset();
  SDL_Quit();
  Ended(false);
}

// ---- the loop and its wait ----------------------------------------------------------------
// Each turn does what was asked, then takes every event SDL has, then waits. Taking the events
// last matters under X11: it leaves nothing read from the connection and not yet handled, so
// the wait on the connection's socket misses nothing.
void Screen::Loop() {
  for (;;) {
    const unsigned codes = pending_.exchange(0);
    if (codes & (kTasks | kQuit)) RunTasks();
    if (codes & kQuit) return;
    if (codes & kPresent) Present(false);
    CheckScreenSaver();  // for kIdleReset and for the end of the wait
    TakeEvents();
    Wait();
  }
}

// Handles the events SDL has now.
void Screen::TakeEvents() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (e.type != userEvent_) HandleEvent(e);  // a user event only woke the thread
  }
}

// Until something is asked, an event comes or the screen saver is due.
void Screen::Wait() {
  int timeoutMs = -1;
  if (holding_.load()) {
    // Only while the screen saver is held off is there a time to wake up for.
    const auto last = Clock::time_point(Clock::duration(lastReset_.load()));
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        last + kScreenSaverDelay - Clock::now());
    timeoutMs = static_cast<int>(std::max<long long>(left.count(), 1));
  }
  // Asked for after this turn looked: under SDL_PushEvent the event that woke the thread for it
  // may have been taken with the others already.
  if (pending_.load()) return;
  if (!wakeup_) {
    // Peeks: the event, if any, is taken with the others on the next turn.
    if (timeoutMs < 0)
      SDL_WaitEvent(nullptr);
    else
      SDL_WaitEventTimeout(nullptr, timeoutMs);
    return;
  }
  // SDL_PollEvent ends a round at a mark it queued when the round began, so events queued while
  // the round ran (by what handling an event did) can still be there.
  if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) return;
  if (!connection_) {
    wakeup_->Wait(-1, timeoutMs);  // no window yet: nothing from the server is waited for
    return;
  }
  if (connection_->HasPendingEvents()) return;
  wakeup_->Wait(connection_->fd(), timeoutMs);
}

// ---- presenting ----------------------------------------------------------------------------
void Screen::Present(bool everything) {
  if (!window_) return;  // the damage waits for the window
  std::vector<SDL_Rect> shown;
  int width = 0, height = 0;
  if (painter_ && zoom_ == 1) {
    SDL_GetWindowSize(window_.get(), &width, &height);
    bool refused = false;
    pda::user::TakeScreenDamage(
        [&](const gdi::Pixels& pixels, const std::vector<RECT>& rects) {
          refused = !painter_->Put(pixels, rects);
          if (refused) return;
          for (const RECT& r : rects)
            shown.push_back(SDL_Rect{r.left, r.top, r.right - r.left, r.bottom - r.top});
        },
        everything);
    if (refused) {  // Xlib will not take the surface as it is: SDL's way from now on
      painter_.reset();
      Present(true);
      return;
    }
  } else {
    SDL_Surface* target = SDL_GetWindowSurface(window_.get());
    if (!target) return;
    width = target->w;
    height = target->h;
    pda::user::TakeScreenDamage(
        [&](const gdi::Pixels& pixels, const std::vector<RECT>& rects) {
          // The surface is read under its lock; SDL only wraps it for the blit.
          std::unique_ptr<SDL_Surface, SurfaceDeleter> source(SDL_CreateRGBSurfaceWithFormatFrom(
              const_cast<std::uint32_t*>(pixels.data()), pixels.width(), pixels.height(), 32,
              pixels.stride(), SDL_PIXELFORMAT_XRGB8888));
          if (!source) return;
          for (const RECT& r : rects) {
            SDL_Rect from{r.left, r.top, r.right - r.left, r.bottom - r.top};
            SDL_Rect to{r.left * zoom_, r.top * zoom_, from.w * zoom_, from.h * zoom_};
            if (zoom_ == 1)
              SDL_BlitSurface(source.get(), &from, target, &to);
            else
              SDL_BlitScaled(source.get(), &from, target, &to);
            shown.push_back(to);
          }
        },
        everything);
    if (!shown.empty())
      SDL_UpdateWindowSurfaceRects(window_.get(), shown.data(), static_cast<int>(shown.size()));
  }
  if (shown.empty()) return;
  long area = 0;
  for (const SDL_Rect& r : shown) area += static_cast<long>(r.w) * r.h;
  trace_.Presented(area, static_cast<long>(width) * height);
}

// ---- input ---------------------------------------------------------------------------------
void Screen::HandleEvent(const SDL_Event& e) {
  switch (e.type) {
    // Touch reaches us as the mouse events SDL makes from it; FINGER events are left alone so
    // that one touch is not handled twice.
    // The secondary button is a stylus press that is a tap-and-hold at once (see
    // user/input_router.h); one press at a time, ended by the button that made it.
    case SDL_MOUSEBUTTONDOWN:
      if (stylus_.IsDown()) break;
      if (e.button.button == SDL_BUTTON_LEFT || e.button.button == SDL_BUTTON_RIGHT)
        stylus_.Down(Device(e.button.x, e.button.y), e.button.button == SDL_BUTTON_RIGHT);
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == (stylus_.IsSecondary() ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT))
        stylus_.Up(Device(e.button.x, e.button.y));
      break;
    case SDL_MOUSEMOTION:
      if (e.motion.state & (SDL_BUTTON_LMASK | SDL_BUTTON_RMASK))
        stylus_.Move(Device(e.motion.x, e.motion.y));
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const int vk = VirtualKeyOf(e.key.keysym.sym);
      if (vk == VK_F9) {
        if (e.type == SDL_KEYDOWN && !e.key.repeat) Rotate();
      } else if (vk) {
        pda::user::PostKey(vk, e.type == SDL_KEYDOWN);
      }
      break;
    }
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
        if (const HWND top = GetForegroundWindow()) PostMessageW(top, WM_CLOSE, 0, 0);
      } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                 e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        Present(true);
      }
      break;
    default:
      break;
  }
}

// ---- rotation ------------------------------------------------------------------------------
void Screen::Rotate() {
  const SIZE screen = pda::user::RotateScreen();
  if (!window_) return;
  zoom_ = ZoomFor(screen.cx, screen.cy);
  SDL_SetWindowSize(window_.get(), screen.cx * zoom_, screen.cy * zoom_);
}

// ---- idle and screen saver -----------------------------------------------------------------
void Screen::CheckScreenSaver() {
  const auto last = Clock::time_point(Clock::duration(lastReset_.load()));
  const bool recent = Clock::now() - last < kScreenSaverDelay;
  if (recent && !holding_.load()) {
    SDL_DisableScreenSaver();
    holding_.store(true);
  } else if (!recent && holding_.load()) {
    SDL_EnableScreenSaver();
    holding_.store(false);
  }
}

// ---- hooks ---------------------------------------------------------------------------------
std::mutex g_mutex;
std::shared_ptr<Screen> g_screen;  // the running back end

// The one record of host hooks. They hold the back end weakly: a hook still running while Term
// stops it finds nothing, or a thread that no longer answers.
pda::user::HostHooks HooksOf(const std::shared_ptr<Screen>& running) {
  std::weak_ptr<Screen> weak = running;
  pda::user::HostHooks hooks;
  hooks.damaged = [weak] {
    if (auto screen = weak.lock()) screen->Wake();
  };
  hooks.getClipboardText = [weak]() -> std::optional<std::string> {
    auto screen = weak.lock();
    if (!screen) return std::nullopt;
    return screen->Ask<std::optional<std::string>>([]() -> std::optional<std::string> {
                     char* text = SDL_GetClipboardText();
                     if (!text) return std::nullopt;
                     std::string copy(text);
                     SDL_free(text);
                     return copy;
                   })
        .value_or(std::nullopt);
  };
  hooks.setClipboardText = [weak](const std::string& text) {
    auto screen = weak.lock();
    if (!screen) return false;
    return screen->Ask<bool>([text] { return SDL_SetClipboardText(text.c_str()) == 0; })
        .value_or(false);
  };
  hooks.activated = [weak](const std::string& title) {
    if (auto screen = weak.lock()) screen->Activated(title);
  };
  hooks.idleReset = [weak] {
    if (auto screen = weak.lock()) screen->NoteIdleReset();
  };
  hooks.shown = [weak](HWND window) {
    if (auto screen = weak.lock()) screen->Shown(window);
  };
  return hooks;
}

}  // namespace

// ---- init and term -------------------------------------------------------------------------
bool Init(const Options& options, std::string* error) {
  auto screen = std::make_shared<Screen>(options);
  if (!screen->Start(error)) return false;
  {
    std::lock_guard lock(g_mutex);
    g_screen = screen;
  }
  pda::user::InstallHostHooks(HooksOf(screen));
  return true;
}

void Term() {
  pda::user::InstallHostHooks({});
  std::shared_ptr<Screen> screen;
  {
    std::lock_guard lock(g_mutex);
    screen.swap(g_screen);
  }
  if (screen) screen->Stop();
}

}  // namespace pda::backend::sdl

namespace pda::backend {

bool DisplayWasLost() { return sdl::g_displayLost.load(); }

}  // namespace pda::backend
