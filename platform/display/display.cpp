#include "display/display.h"

#include <charconv>
#include <cstdlib>
#include <mutex>

#include "kernel/bad_setting.h"

namespace pda::display {
namespace {

std::optional<int> ParseNumber(std::string_view& text, int min, int max) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data() || value < min || value > max)
    return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return value;
}

bool Expect(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

struct State {
  std::mutex mutex;
  std::optional<ScreenMode> screen;
};
State& GetState() {
  static State state;
  return state;
}

ScreenMode FromEnvironment() {
  const char* value = std::getenv("PDA_SCREEN");
  if (!value || !*value) return ScreenMode{};
  if (auto mode = ParseScreenMode(value)) return *mode;
  // The start refuses a bad value before anything runs; only a test meets it here.
  ReportBadSetting("PDA_SCREEN", value, "not a screen", kScreenModeForm);
  return ScreenMode{};
}

}  // namespace

std::optional<ScreenMode> ParseScreenMode(std::string_view text) {
  auto width = ParseNumber(text, 1, 8192);
  if (!width || !Expect(text, 'x')) return std::nullopt;
  auto height = ParseNumber(text, 1, 8192);
  if (!height || !Expect(text, '@')) return std::nullopt;
  auto dpi = ParseNumber(text, 48, 960);
  if (!dpi || !text.empty()) return std::nullopt;
  return ScreenMode{*width, *height, *dpi};
}

ScreenMode CurrentScreen() {
  State& state = GetState();
  std::lock_guard lock(state.mutex);
  if (!state.screen) state.screen = FromEnvironment();
  return *state.screen;
}

void SetScreen(const ScreenMode& screen) {
  State& state = GetState();
  std::lock_guard lock(state.mutex);
  state.screen = screen;
}

int BarHeight() { return 26 * CurrentScreen().dpi / 96; }

}  // namespace pda::display
