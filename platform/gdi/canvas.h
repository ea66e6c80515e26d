// Pixel operations on one target inside one clip, in device coordinates: the rasteriser under
// every drawing call. pixman does the filling, copying, blending and gradients; the colour-key
// copy and inversion are plain loops (pixman has no colour-key operator).
//
// A Canvas lives for one drawing call: it wraps the target in a pixman image clipped to the
// context's clip, so nothing outside the clip or the target is ever written. Given a box to
// grow, it adds to it the area each call may have written (its box inside the clip's extents).
#pragma once

#include <optional>

#include "gdi/font_library.h"
#include "gdi/pixels.h"
#include "gdi/region.h"

namespace pda::gdi {

class Canvas {
 public:
  Canvas(Pixels& target, const Region& clip, Box* drawn = nullptr);
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool ready() const { return image_ != nullptr; }

  void Fill(const Box& box, std::uint32_t pixel);
  void Invert(const Box& box);
  // Copies the same-sized box of source whose top-left is (source_x, source_y); the source box
  // must lie inside source. source may be the target itself, overlapping or not.
  void Copy(const Box& box, const Pixels& source, int source_x, int source_y);
  // Scales source_box onto box (nearest pixel), leaving out source pixels equal to key.
  void CopyScaled(const Box& box, const Pixels& source, const Box& source_box,
                  std::optional<std::uint32_t> key);
  // destination = source x alpha + destination x (1 - alpha); with source_alpha the source is
  // premultiplied ARGB and its own alpha counts too.
  void Blend(const Box& box, const Pixels& source, int source_x, int source_y,
             std::uint8_t alpha, bool source_alpha);
  // The first row (vertical) or column of box gets first, the last one second.
  void Gradient(const Box& box, const pixman_color_t& first, const pixman_color_t& second,
                bool vertical);
  // Blends pixel into the target through a glyph's coverage; (x, y) is the glyph's top-left.
  void Coverage(int x, int y, const GlyphImage& glyph, std::uint32_t pixel);

 private:
  template <class Visit>
  void ForEachRow(const Box& box, Visit visit);
  void Touch(const Box& box);

  Pixels& target_;
  Region clip_;
  Box* drawn_;
  PixmanImage image_;
  PixmanImage solid_;
  std::uint32_t solid_pixel_ = 0;
};

}  // namespace pda::gdi
