// The state behind an HDC: where drawing lands (a memory context's selected bitmap, or a
// surface such as the screen at an origin), the clip, the selected objects and the text colours.
//
// Drawing happens in device coordinates: logical (x, y) lands on the target at origin + (x, y),
// and only inside clip(), which is already in device coordinates and inside the target.
#pragma once

#include <memory>
#include <optional>

#include "gdi/objects.h"
#include "gdi/pixels.h"
#include "gdi/region.h"
#include "kernel/handle_table.h"
#include "pda/gdi.h"

namespace pda::gdi {

// An object selected into a context; keeps the object's selection count while it is held.
template <class Object>
class Selection {
 public:
  Selection() = default;
  Selection(std::shared_ptr<Object> object, std::uint32_t handle)
      : object_(std::move(object)), handle_(handle) {
    if (object_) object_->AddSelection();
  }
  Selection(Selection&& other) noexcept
      : object_(std::move(other.object_)), handle_(std::exchange(other.handle_, 0)) {}
  Selection& operator=(Selection&& other) noexcept {
    if (this != &other) {
      Release();
      object_ = std::move(other.object_);
      handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() { Release(); }

  Object* get() const { return object_.get(); }
  std::uint32_t handle() const { return handle_; }

 private:
  void Release() {
    if (object_) object_->DropSelection();
    object_.reset();
  }
  std::shared_ptr<Object> object_;
  std::uint32_t handle_ = 0;
};

class DeviceContext {
 public:
  // A memory context with the stock 1x1 bitmap, the system font and the white brush.
  static std::shared_ptr<DeviceContext> CreateMemory();
  // A context drawing onto a surface it does not own, at an origin, inside a clip (device
  // coordinates; null means the whole surface).
  static std::shared_ptr<DeviceContext> CreateForSurface(std::shared_ptr<Pixels> surface,
                                                         POINT origin,
                                                         const Region* clip);

  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  bool is_memory() const { return !surface_; }
  Pixels* target() const;
  POINT origin() const { return origin_; }
  const Region& clip() const { return clip_; }

  // Memory contexts only. Returns false when the bitmap is selected elsewhere.
  bool SelectBitmap(std::shared_ptr<Bitmap> bitmap, std::uint32_t handle,
                    std::uint32_t* previous);
  void SelectFont(std::shared_ptr<Font> font, std::uint32_t handle, std::uint32_t* previous);
  void SelectBrush(std::shared_ptr<Brush> brush, std::uint32_t handle, std::uint32_t* previous);
  const Selection<Bitmap>& bitmap() const { return bitmap_; }
  const Selection<Font>& font() const { return font_; }
  const Selection<Brush>& brush() const { return brush_; }

  // Surface contexts only.
  void SetSurfaceOrigin(POINT origin);
  void SetSurfaceClip(const Region* clip);

  // The application's clip, in logical coordinates (nothing: no clip of its own).
  void SetUserClip(std::optional<Region> clip);
  const std::optional<Region>& user_clip() const { return user_clip_; }

  // What drawing may have written since the context was made (device coordinates), grown by
  // every drawing call: the window system reports only that much of a screen context as drawn.
  Box* drawn() { return &drawn_; }

  COLORREF text_color = 0x000000;
  COLORREF bk_color = 0xFFFFFF;
  int bk_mode = OPAQUE;

 private:
  DeviceContext() = default;
  void UpdateClip();

  std::shared_ptr<Pixels> surface_;  // null for memory contexts
  POINT origin_{0, 0};
  Region surface_clip_;              // surface contexts: the window system's clip
  std::optional<Region> user_clip_;
  Region clip_;                      // what drawing uses
  Selection<Bitmap> bitmap_;
  Selection<Font> font_;
  Selection<Brush> brush_;
  Box drawn_;
};

using DeviceContextTable = HandleTable<DeviceContext>;
DeviceContextTable& DeviceContexts();
std::shared_ptr<DeviceContext> LookupDC(HDC dc);
HDC InsertDC(std::shared_ptr<DeviceContext> context);

}  // namespace pda::gdi
