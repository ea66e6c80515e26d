// The device-context calls: creation and deletion, selection, clipping, text colours, caps,
// and the window system's surface contexts.
#include <cmath>

#include "display/display.h"
#include "gdi/device_context.h"
#include "gdi/surface_dc.h"

namespace pda::gdi {

HDC CreateSurfaceDC(std::shared_ptr<Pixels> surface, POINT origin,
                    const Region* clip) {
  std::shared_ptr<DeviceContext> dc =
      DeviceContext::CreateForSurface(std::move(surface), origin, clip);
  if (!dc) return nullptr;
  return InsertDC(std::move(dc));
}

bool SetSurfaceDCOrigin(HDC dc, POINT origin) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  if (!context || context->is_memory()) return false;
  context->SetSurfaceOrigin(origin);
  return true;
}

bool SetSurfaceDCClip(HDC dc, const Region* clip) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  if (!context || context->is_memory()) return false;
  context->SetSurfaceClip(clip);
  return true;
}

bool DeleteSurfaceDC(HDC dc, Box* drawn) {
  if (drawn) {
    const std::shared_ptr<DeviceContext> context = LookupDC(dc);
    *drawn = context ? *context->drawn() : Box{};
  }
  return ::DeleteDC(dc) != FALSE;
}

}  // namespace pda::gdi

using namespace pda::gdi;  // NOLINT: the C surface below is a thin layer over this namespace

HDC CreateCompatibleDC(HDC) {
  std::shared_ptr<DeviceContext> dc = DeviceContext::CreateMemory();
  if (!dc) return nullptr;
  return InsertDC(std::move(dc));
}

BOOL DeleteDC(HDC dc) {
  // The context's selections end with it, so its objects can be deleted afterwards.
  return DeviceContexts().Remove(dc.value, pda::HandleKind::DeviceContext) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  std::shared_ptr<GdiObject> found = LookupObject<GdiObject>(object.value);
  if (!context || !found) return nullptr;
  std::uint32_t previous = 0;
  if (auto bitmap = std::dynamic_pointer_cast<Bitmap>(found)) {
    if (!context->SelectBitmap(std::move(bitmap), object.value, &previous)) return nullptr;
  } else if (auto font = std::dynamic_pointer_cast<Font>(found)) {
    context->SelectFont(std::move(font), object.value, &previous);
  } else if (auto brush = std::dynamic_pointer_cast<Brush>(found)) {
    context->SelectBrush(std::move(brush), object.value, &previous);
  } else if (auto region = std::dynamic_pointer_cast<RegionObject>(found)) {
    // As in Win32: selecting a region sets the clip and answers with the region's type.
    context->SetUserClip(region->region());
    return HGDIOBJ{static_cast<std::uint32_t>(context->clip().Kind())};
  } else {
    return nullptr;
  }
  return HGDIOBJ{previous};
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  if (!context) return nullptr;
  switch (type) {
    case OBJ_BITMAP: return HGDIOBJ{context->bitmap().handle()};
    case OBJ_FONT: return HGDIOBJ{context->font().handle()};
    case OBJ_BRUSH: return HGDIOBJ{context->brush().handle()};
    default: return nullptr;
  }
}

int SelectClipRgn(HDC dc, HRGN region) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  if (!context) return ERROR;
  if (!region) {
    context->SetUserClip(std::nullopt);
  } else {
    std::shared_ptr<RegionObject> found = LookupObject<RegionObject>(region.value);
    if (!found) return ERROR;
    context->SetUserClip(found->region());
  }
  return context->clip().Kind();
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  if (!context) return ERROR;
  const Box box{left, top, right, bottom};
  Region clip;
  if (context->user_clip()) {
    clip = *context->user_clip();
    clip.Intersect(box);
  } else {
    // No clip of its own yet: the rectangle alone. The context's own bounds (which the window
    // system may change later) are applied on top of it, not folded into it.
    clip.SetBox(box);
  }
  context->SetUserClip(std::move(clip));
  return context->clip().Kind();
}

int GetClipBox(HDC dc, LPRECT rect) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  if (!context || !rect) return ERROR;
  const Box box = context->clip().Extents();
  const POINT origin = context->origin();
  *rect = box.Empty() ? RECT{0, 0, 0, 0}
                      : RECT{box.left - origin.x, box.top - origin.y, box.right - origin.x,
                             box.bottom - origin.y};
  return context->clip().Kind();
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  if (!context) return CLR_INVALID;
  return std::exchange(context->text_color, color & 0x00FFFFFFu);
}
COLORREF GetTextColor(HDC dc) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  return context ? context->text_color : CLR_INVALID;
}
COLORREF SetBkColor(HDC dc, COLORREF color) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  if (!context) return CLR_INVALID;
  return std::exchange(context->bk_color, color & 0x00FFFFFFu);
}
COLORREF GetBkColor(HDC dc) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  return context ? context->bk_color : CLR_INVALID;
}
int SetBkMode(HDC dc, int mode) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  if (!context || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(context->bk_mode, mode);
}
int GetBkMode(HDC dc) {
  std::shared_ptr<DeviceContext> context = LookupDC(dc);
  return context ? context->bk_mode : 0;
}

int GetDeviceCaps(HDC, int index) {
  // Every context is compatible with the one screen, so the answers are the screen's.
  const pda::display::ScreenMode screen = pda::display::CurrentScreen();
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return screen.dpi;
    case HORZRES: return screen.width;
    case VERTRES: return screen.height;
    case HORZSIZE: return static_cast<int>(std::lround(screen.width * 25.4 / screen.dpi));
    case VERTSIZE: return static_cast<int>(std::lround(screen.height * 25.4 / screen.dpi));
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    default: return 0;
  }
}
