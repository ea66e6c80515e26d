// The program's resources addressed by number: bitmaps, icons, menus, accelerator tables and
// strings. The program registers them at start from tables in C++ (the art is PNG bytes
// embedded in the binary); the loading calls below then find them by instance and number.
//
// Sections: handles | registration | bitmaps and images | icons | menus | strings
#pragma once

#include <cstdint>
#include <span>

#include "pda/gdi.h"
#include "pda/menu.h"
#include "pda/user.h"

// ---- handles -------------------------------------------------------------------------------
struct IconHandleTag;
using HICON = Handle<IconHandleTag>;
static_assert(sizeof(HICON) == 4);

// What LoadImageW returns: a bitmap or an icon, by the type asked for. It converts explicitly to
// either, as the platform's cast of its HANDLE result does: (HICON)LoadImageW(...).
struct HIMAGE {
  std::uint32_t value = 0;

  constexpr HIMAGE() = default;
  constexpr HIMAGE(std::nullptr_t) {}  // NOLINT: compares with and is set to nullptr
  constexpr explicit HIMAGE(std::uint32_t v) : value(v) {}
  constexpr explicit operator HICON() const { return HICON{value}; }
  constexpr explicit operator HBITMAP() const { return HBITMAP{value}; }
  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr bool operator==(HIMAGE a, std::nullptr_t) { return a.value == 0; }
};

// ---- registration --------------------------------------------------------------------------
namespace pda {

struct BitmapResource {
  WORD id;
  std::span<const std::uint8_t> png;
};

// An icon group: one PNG per size (the size is read from the PNG; alpha is kept).
struct IconResource {
  WORD id;
  std::span<const std::span<const std::uint8_t>> images;
};

// A menu item; with MF_POPUP, `popup` holds the submenu's items.
struct MenuItemResource {
  UINT id;
  LPCWSTR text;
  UINT flags;
  std::span<const MenuItemResource> popup = {};
};

struct MenuResource {
  WORD id;
  std::span<const MenuItemResource> items;
};

struct AcceleratorResource {
  WORD id;
  std::span<const ACCEL> entries;
};

struct StringResource {
  UINT id;
  LPCWSTR text;
};

struct ResourceTable {
  std::span<const BitmapResource> bitmaps = {};
  std::span<const IconResource> icons = {};
  std::span<const MenuResource> menus = {};
  std::span<const AcceleratorResource> accelerators = {};
  std::span<const StringResource> strings = {};
};

// Copies the table's contents (the caller's arrays may go away afterwards). A number registered
// again for the same instance replaces the earlier resource. FALSE when an icon group or a
// bitmap is not a readable PNG; nothing of the table is registered then.
BOOL RegisterResources(HINSTANCE instance, const ResourceTable& table);

}  // namespace pda

// ---- bitmaps and images --------------------------------------------------------------------
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_DEFAULTSIZE = 0x0040;

// A 32-bit bitmap of the PNG's exact size. Every call returns a new bitmap that the caller
// deletes (DeleteObject); the PNG is decoded once. ERROR_RESOURCE_NAME_NOT_FOUND when absent.
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
// IMAGE_BITMAP: as LoadBitmapW (cx, cy must be 0 or the bitmap's size). IMAGE_ICON: the group's
// image of cx by cy, or the nearest size scaled to it; 0 for cx and cy takes the group's first
// image as it is (with LR_DEFAULTSIZE, the system icon size).
HIMAGE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags);

// ---- icons ---------------------------------------------------------------------------------
constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;

// The group's icon at the system icon size (32 pixels at 96 DPI, scaled with the DPI).
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
BOOL DestroyIcon(HICON icon);
// Draws the icon alpha-blended at (x, y); cx, cy of 0 draw it at its own size, others scale it.
// step and flickerFreeBrush are accepted and ignored.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step,
                HBRUSH flickerFreeBrush, UINT flags);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

// ---- menus ---------------------------------------------------------------------------------
// A new menu built from the resource; the caller destroys it (DestroyMenu).
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);

// ---- strings -------------------------------------------------------------------------------
// Copies the string (cut to size - 1 characters) and returns its length; 0 when absent. With a
// size of 0 the buffer receives a pointer to the read-only string itself.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);
