// Icons: handles of kind Icon over premultiplied pixels, chosen from a group by size, drawn
// alpha-blended.
#include "resources/icons.h"

#include "pda/owners.h"

#include <limits>

#include "display/display.h"
#include "gdi/bitmaps.h"
#include "kernel/handle_table.h"
#include "resources/image_ops.h"
#include "resources/registry.h"

namespace pda::resources {
namespace {

struct Icon {
  std::shared_ptr<const gdi::Pixels> pixels;
};

HandleTable<Icon>& Icons() {
  static HandleTable<Icon>* const icons = new HandleTable<Icon>;  // outlives every static user
  return *icons;
}

// The exact size if the group has it; else the smallest image that covers the size (scaling
// down keeps detail); else the largest.
const IconImage* Nearest(const std::vector<IconImage>& images, int cx, int cy) {
  const IconImage* best = nullptr;
  long bestArea = std::numeric_limits<long>::max();
  const IconImage* largest = &images.front();
  for (const IconImage& image : images) {
    const int w = image.pixels->width();
    const int h = image.pixels->height();
    if (w == cx && h == cy) return &image;
    const long area = static_cast<long>(w) * h;
    if (w >= cx && h >= cy && area < bestArea) {
      best = &image;
      bestArea = area;
    }
    if (area > static_cast<long>(largest->pixels->width()) * largest->pixels->height())
      largest = &image;
  }
  return best ? best : largest;
}

}  // namespace

int SystemIconSize() { return 32 * display::CurrentScreen().dpi / 96; }

HICON LoadIconOfSize(HINSTANCE instance, LPCWSTR name, int cx, int cy) {
  const std::optional<WORD> id = NumberOf(name);
  const auto group = id ? Registry::Get().IconGroup(instance, *id) : std::nullopt;
  if (!group) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return HICON{};
  }
  if (cx == 0 && cy == 0) {
    cx = group->front().pixels->width();
    cy = group->front().pixels->height();
  } else if (cx == 0 || cy == 0) {
    cx = cy = cx + cy;  // one side given: a square icon of that side
  }
  const IconImage* image = Nearest(*group, cx, cy);
  std::shared_ptr<const gdi::Pixels> pixels = image->pixels;
  if (pixels->width() != cx || pixels->height() != cy) {
    std::optional<gdi::Pixels> scaled = ScalePixels(*pixels, cx, cy);
    if (!scaled) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return HICON{};
    }
    pixels = std::make_shared<const gdi::Pixels>(std::move(*scaled));
  }
  const HICON icon{Icons().Insert(std::make_shared<Icon>(Icon{std::move(pixels)}), HandleKind::Icon)};
  if (!icon) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return icon;
}

std::shared_ptr<const gdi::Pixels> ProgramIconPixels(HINSTANCE instance) {
  const auto group = Registry::Get().FirstIconGroup(instance);
  if (!group || group->empty()) return nullptr;
  const IconImage* largest = &group->front();
  for (const IconImage& image : *group) {
    if (static_cast<long>(image.pixels->width()) * image.pixels->height() >
        static_cast<long>(largest->pixels->width()) * largest->pixels->height())
      largest = &image;
  }
  return largest->pixels;
}

std::shared_ptr<const gdi::Pixels> IconPixels(HICON icon) {
  auto found = Icons().Lookup(icon.value, HandleKind::Icon);
  return found ? found->pixels : nullptr;
}

bool DrawPremultiplied(HDC dc, int x, int y, int width, int height, const gdi::Pixels& pixels) {
  std::optional<gdi::Pixels> copy = ScalePixels(pixels, width, height);
  if (!copy) return false;
  // The context goes before the bitmap, so the bitmap is no longer selected when it is deleted.
  const UniqueBitmap bitmap(gdi::CreateBitmapFromPixels(std::move(*copy)));
  const UniqueMemoryDC memory(CreateCompatibleDC(dc));
  if (!bitmap || !memory) return false;
  const ScopedSelect selected(memory.get(), bitmap.get());
  return AlphaBlend(dc, x, y, width, height, memory.get(), 0, 0, width, height,
                    BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}) != FALSE;
}

}  // namespace pda::resources

using namespace pda::resources;

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
  return LoadIconOfSize(instance, name, SystemIconSize(), SystemIconSize());
}

BOOL DestroyIcon(HICON icon) {
  if (!Icons().Remove(icon.value, pda::HandleKind::Icon)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT /*step*/,
                HBRUSH /*flickerFreeBrush*/, UINT flags) {
  std::shared_ptr<const pda::gdi::Pixels> pixels = IconPixels(icon);
  if (!pixels || cx < 0 || cy < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // The mask is the image's alpha: drawing either part draws the blended image.
  if (!(flags & DI_NORMAL)) return TRUE;
  return DrawPremultiplied(dc, x, y, cx ? cx : pixels->width(), cy ? cy : pixels->height(), *pixels)
             ? TRUE
             : FALSE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
  return DrawIconEx(dc, x, y, icon, 0, 0, 0, HBRUSH{}, DI_NORMAL);
}
