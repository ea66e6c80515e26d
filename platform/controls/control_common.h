// What the controls share: the font rows of a record that keeps the caller's font in a member
// `font` (WM_SETFONT; null stands for the system font), and the window's text to draw.
#pragma once

#include <string>

#include "pda/user.h"
#include "user/window_shape.h"

namespace pda::controls {

inline std::u16string WindowText(HWND window) {
  std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

inline HFONT FontParameter(WPARAM font) { return HFONT{static_cast<std::uint32_t>(font)}; }

// WM_SETFONT for a control that only draws with the font: kept, and drawn again when asked.
template <class State>
LRESULT SetFontRow(State& s, WPARAM font, LPARAM redraw) {
  s.font = FontParameter(font);
  if (redraw) InvalidateRect(s.window, nullptr, FALSE);
  return 0;
}

template <class State>
LRESULT GetFontRow(State& s, WPARAM, LPARAM) {
  return static_cast<LRESULT>(s.font.value);
}

}  // namespace pda::controls
