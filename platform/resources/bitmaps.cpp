// LoadBitmapW and LoadImageW: new bitmaps from the decoded art, icons by size.
#include "gdi/bitmaps.h"
#include "resources/icons.h"
#include "resources/image_ops.h"
#include "resources/registry.h"

using namespace pda::resources;

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
  const std::optional<WORD> id = NumberOf(name);
  std::shared_ptr<const pda::gdi::Pixels> pixels =
      id ? Registry::Get().Bitmap(instance, *id) : nullptr;
  if (!pixels) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return HBITMAP{};
  }
  // Each caller owns (and may draw into) its bitmap, so each gets its own copy of the pixels.
  std::optional<pda::gdi::Pixels> copy = CopyPixels(*pixels);
  if (!copy) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return HBITMAP{};
  }
  const HBITMAP bitmap = pda::gdi::CreateBitmapFromPixels(std::move(*copy));
  if (!bitmap) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return bitmap;
}

HIMAGE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
  if (cx < 0 || cy < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return HIMAGE{};
  }
  if (type == IMAGE_BITMAP) {
    const HBITMAP bitmap = LoadBitmapW(instance, name);
    if (!bitmap || (cx == 0 && cy == 0)) return HIMAGE{bitmap.value};
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    if (info.bmWidth == cx && info.bmHeight == cy) return HIMAGE{bitmap.value};
    DeleteObject(bitmap);  // the art is drawn at its exact sizes; bitmaps are not rescaled
    SetLastError(ERROR_INVALID_PARAMETER);
    return HIMAGE{};
  }
  if (type == IMAGE_ICON) {
    if ((flags & LR_DEFAULTSIZE) && cx == 0 && cy == 0) cx = cy = SystemIconSize();
    return HIMAGE{LoadIconOfSize(instance, name, cx, cy).value};
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return HIMAGE{};
}
