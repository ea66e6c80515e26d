// The rasteriser: pixman compositing and the few plain loops pixman cannot do.
#include "gdi/canvas.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace pda::gdi {
namespace {

pixman_color_t ColorOf(std::uint32_t pixel) {
  auto widen = [](std::uint32_t v) { return static_cast<std::uint16_t>((v & 0xFF) * 257); };
  return pixman_color_t{widen(pixel >> 16), widen(pixel >> 8), widen(pixel), 0xFFFF};
}

}  // namespace

Canvas::Canvas(Pixels& target, const Region& clip, Box* drawn)
    : target_(target), clip_(clip), drawn_(drawn), image_(target.Image()) {
  clip_.Intersect(Box{0, 0, target.width(), target.height()});
  if (image_) pixman_image_set_clip_region32(image_.get(), clip_.get());
}

void Canvas::Touch(const Box& box) {
  target_.Forget(box.top, box.bottom);
  if (drawn_) *drawn_ = Bounds(*drawn_, Intersect(box, clip_.Extents()));
}

// Calls visit(y, left, right) for every clipped span of box.
template <class Visit>
void Canvas::ForEachRow(const Box& box, Visit visit) {
  for (const pixman_box32_t& b : clip_.Boxes()) {
    const Box part = gdi::Intersect(box, Box{b.x1, b.y1, b.x2, b.y2});
    if (part.Empty()) continue;
    for (int y = part.top; y < part.bottom; ++y) visit(y, part.left, part.right);
  }
}

void Canvas::Fill(const Box& box, std::uint32_t pixel) {
  if (!image_ || box.Empty()) return;
  Region region(box);
  region.Intersect(clip_);
  std::vector<pixman_box32_t> boxes;
  for (const pixman_box32_t& b : region.Boxes()) {
    if (pixel != 0 || b.x1 != 0 || b.x2 != target_.width()) {
      boxes.push_back(b);
      continue;
    }
    // Black over whole rows still black from the start writes nothing (pixels.h): an
    // all-black surface stays untouched memory.
    for (int y = b.y1; y < b.y2;) {
      if (target_.ZeroRow(y)) {
        ++y;
        continue;
      }
      const int top = y;
      while (y < b.y2 && !target_.ZeroRow(y)) ++y;
      boxes.push_back(pixman_box32_t{b.x1, top, b.x2, y});
    }
  }
  if (boxes.empty()) return;
  for (const pixman_box32_t& b : boxes) Touch(Box{b.x1, b.y1, b.x2, b.y2});
  const pixman_color_t color = ColorOf(pixel);
  pixman_image_fill_boxes(PIXMAN_OP_SRC, image_.get(), &color, static_cast<int>(boxes.size()),
                          boxes.data());
}

void Canvas::Invert(const Box& box) {
  Touch(box);
  ForEachRow(box, [&](int y, int left, int right) {
    std::uint32_t* row = target_.row(y);
    for (int x = left; x < right; ++x) row[x] = ~row[x] & 0x00FFFFFFu;
  });
}

void Canvas::Copy(const Box& box, const Pixels& source, int source_x, int source_y) {
  if (!image_ || box.Empty()) return;
  if (source.data() != std::as_const(target_).data()) {
    // Rows that already hold their source are left alone, and not counted as drawn: a repaint
    // of a mostly unchanged picture (the usual case) writes, and reports, only what changed.
    // Whole rows known to match (pixels.h) are not even read; memcmp stops at the first
    // difference, so a row that changed costs next to nothing more.
    ForEachRow(box, [&](int y, int left, int right) {
      const int from_y = source_y + y - box.top;
      const int from_x = source_x + (left - box.left);
      const bool whole = left == 0 && right == target_.width() && from_x == 0;
      if (whole && target_.SameRow(y, source, from_y)) return;
      const std::uint32_t* in = source.row(from_y) + from_x;
      std::uint32_t* out = target_.row(y) + left;
      const auto bytes = static_cast<std::size_t>(right - left) * sizeof *out;
      if (std::memcmp(out, in, bytes) != 0) {
        std::memcpy(out, in, bytes);
        Touch(Box{left, y, right, y + 1});
      }
      if (whole) target_.ShareRow(y, source, from_y);
    });
    return;
  }
  // Copying within one surface: stage the source so overlapping boxes copy as if at once.
  Touch(box);
  std::optional<Pixels> staged = Pixels::Create(box.Width(), box.Height());
  if (!staged) return;
  for (int y = 0; y < box.Height(); ++y)
    std::copy_n(source.row(source_y + y) + source_x, box.Width(), staged->row(y));
  PixmanImage source_image = staged->Image();
  if (!source_image) return;
  pixman_image_composite32(PIXMAN_OP_SRC, source_image.get(), nullptr, image_.get(), 0, 0, 0, 0,
                           box.left, box.top, box.Width(), box.Height());
}

