// The glyph walk: advances, glyph coverage, underline and strike-out.
#include "gdi/text_render.h"

#include "gdi/text_encoding.h"

namespace pda::gdi {

std::vector<int> TextAdvances(FontInstance& font, std::u16string_view text,
                              std::span<const int> dx, const TextStyle& style) {
  std::vector<int> ends(text.size(), 0);
  int pen = 0;
  for (const CodePoint& cp : DecodeUtf16(text)) {
    const std::size_t unit = static_cast<std::size_t>(cp.unit);
    if (!dx.empty()) {
      pen += unit < dx.size() ? dx[unit] : 0;
    } else if (cp.value == U'\t' && style.tab_width > 0) {
      const int at = style.tab_origin + pen;
      pen += style.tab_width - at % style.tab_width;
    } else {
      pen += font.Advance(cp.value);
    }
    ends[unit] = pen;
    if (unit + 1 < ends.size() && cp.value >= 0x10000) ends[unit + 1] = pen;
  }
  return ends;
}

int DrawTextLine(Canvas& canvas, FontInstance& font, int x, int y, std::u16string_view text,
                 std::span<const int> dx, const TextStyle& style, std::uint32_t pixel) {
  const FontMetrics& m = font.metrics();
  const int baseline = y + m.ascent;
  const std::vector<int> ends = TextAdvances(font, text, dx, style);
  int pen = 0;
  for (const CodePoint& cp : DecodeUtf16(text)) {
    if (cp.value != U'\t' || style.tab_width == 0) {
      const GlyphImage& glyph = font.Glyph(cp.value);
      canvas.Coverage(x + pen + glyph.left, baseline - glyph.top, glyph, pixel);
    }
    pen = ends[static_cast<std::size_t>(cp.unit)];
  }
  if (pen > 0 && style.underline)
    canvas.Fill(Box{x, baseline + m.underline_offset, x + pen,
                    baseline + m.underline_offset + m.underline_thickness},
                pixel);
  if (pen > 0 && style.strike_out)
    canvas.Fill(Box{x, baseline - m.strikeout_offset, x + pen,
                    baseline - m.strikeout_offset + m.underline_thickness},
                pixel);
  return pen;
}

}  // namespace pda::gdi
