// The drawing calls: fills, block copies, colour-key copy, constant-alpha blend, gradients and
// single pixels. Each turns logical coordinates into device ones and hands the work to a Canvas.
#include <algorithm>

#include "gdi/canvas.h"
#include "gdi/device_context.h"

using namespace pda::gdi;  // NOLINT: the C surface below is a thin layer over this namespace

namespace {

// A context ready to draw on: its state and its target (never null when valid).
struct Drawable {
  std::shared_ptr<DeviceContext> dc;
  Pixels* pixels = nullptr;
  explicit operator bool() const { return pixels != nullptr; }
  Box ToDevice(int x, int y, int width, int height) const {
    const POINT o = dc->origin();
    return Box{x + o.x, y + o.y, x + width + o.x, y + height + o.y};
  }
};

Drawable Open(HDC handle) {
  Drawable d;
  d.dc = LookupDC(handle);
  if (d.dc) d.pixels = d.dc->target();
  return d;
}

// Shrinks a same-sized copy so that its source box lies inside the source surface.
bool FitSource(Box* destination, Box* source, const Pixels& pixels) {
  const Box inside = Intersect(*source, Box{0, 0, pixels.width(), pixels.height()});
  if (inside.Empty()) return false;
  destination->left += inside.left - source->left;
  destination->top += inside.top - source->top;
  destination->right -= source->right - inside.right;
  destination->bottom -= source->bottom - inside.bottom;
  *source = inside;
  return !destination->Empty();
}

// A COLOR16 carries the 8-bit channel in its high byte; pixman wants the full 16-bit value
// (0xFF00 would otherwise come out as 254).
std::uint16_t Widen(COLOR16 c) { return static_cast<std::uint16_t>((c >> 8) * 257); }

bool InsideSurface(const Box& box, const Pixels& pixels) {
  return box.left >= 0 && box.top >= 0 && box.right <= pixels.width() &&
         box.bottom <= pixels.height();
}

}  // namespace

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  Drawable target = Open(dc);
  std::shared_ptr<Brush> found = LookupObject<Brush>(brush.value);
  if (!target || !rect || !found) return 0;
  if (found->hollow()) return 1;
  Canvas canvas(*target.pixels, target.dc->clip(), target.dc->drawn());
  canvas.Fill(target.ToDevice(rect->left, rect->top, rect->right - rect->left,
                              rect->bottom - rect->top),
              PixelFromColorref(found->color()));
  return 1;
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  Drawable target = Open(dc);
  if (!target || width < 0 || height < 0) return FALSE;
  Canvas canvas(*target.pixels, target.dc->clip(), target.dc->drawn());
  const Box box = target.ToDevice(x, y, width, height);
  switch (rop) {
    case BLACKNESS: canvas.Fill(box, 0x000000); return TRUE;
    case WHITENESS: canvas.Fill(box, 0xFFFFFF); return TRUE;
    case DSTINVERT: canvas.Invert(box); return TRUE;
    case PATCOPY: {
      const Brush* brush = target.dc->brush().get();
      if (brush && !brush->hollow()) canvas.Fill(box, PixelFromColorref(brush->color()));
      return TRUE;
    }
    default: return FALSE;
  }
}

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rop) {
  if (rop != SRCCOPY) return PatBlt(destination, x, y, width, height, rop);
  Drawable to = Open(destination);
  Drawable from = Open(source);
  if (!to || !from || width < 0 || height < 0) return FALSE;
  Box box = to.ToDevice(x, y, width, height);
  Box source_box = from.ToDevice(sourceX, sourceY, width, height);
  if (!FitSource(&box, &source_box, *from.pixels)) return TRUE;  // nothing to copy
  Canvas canvas(*to.pixels, to.dc->clip(), to.dc->drawn());
  canvas.Copy(box, *from.pixels, source_box.left, source_box.top);
  return TRUE;
}