void Canvas::CopyScaled(const Box& box, const Pixels& source, const Box& source_box,
                        std::optional<std::uint32_t> key) {
  if (box.Empty() || source_box.Empty()) return;
  Touch(box);
  const std::int64_t w = box.Width(), h = box.Height();
  const std::int64_t sw = source_box.Width(), sh = source_box.Height();
  const bool same = source.data() == std::as_const(target_).data();
  std::optional<Pixels> staged;
  const Pixels* from = &source;
  Box from_box = source_box;
  if (same) {
    staged = Pixels::Create(source_box.Width(), source_box.Height());
    if (!staged) return;
    for (int y = 0; y < source_box.Height(); ++y)
      std::copy_n(source.row(source_box.top + y) + source_box.left, source_box.Width(),
                  staged->row(y));
    from = &*staged;
    from_box = Box{0, 0, source_box.Width(), source_box.Height()};
  }
  if (w == sw && h == sh) {
    // Same size (the usual colour-key copy of an icon): no scaling arithmetic per pixel.
    ForEachRow(box, [&](int y, int left, int right) {
      const std::uint32_t* in = from->row(from_box.top + y - box.top) + from_box.left;
      std::uint32_t* out = target_.row(y);
      for (int x = left; x < right; ++x) {
        const std::uint32_t p = in[x - box.left] & 0x00FFFFFFu;
        if (!key || p != *key) out[x] = p;
      }
    });
    return;
  }
  ForEachRow(box, [&](int y, int left, int right) {
    // Nearest source pixel to the centre of the destination pixel.
    const int sy = from_box.top + static_cast<int>(((y - box.top) * 2 + 1) * sh / (2 * h));
    const std::uint32_t* in = from->row(sy);
    std::uint32_t* out = target_.row(y);
    for (int x = left; x < right; ++x) {
      const int sx = from_box.left + static_cast<int>(((x - box.left) * 2 + 1) * sw / (2 * w));
      const std::uint32_t p = in[sx] & 0x00FFFFFFu;
      if (!key || p != *key) out[x] = p;
    }
  });
}

void Canvas::Blend(const Box& box, const Pixels& source, int source_x, int source_y,
                   std::uint8_t alpha, bool source_alpha) {
  if (!image_ || box.Empty() || alpha == 0) return;
  Touch(box);
  PixmanImage source_image = source.Image(source_alpha ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8);
  const pixman_color_t mask_color{0, 0, 0, static_cast<std::uint16_t>(alpha * 257)};
  PixmanImage mask(pixman_image_create_solid_fill(&mask_color));
  if (!source_image || !mask) return;
  pixman_image_composite32(PIXMAN_OP_OVER, source_image.get(), mask.get(), image_.get(),
                           source_x, source_y, 0, 0, box.left, box.top, box.Width(),
                           box.Height());
}

void Canvas::Gradient(const Box& box, const pixman_color_t& first, const pixman_color_t& second,
                      bool vertical) {
  if (!image_ || box.Empty()) return;
  Touch(box);
  const int span = vertical ? box.Height() : box.Width();
  PixmanImage gradient;
  if (span == 1) {
    gradient.reset(pixman_image_create_solid_fill(&first));
  } else {
    // The ends sit on the centres of the first and last rows, so those rows get the vertex
    // colours exactly whatever the height.
    const int start = vertical ? box.top : box.left;
    pixman_point_fixed_t p1, p2;
    p1.x = p2.x = p1.y = p2.y = 0;
    const pixman_fixed_t a = pixman_double_to_fixed(start + 0.5);
    const pixman_fixed_t b = pixman_double_to_fixed(start + span - 0.5);
    (vertical ? p1.y : p1.x) = a;
    (vertical ? p2.y : p2.x) = b;
    const pixman_gradient_stop_t stops[2] = {{pixman_int_to_fixed(0), first},
                                             {pixman_int_to_fixed(1), second}};
    gradient.reset(pixman_image_create_linear_gradient(&p1, &p2, stops, 2));
    if (gradient) pixman_image_set_repeat(gradient.get(), PIXMAN_REPEAT_PAD);
  }
  if (!gradient) return;
  pixman_image_composite32(PIXMAN_OP_SRC, gradient.get(), nullptr, image_.get(), box.left,
                           box.top, 0, 0, box.left, box.top, box.Width(), box.Height());
}

void Canvas::Coverage(int x, int y, const GlyphImage& glyph, std::uint32_t pixel) {
  if (!image_ || glyph.width == 0 || glyph.height == 0) return;
  Touch(Box{x, y, x + glyph.width, y + glyph.height});
  if (!solid_ || solid_pixel_ != pixel) {
    const pixman_color_t color = ColorOf(pixel);
    solid_.reset(pixman_image_create_solid_fill(&color));
    solid_pixel_ = pixel;
  }
  // pixman only reads the coverage; it wants a mutable pointer all the same.
  PixmanImage mask(pixman_image_create_bits(
      PIXMAN_a8, glyph.width, glyph.height,
      reinterpret_cast<std::uint32_t*>(const_cast<std::uint8_t*>(glyph.coverage.data())),
      glyph.stride));
  if (!solid_ || !mask) return;
  pixman_image_composite32(PIXMAN_OP_OVER, solid_.get(), mask.get(), image_.get(), 0, 0, 0, 0, x,
                           y, glyph.width, glyph.height);
}

}  // namespace pda::gdi
