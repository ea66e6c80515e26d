// The screen surface, its damage, and who may read it when.
#include "user/screen_surface.h"

#include <mutex>
#include <utility>

#include "display/display.h"

namespace pda::user {
namespace {

struct ScreenState {
  std::mutex mutex;
  std::shared_ptr<gdi::Pixels> pixels;
  Region damage;
  std::function<void()> presenter;
  int drawing = 0;              // screen contexts open now
  bool presenterWaits = false;  // it found contexts drawing: tell it when the last one closes
};
ScreenState& State() {
  static ScreenState* const state = new ScreenState;  // painting may go on during exit
  return *state;
}

std::shared_ptr<gdi::Pixels> MakeSurface() {
  const display::ScreenMode screen = display::CurrentScreen();
  auto pixels = gdi::Pixels::Create(screen.width, screen.height);
  return pixels ? std::make_shared<gdi::Pixels>(std::move(*pixels)) : nullptr;
}

RECT WholeOf(const gdi::Pixels& p) { return RECT{0, 0, p.width(), p.height()}; }

std::shared_ptr<gdi::Pixels> PixelsLocked(ScreenState& s) {
  if (!s.pixels) s.pixels = MakeSurface();
  return s.pixels;
}

}  // namespace

std::shared_ptr<gdi::Pixels> ScreenPixels() {
  ScreenState& s = State();
  std::lock_guard lock(s.mutex);
  return PixelsLocked(s);
}

void FitScreenSurface() {
  ScreenState& s = State();
  std::function<void()> tell;
  {
    std::lock_guard lock(s.mutex);
    const display::ScreenMode screen = display::CurrentScreen();
    if (s.pixels && s.pixels->width() == screen.width && s.pixels->height() == screen.height)
      return;
    // Contexts still open draw into the old surface, which nobody shows any more.
    s.pixels = MakeSurface();
    if (!s.pixels) return;
    s.damage = Region(WholeOf(*s.pixels));
    tell = s.presenter;
  }
  if (tell) tell();
}

void BeginScreenDrawing() {
  ScreenState& s = State();
  std::lock_guard lock(s.mutex);
  ++s.drawing;
}

void EndScreenDrawing(const Region& drawn) {
  ScreenState& s = State();
  std::function<void()> tell;
  {
    std::lock_guard lock(s.mutex);
    if (s.drawing > 0) --s.drawing;
    bool appeared = false;
    if (const std::shared_ptr<gdi::Pixels> pixels = PixelsLocked(s); pixels && !drawn.Empty()) {
      Region area = drawn;
      area.Intersect(gdi::BoxOf(WholeOf(*pixels)));
      appeared = !area.Empty() && s.damage.Empty();
      s.damage.Union(area);
    }
    const bool released = s.drawing == 0 && s.presenterWaits && !s.damage.Empty();
    if (s.drawing == 0) s.presenterWaits = false;
    if (appeared || released) tell = s.presenter;
  }
  if (tell) tell();
}

void SetScreenPresenter(std::function<void()> damaged) {
  ScreenState& s = State();
  std::function<void()> tell;
  {
    std::lock_guard lock(s.mutex);
    s.presenter = std::move(damaged);
    s.presenterWaits = false;
    const std::shared_ptr<gdi::Pixels> pixels = PixelsLocked(s);
    if (s.presenter && pixels) {
      // The presenter starts from an empty window: all of it is damage, and the presenter is
      // told so. Damage only tells when it appears where there was none; untold, this damage
      // would keep every later drawing from being told, and nothing would ever be presented.
      s.damage = Region(WholeOf(*pixels));
      tell = s.presenter;
    }
  }
  if (tell) tell();
}

bool TakeScreenDamage(const DamageCopy& copy, bool everything) {
  ScreenState& s = State();
  std::lock_guard lock(s.mutex);
  const gdi::Pixels* source = s.pixels.get();
  if (everything && source) s.damage = Region(WholeOf(*source));
  if (s.damage.Empty()) return false;
  if (s.drawing > 0) {
    s.presenterWaits = true;
    return false;
  }
  if (source) {
    s.damage.Intersect(gdi::BoxOf(WholeOf(*source)));
    copy(*source, s.damage.Rects());
  }
  s.damage.Clear();
  return true;
}

}  // namespace pda::user
