// Device-context state: targets, clips and selections.
#include "gdi/device_context.h"

namespace pda::gdi {

DeviceContextTable& DeviceContexts() {
  // Never destroyed: contexts may be released by code that runs at exit.
  static DeviceContextTable* const table = new DeviceContextTable;
  return *table;
}

std::shared_ptr<DeviceContext> LookupDC(HDC dc) {
  return DeviceContexts().Lookup(dc.value, HandleKind::DeviceContext);
}

HDC InsertDC(std::shared_ptr<DeviceContext> context) {
  return HDC{DeviceContexts().Insert(std::move(context), HandleKind::DeviceContext)};
}

namespace {

void SelectDefaults(DeviceContext& dc) {
  std::uint32_t font_handle = 0;
  std::uint32_t brush_handle = 0;
  std::uint32_t unused = 0;
  auto font = std::dynamic_pointer_cast<Font>(StockObject(SYSTEM_FONT, &font_handle));
  auto brush = std::dynamic_pointer_cast<Brush>(StockObject(WHITE_BRUSH, &brush_handle));
  if (font) dc.SelectFont(std::move(font), font_handle, &unused);
  if (brush) dc.SelectBrush(std::move(brush), brush_handle, &unused);
}

}  // namespace

std::shared_ptr<DeviceContext> DeviceContext::CreateMemory() {
  std::shared_ptr<DeviceContext> dc(new DeviceContext);
  std::uint32_t bitmap_handle = 0;
  std::uint32_t unused = 0;
  std::shared_ptr<Bitmap> bitmap = StockBitmap(&bitmap_handle);
  if (!bitmap) return nullptr;
  dc->SelectBitmap(std::move(bitmap), bitmap_handle, &unused);
  SelectDefaults(*dc);
  return dc;
}

std::shared_ptr<DeviceContext> DeviceContext::CreateForSurface(std::shared_ptr<Pixels> surface,
                                                               POINT origin,
                                                               const Region* clip) {
  if (!surface) return nullptr;
  std::shared_ptr<DeviceContext> dc(new DeviceContext);
  dc->surface_ = std::move(surface);
  dc->origin_ = origin;
  dc->SetSurfaceClip(clip);
  SelectDefaults(*dc);
  return dc;
}

Pixels* DeviceContext::target() const {
  if (surface_) return surface_.get();
  return bitmap_.get() ? &bitmap_.get()->pixels() : nullptr;
}

bool DeviceContext::SelectBitmap(std::shared_ptr<Bitmap> bitmap, std::uint32_t handle,
                                 std::uint32_t* previous) {
  if (surface_ || !bitmap) return false;
  // A bitmap lives in one memory context at a time; the stock bitmap is shared by all.
  if (bitmap.get() != bitmap_.get() && !bitmap->stock() && bitmap->selections() > 0) return false;
  *previous = bitmap_.handle();
  bitmap_ = Selection<Bitmap>(std::move(bitmap), handle);
  UpdateClip();
  return true;
}

void DeviceContext::SelectFont(std::shared_ptr<Font> font, std::uint32_t handle,
                               std::uint32_t* previous) {
  *previous = font_.handle();
  font_ = Selection<Font>(std::move(font), handle);
}

void DeviceContext::SelectBrush(std::shared_ptr<Brush> brush, std::uint32_t handle,
                                std::uint32_t* previous) {
  *previous = brush_.handle();
  brush_ = Selection<Brush>(std::move(brush), handle);
}

void DeviceContext::SetSurfaceOrigin(POINT origin) {
  origin_ = origin;
  UpdateClip();
}

void DeviceContext::SetSurfaceClip(const Region* clip) {
  if (!surface_) return;
  if (clip) {
    surface_clip_ = *clip;
  } else {
    surface_clip_.SetBox(Box{0, 0, surface_->width(), surface_->height()});
  }
  UpdateClip();
}

void DeviceContext::SetUserClip(std::optional<Region> clip) {
  user_clip_ = std::move(clip);
  UpdateClip();
}

void DeviceContext::UpdateClip() {
  const Pixels* pixels = target();
  if (!pixels) {
    clip_ = Region();
    return;
  }
  clip_.SetBox(Box{0, 0, pixels->width(), pixels->height()});
  if (surface_) clip_.Intersect(surface_clip_);
  if (user_clip_) {
    Region user = *user_clip_;
    user.Translate(origin_.x, origin_.y);
    clip_.Intersect(user);
  }
}

}  // namespace pda::gdi
