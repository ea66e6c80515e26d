// Measuring and drawing one line of text with a font: the glyph walk shared by ExtTextOutW,
// DrawTextW and the extent calls. Glyphs come from the font's cache; the pen advances by whole
// pixels, without kerning, as the platform's text output does.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "gdi/canvas.h"
#include "gdi/font_library.h"
#include "pda/gdi.h"

namespace pda::gdi {

struct TextStyle {
  bool underline = false;
  bool strike_out = false;
  int tab_width = 0;  // > 0: tabs advance to the next multiple of this, counted from tab_origin
  int tab_origin = 0;
};

// The pen position after each UTF-16 unit (both units of a pair get the same value), starting
// at 0; dx, when not empty, replaces the font's advances.
std::vector<int> TextAdvances(FontInstance& font, std::u16string_view text,
                              std::span<const int> dx, const TextStyle& style);

// Draws text with its cell's top-left at device (x, y); returns the pen's travel.
int DrawTextLine(Canvas& canvas, FontInstance& font, int x, int y, std::u16string_view text,
                 std::span<const int> dx, const TextStyle& style, std::uint32_t pixel);

}  // namespace pda::gdi
