// The drawing-object table and the stock objects.
#include "gdi/objects.h"

#include <array>
#include <cstring>
#include <mutex>

#include "display/display.h"
#include "gdi/font_library.h"

namespace pda::gdi {

GdiObjectTable& GdiObjects() {
  // Never destroyed: objects may be deleted by code that runs at exit.
  static GdiObjectTable* const table = new GdiObjectTable;
  return *table;
}

std::uint32_t InsertObject(std::shared_ptr<GdiObject> object) {
  return GdiObjects().Insert(std::move(object), HandleKind::GdiObject);
}

namespace {

constexpr int kStockCount = DEFAULT_GUI_FONT + 1;

struct StockEntry {
  std::shared_ptr<GdiObject> object;
  std::uint32_t handle = 0;
};

struct Stock {
  std::mutex mutex;
  std::array<StockEntry, kStockCount> entries;
  StockEntry bitmap;
};

Stock& TheStock() {
  static Stock* const stock = new Stock;
  return *stock;
}

std::shared_ptr<GdiObject> MakeStockFont() {
  LOGFONTW logfont;
  std::memset(&logfont, 0, sizeof logfont);
  logfont.lfWeight = FW_NORMAL;
  const char16_t face[] = u"Tahoma";
  std::memcpy(logfont.lfFaceName, face, sizeof face);
  std::shared_ptr<FontInstance> instance = OpenFont(logfont, display::CurrentScreen().dpi);
  if (!instance) return nullptr;
  return std::make_shared<Font>(logfont, std::move(instance));
}

std::shared_ptr<GdiObject> MakeStock(int index) {
  switch (index) {
    case WHITE_BRUSH: return std::make_shared<Brush>(0xFFFFFF);
    case LTGRAY_BRUSH: return std::make_shared<Brush>(0xC0C0C0);
    case GRAY_BRUSH: return std::make_shared<Brush>(0x808080);
    case DKGRAY_BRUSH: return std::make_shared<Brush>(0x404040);
    case BLACK_BRUSH: return std::make_shared<Brush>(0x000000);
    case NULL_BRUSH: return std::make_shared<Brush>(Brush::kHollow);
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT: return MakeStockFont();
    default: return nullptr;
  }
}

void Publish(StockEntry& entry, std::shared_ptr<GdiObject> object) {
  if (!object) return;
  object->MarkStock();
  const std::uint32_t handle = InsertObject(object);
  if (handle == 0) return;
  entry.object = std::move(object);
  entry.handle = handle;
}

}  // namespace

std::shared_ptr<GdiObject> StockObject(int index, std::uint32_t* handle) {
  *handle = 0;
  if (index < 0 || index >= kStockCount) return nullptr;
  Stock& stock = TheStock();
  std::lock_guard lock(stock.mutex);
  StockEntry& entry = stock.entries[static_cast<std::size_t>(index)];
  if (!entry.object) Publish(entry, MakeStock(index));
  *handle = entry.handle;
  return entry.object;
}

std::shared_ptr<Bitmap> StockBitmap(std::uint32_t* handle) {
  Stock& stock = TheStock();
  std::lock_guard lock(stock.mutex);
  if (!stock.bitmap.object) {
    if (std::optional<Pixels> pixels = Pixels::Create(1, 1))
      Publish(stock.bitmap, std::make_shared<Bitmap>(std::move(*pixels)));
  }
  *handle = stock.bitmap.handle;
  return std::static_pointer_cast<Bitmap>(stock.bitmap.object);
}

}  // namespace pda::gdi
