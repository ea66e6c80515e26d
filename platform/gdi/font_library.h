// Fonts for the drawing library: stands in for the handheld's font engine.
//
// A LOGFONTW is matched through fontconfig by face, weight and slant to a file the system has
// ("Tahoma" becomes Liberation Sans here, "Courier New" Liberation Mono); fontconfig also says
// when bold or italic must be synthesised. A character that file lacks is drawn, glyph by glyph,
// from the first font of fontconfig's sorted list for the same request that has it, at the same
// em and on the same baseline; one that no font has is drawn and measured as an outlined box.
// Each file gets one FreeType face, opened once and kept, with one size object per size drawn
// from it; each font keeps the glyphs it has rendered, whichever face they came from: drawing and
// measuring never open a font twice and always see the same glyph. The library is shared by all
// threads and guarded by one lock.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "pda/gdi.h"

namespace pda::gdi {

// Pixel metrics of one font size, in the sense of TEXTMETRICW.
struct FontMetrics {
  int em = 0;                // character height (pixels per em)
  int ascent = 0;            // cell above the baseline
  int descent = 0;           // cell below the baseline
  int external_leading = 0;  // extra space the font asks for between lines
  int average_width = 0;
  int max_width = 0;
  int underline_offset = 0;  // first underline row, counted down from the baseline
  int underline_thickness = 1;
  int strikeout_offset = 0;  // first strike-out row, counted up from the baseline
  int Height() const { return ascent + descent; }
};

// One glyph as grey coverage (0..255), placed relative to the pen on the baseline.
struct GlyphImage {
  int left = 0;     // from the pen to the first column
  int top = 0;      // from the baseline up to the first row
  int width = 0;
  int height = 0;
  int stride = 0;   // a multiple of 4, so pixman can take it as an a8 image
  int advance = 0;  // whole pixels
  std::vector<std::uint8_t> coverage;
};

class FontInstance {
 public:
  virtual ~FontInstance() = default;
  virtual const FontMetrics& metrics() const = 0;
  // Rendered once per code point (from the font's own face, a fallback face, or the missing
  // box) and kept; the reference stays valid for the program's life.
  virtual const GlyphImage& Glyph(char32_t code_point) = 0;
  virtual int Advance(char32_t code_point) = 0;
};

// The shared font for the request, or null when neither the face nor a stand-in can be opened.
// dpi is used only for a zero height (the default size, 9 points).
std::shared_ptr<FontInstance> OpenFont(const LOGFONTW& request, int dpi);

}  // namespace pda::gdi
