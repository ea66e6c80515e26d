// The back-end registry, PDA_DISPLAY / PDA_ZOOM, and the one running back end.
#include <charconv>
#include <cstdio>
#include <mutex>

#include "backend/backend.h"
#include "backend/headless.h"
#include "backend/sdl_backend.h"

namespace pda::backend {
namespace {

constexpr Backend kBackends[] = {
    {"sdl", sdl::Init, sdl::Term},
    {"headless", headless::Init, headless::Term},
};
constexpr int kMaxZoom = 16;

std::mutex g_mutex;
const Backend* g_running = nullptr;

}  // namespace

std::span<const Backend> Registry() { return kBackends; }

const Backend* FindBackend(std::string_view name) {
  for (const Backend& b : kBackends)
    if (b.name == name) return &b;
  return nullptr;
}

std::optional<int> ParseZoom(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size() || value < 1 || value > kMaxZoom)
    return std::nullopt;
  return value;
}

std::optional<Selection> Select(const char* display, const char* zoom) {
  Selection selection{FindBackend(display && *display ? display : "sdl"), Options{}};
  if (!selection.backend) return std::nullopt;
  if (zoom && *zoom) {
    const auto value = ParseZoom(zoom);
    if (!value) return std::nullopt;
    selection.options.zoom = *value;
  }
  return selection;
}

bool Start(std::string_view name, const Options& options) {
  const Backend* backend = FindBackend(name);
  std::string error;
  std::lock_guard lock(g_mutex);
  if (g_running) {
    std::fprintf(stderr, "display: a back end is already running\n");
    return false;
  }
  if (!backend) {
    std::fprintf(stderr, "display: no back end is named \"%.*s\"\n", static_cast<int>(name.size()),
                 name.data());
    return false;
  }
  if (!backend->init(options, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
  }
  g_running = backend;
  return true;
}

void Stop() {
  std::lock_guard lock(g_mutex);
  if (!g_running) return;
  g_running->term();
  g_running = nullptr;
}

}  // namespace pda::backend