namespace {

BOOL CopyScaled(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight,
                std::optional<std::uint32_t> key) {
  Drawable to = Open(destination);
  Drawable from = Open(source);
  if (!to || !from || width < 0 || height < 0 || sourceWidth < 0 || sourceHeight < 0)
    return FALSE;
  Box box = to.ToDevice(x, y, width, height);
  Box source_box = from.ToDevice(sourceX, sourceY, sourceWidth, sourceHeight);
  if (box.Empty() || source_box.Empty()) return TRUE;
  if (width == sourceWidth && height == sourceHeight) {
    if (!FitSource(&box, &source_box, *from.pixels)) return TRUE;
  } else if (!InsideSurface(source_box, *from.pixels)) {
    return FALSE;  // a scaled copy must read inside its source
  }
  Canvas canvas(*to.pixels, to.dc->clip(), to.dc->drawn());
  if (!key && box.Width() == source_box.Width() && box.Height() == source_box.Height())
    canvas.Copy(box, *from.pixels, source_box.left, source_box.top);
  else
    canvas.CopyScaled(box, *from.pixels, source_box, key);
  return TRUE;
}

}  // namespace

BOOL StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
  if (rop != SRCCOPY) return FALSE;
  return CopyScaled(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                    sourceHeight, std::nullopt);
}

BOOL TransparentBlt(HDC destination, int x, int y, int width, int height, HDC source,
                    int sourceX, int sourceY, int sourceWidth, int sourceHeight, UINT keyColor) {
  return CopyScaled(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                    sourceHeight, PixelFromColorref(keyColor & 0x00FFFFFFu));
}

BOOL TransparentImage(HDC destination, int x, int y, int width, int height, HDC source,
                      int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                      COLORREF keyColor) {
  return TransparentBlt(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                        sourceHeight, keyColor);
}

BOOL AlphaBlend(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend) {
  Drawable to = Open(destination);
  Drawable from = Open(source);
  if (!to || !from || blend.BlendOp != AC_SRC_OVER || width < 0 || height < 0 ||
      width != sourceWidth || height != sourceHeight)
    return FALSE;
  Box box = to.ToDevice(x, y, width, height);
  Box source_box = from.ToDevice(sourceX, sourceY, width, height);
  if (!FitSource(&box, &source_box, *from.pixels)) return TRUE;
  Canvas canvas(*to.pixels, to.dc->clip(), to.dc->drawn());
  canvas.Blend(box, *from.pixels, source_box.left, source_box.top, blend.SourceConstantAlpha,
               (blend.AlphaFormat & AC_SRC_ALPHA) != 0);
  return TRUE;
}

BOOL GradientFill(HDC dc, PTRIVERTEX vertices, ULONG vertexCount, LPVOID mesh, ULONG meshCount,
                  ULONG mode) {
  Drawable target = Open(dc);
  if (!target || !vertices || !mesh) return FALSE;
  if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return FALSE;
  const bool vertical = mode == GRADIENT_FILL_RECT_V;
  const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
  Canvas canvas(*target.pixels, target.dc->clip(), target.dc->drawn());
  for (ULONG i = 0; i < meshCount; ++i) {
    if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) return FALSE;
    const TRIVERTEX* a = &vertices[rects[i].UpperLeft];
    const TRIVERTEX* b = &vertices[rects[i].LowerRight];
    // The colour follows its vertex: whichever comes first along the gradient starts it.
    if (vertical ? a->y > b->y : a->x > b->x) std::swap(a, b);
    const int left = std::min(a->x, b->x), right = std::max(a->x, b->x);
    const int top = std::min(a->y, b->y), bottom = std::max(a->y, b->y);
    // The surfaces are opaque: the vertices' alpha is not used.
    const pixman_color_t first{Widen(a->Red), Widen(a->Green), Widen(a->Blue), 0xFFFF};
    const pixman_color_t second{Widen(b->Red), Widen(b->Green), Widen(b->Blue), 0xFFFF};
    canvas.Gradient(target.ToDevice(left, top, right - left, bottom - top), first, second,
                    vertical);
  }
  return TRUE;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  Drawable target = Open(dc);
  if (!target) return CLR_INVALID;
  const Box box = target.ToDevice(x, y, 1, 1);
  if (!target.dc->clip().Contains(box.left, box.top)) return CLR_INVALID;
  target.pixels->row(box.top)[box.left] = PixelFromColorref(color & 0x00FFFFFFu);
  *target.dc->drawn() = Bounds(*target.dc->drawn(), box);
  return color & 0x00FFFFFFu;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  Drawable target = Open(dc);
  if (!target) return CLR_INVALID;
  const Box box = target.ToDevice(x, y, 1, 1);
  if (!target.dc->clip().Contains(box.left, box.top)) return CLR_INVALID;
  return ColorrefFromPixel(target.pixels->Color(box.left, box.top));
}
