// The screen surface: the one pixel surface of the device's screen that every window draws into,
// and the damage (what was drawn since the screen back end last presented). It is also where a
// screen back end meets the window manager: the back end installs one record of host hooks,
// rotates the screen, and hands the stylus and keys to the input router (user/input_router.h).
//
// Painting threads draw straight into the surface, without a lock, between BeginScreenDrawing
// and EndScreenDrawing (a screen context's life). The back end that presents (SDL) reads the
// surface itself, under the surface lock and only while no context is drawing: a context that
// opens waits for the lock, and a presenter that finds contexts drawing is told again when the
// last one ends. So no pixel is read while it is being written, and the screen needs no second
// copy for presenting.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gdi/pixels.h"
#include "gdi/region.h"
#include "user/input_router.h"

namespace pda::user {

using gdi::Region;

// The current surface, made on first use at the display's size (black).
std::shared_ptr<gdi::Pixels> ScreenPixels();
// After display::SetScreen (ScreenChanged calls it): when the display's size differs from the
// surface's, a new black surface of the new size, all of it damaged. Contexts made earlier keep
// drawing into the old surface, which nobody shows any more.
void FitScreenSurface();

// A screen context opens: a painting thread is about to draw into the surface.
void BeginScreenDrawing();
// It closes, having drawn this area (screen coordinates; maybe empty), which becomes damage.
void EndScreenDrawing(const Region& drawn);

// `damaged` is called (on the painting thread, without the lock) each time damage appears
// where there was none, and when the last context closes after the presenter found contexts
// drawing. An empty function leaves.
void SetScreenPresenter(std::function<void()> damaged);

// The presenter's side: under the lock, hands the surface and the damaged rectangles (clipped to
// it; with `everything`, the whole surface, as when the window was uncovered) to `copy`, then
// forgets the damage. False when nothing was handed over, also when contexts are drawing (the
// presenter is then told again when they are done).
using DamageCopy = std::function<void(const gdi::Pixels& pixels, const std::vector<RECT>& rects)>;
bool TakeScreenDamage(const DamageCopy& copy, bool everything = false);

// ---- the host: what a screen back end hands in, in one record ------------------------------
struct HostHooks {
  // Damage appeared where there was none (on the painting thread): present soon.
  std::function<void()> damaged;
  // The desktop clipboard's text (UTF-8); nullopt when it cannot be read just now.
  std::function<std::optional<std::string>()> getClipboardText;
  // Puts text (UTF-8) on the desktop clipboard; false when that failed.
  std::function<bool(const std::string&)> setClipboardText;
  // A window of this process came to the front (its title, UTF-8): raise the host's window.
  std::function<void(const std::string& title)> activated;
  // SystemIdleTimerReset was called: hold the screen saver off.
  std::function<void()> idleReset;
  // A top-level window was shown (on the showing thread): the host's window must exist now. The
  // host makes its window only then, so a program that never shows one (a second instance that
  // hands over to the first) never shows anything; the window shown gives it its icon.
  std::function<void(HWND window)> shown;
};
// Installs every hook at once, at the back end's start; an empty record (at its end) removes
// them all, and the in-memory clipboard stands in for the desktop's again.
void InstallHostHooks(HostHooks hooks);

// The window manager's side: a top-level window was shown; calls the `shown` hook, if any.
void TellHostShown(HWND window);

// The device turns a quarter (width and height swap). The window manager's part runs on the UI
// thread, which the caller does not wait for; returns the new size for the host's window.
SIZE RotateScreen();

}  // namespace pda::user
