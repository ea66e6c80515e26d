// The screen surface, its damage and the presentation copy.
#include "user/screen_surface.h"

#include <cstring>
#include <mutex>
#include <utility>

#include "display/display.h"

namespace pda::user {
namespace {

struct ScreenState {
  std::mutex mutex;
  std::shared_ptr<gdi::Pixels> pixels;
  std::unique_ptr<gdi::Pixels> presented;  // only while a presenter is joined
  Region damage;
  std::function<void()> presenter;
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

void CopyRect(const gdi::Pixels& from, gdi::Pixels& to, const RECT& r) {
  const auto bytes = static_cast<std::size_t>(r.right - r.left) * 4;
  for (int y = r.top; y < r.bottom; ++y) std::memcpy(to.row(y) + r.left, from.row(y) + r.left, bytes);
}

// Brings the presentation copy up to date within the drawn rectangle and adds to `changed` the
// rows that really differ: a repaint that draws what is already there presents nothing, and one
// that changes a few text lines presents those lines only.
void CopyChangedRows(const gdi::Pixels& from, gdi::Pixels& to, const RECT& r, Region& changed) {
  const auto bytes = static_cast<std::size_t>(r.right - r.left) * 4;
  int first = -1;  // the first row of the run of changed rows being gathered
  for (int y = r.top; y <= r.bottom; ++y) {
    const bool differs =
        y < r.bottom && std::memcmp(to.row(y) + r.left, from.row(y) + r.left, bytes) != 0;
    if (differs) {
      std::memcpy(to.row(y) + r.left, from.row(y) + r.left, bytes);
      if (first < 0) first = y;
    } else if (first >= 0) {
      changed.Union(Region(RECT{r.left, first, r.right, y}));
      first = -1;
    }
  }
}

// A fresh presentation copy of the whole surface.
std::unique_ptr<gdi::Pixels> CopyOfLocked(const gdi::Pixels& pixels) {
  auto copy = gdi::Pixels::Create(pixels.width(), pixels.height());
  if (!copy) return nullptr;
  auto presented = std::make_unique<gdi::Pixels>(std::move(*copy));
  CopyRect(pixels, *presented, WholeOf(pixels));
  return presented;
}

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
    s.pixels = MakeSurface();
    if (!s.pixels) return;
    if (s.presenter) s.presented = CopyOfLocked(*s.pixels);
    s.damage = Region(WholeOf(*s.pixels));
    tell = s.presenter;
  }
  if (tell) tell();
}

void AddScreenDamage(const Region& area) {
  if (area.Empty()) return;
  ScreenState& s = State();
  std::function<void()> tell;
  {
    std::lock_guard lock(s.mutex);
    const std::shared_ptr<gdi::Pixels> pixels = PixelsLocked(s);
    if (!pixels) return;
    Region drawn = area;
    drawn.Intersect(gdi::BoxOf(WholeOf(*pixels)));
    if (drawn.Empty()) return;
    if (s.presented && s.presented->width() == pixels->width() &&
        s.presented->height() == pixels->height()) {
      Region changed;
      for (const RECT& r : drawn.Rects()) CopyChangedRows(*pixels, *s.presented, r, changed);
      drawn = std::move(changed);
      if (drawn.Empty()) return;
    }
    const bool wasClean = s.damage.Empty();
    s.damage.Union(drawn);
    if (wasClean) tell = s.presenter;
  }
  if (tell) tell();
}

void SetScreenPresenter(std::function<void()> damaged) {
  ScreenState& s = State();
  std::function<void()> tell;
  {
    std::lock_guard lock(s.mutex);
    s.presenter = std::move(damaged);
    const std::shared_ptr<gdi::Pixels> pixels = PixelsLocked(s);
    if (s.presenter && pixels) {
      s.presented = CopyOfLocked(*pixels);
      // The presenter starts from an empty window: all of it is damage, and the presenter is
      // told so. Damage only tells when it appears where there was none; untold, this damage
      // would keep every later drawing from being told, and nothing would ever be presented.
      s.damage = Region(WholeOf(*pixels));
      tell = s.presenter;
    } else {
      s.presented.reset();
    }
  }
  if (tell) tell();
}

bool TakeScreenDamage(const DamageCopy& copy, bool everything) {
  ScreenState& s = State();
  std::lock_guard lock(s.mutex);
  const gdi::Pixels* source = s.presented ? s.presented.get() : s.pixels.get();
  if (everything && source) s.damage = Region(WholeOf(*source));
  if (s.damage.Empty()) return false;
  if (source) {
    s.damage.Intersect(gdi::BoxOf(WholeOf(*source)));
    copy(*source, s.damage.Rects());
  }
  s.damage.Clear();
  return true;
}

}  // namespace pda::user
