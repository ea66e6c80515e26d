// The back-end registry, the choice of PDA_DISPLAY and PDA_ZOOM, and the one running back end.
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

std::mutex g_mutex;
const Backend* g_running = nullptr;

}  // namespace

std::span<const Backend> Registry() { return kBackends; }

const Backend* FindBackend(std::string_view name) {
  for (const Backend& b : kBackends)
    if (b.name == name) return &b;
  return nullptr;
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
