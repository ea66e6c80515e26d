// The device's screen as configured: size in pixels and DPI (PDA_SCREEN, "WxH@DPI", default
// 480x640@192). The window system, the drawing library and the screen back ends all read it from
// here; rotation (a new size) is announced through SetScreen.
#pragma once

#include <optional>
#include <string_view>

namespace pda::display {

struct ScreenMode {
  int width = 480;
  int height = 640;
  int dpi = 192;
  friend bool operator==(const ScreenMode&, const ScreenMode&) = default;
};

// "240x320@96" -> {240, 320, 96}. Sizes 1..8192, DPI 48..960; anything else is refused.
std::optional<ScreenMode> ParseScreenMode(std::string_view text);
inline constexpr std::string_view kScreenModeForm =
    "WIDTHxHEIGHT@DPI (sizes 1 to 8192, DPI 48 to 960), e.g. 240x320@96 | 480x640@192 | "
    "640x480@192";

// The current screen: PDA_SCREEN on first use (the start has refused a bad value; here it is
// reported and the default used), or what SetScreen last set.
ScreenMode CurrentScreen();
void SetScreen(const ScreenMode& screen);

// Height of the navigation bar and of a soft-key menu bar: 26 pixels at 96 DPI, scaled.
int BarHeight();

}  // namespace pda::display
