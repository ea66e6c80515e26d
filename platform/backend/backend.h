// The screen back ends: what shows the device's screen and delivers the stylus and keys. Stands
// in for the device's display driver and touch panel.
//
// A back end knows only the screen surface (user/screen_surface.h: one record of host hooks) and
// input events (routed by user/input_router.h). They are listed in one registry
// {name, init, term}; PDA_DISPLAY picks one (sdl by default, headless for tests and
// screenshots), PDA_ZOOM scales the SDL window.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "backend/zoom.h"
#include "pda/types.h"

namespace pda::backend {

struct Options {
  // Whole-number scale of a desktop window, or kZoomAuto (backend/zoom.h); the device
  // resolution is unchanged.
  int zoom = kZoomAuto;
  // The application's id (e.g. "org.example.App"): the desktop's name for the program's window
  // (X11 WM_CLASS, Wayland app_id), which its desktop entry names. Empty: SDL's own choice.
  std::string_view applicationId;
};

struct Backend {
  std::string_view name;
  // False, with one line for standard error in *error, when the back end cannot start.
  bool (*init)(const Options& options, std::string* error);
  void (*term)();
};

std::span<const Backend> Registry();
const Backend* FindBackend(std::string_view name);

struct Selection {
  const Backend* backend;
  Options options;
};
// PDA_DISPLAY and PDA_ZOOM as given (null or empty: unset); nothing for a bad value, which the
// start's settings check (backend/settings_check.h) has refused with its line.
std::optional<Selection> Select(const char* display, const char* zoom);

// Starts a named back end; false after printing one line on standard error.
bool Start(std::string_view name, const Options& options);
// Stops the running back end, if any.
void Stop();

// The program's exit code when its display cannot be opened, or was lost while it ran.
inline constexpr int kExitNoDisplay = 1;
// The display went away while the program ran (the X server ended): the back end has asked the
// application to close and told the user; the program then exits with kExitNoDisplay.
bool DisplayWasLost();

// ---- start-up: one path for the program's main and the test harness ------------------------
// Starts the back end, then registers the built-in window classes, so that they exist before the
// program runs; false after printing one line on standard error.
bool Boot(std::string_view name, const Options& options);
enum class BootResult { Ready, BadSetting, NoDisplay };
// Checks every PDA_* setting (BadSetting: one was refused, nothing has started), then boots the
// back end they name (NoDisplay: it could not start) for the application of that id (see
// Options). Each failure has printed its one line.
BootResult BootFromEnvironment(std::string_view applicationId = {});

using EntryFunction = int (*)(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine,
                              int show);
// Runs the program's entry on the calling thread as the device starts a program: its module
// handle, no previous instance, an empty command line, SW_SHOWNORMAL. Returns its result.
int RunEntry(EntryFunction entry);

}  // namespace pda::backend
