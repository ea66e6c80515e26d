// The registry of resources and RegisterResources.
#include "resources/registry.h"

#include "gdi/png_codec.h"
#include "resources/image_ops.h"
#include "user/accelerator_resources.h"

namespace pda::resources {
namespace {

Key KeyOf(HINSTANCE instance, UINT id) { return {instance.value, id}; }

MenuItemEntry CopyItem(const MenuItemResource& item) {
  MenuItemEntry entry{item.id, item.text ? std::u16string(item.text) : std::u16string(), item.flags, {}};
  for (const MenuItemResource& sub : item.popup) entry.popup.push_back(CopyItem(sub));
  return entry;
}

bool LooksLikePng(std::span<const std::uint8_t> bytes) {
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return bytes.size() > sizeof kSignature && std::equal(kSignature, kSignature + 8, bytes.begin());
}

}  // namespace

Registry& Registry::Get() {
  static Registry* const registry = new Registry;  // outlives every static user
  return *registry;
}

std::optional<WORD> NumberOf(LPCWSTR name) {
  if (!name || !IS_INTRESOURCE(name)) return std::nullopt;
  return static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
}

bool Registry::Register(HINSTANCE instance, const ResourceTable& table) {
  // Everything is checked and decoded before anything is stored: a bad table changes nothing.
  std::map<Key, std::vector<IconImage>> icons;
  for (const IconResource& group : table.icons) {
    std::vector<IconImage> images;
    for (std::span<const std::uint8_t> png : group.images) {
      std::optional<gdi::Pixels> pixels = DecodePngPremultiplied(png);
      if (!pixels) return false;
      images.push_back({std::make_shared<const gdi::Pixels>(std::move(*pixels))});
    }
    if (images.empty()) return false;
    icons[KeyOf(instance, group.id)] = std::move(images);
  }
  for (const BitmapResource& bitmap : table.bitmaps)
    if (!LooksLikePng(bitmap.png)) return false;

  for (const AcceleratorResource& accelerators : table.accelerators)
    user::RegisterAcceleratorResource(
        instance, accelerators.id,
        std::vector<ACCEL>(accelerators.entries.begin(), accelerators.entries.end()));

  std::lock_guard lock(mutex_);
  for (const BitmapResource& bitmap : table.bitmaps)
    bitmaps_[KeyOf(instance, bitmap.id)] = {
        std::vector<std::uint8_t>(bitmap.png.begin(), bitmap.png.end()), nullptr};
  for (auto& [key, images] : icons) icons_[key] = std::move(images);
  for (const MenuResource& menu : table.menus) {
    std::vector<MenuItemEntry> items;
    for (const MenuItemResource& item : menu.items) items.push_back(CopyItem(item));
    menus_[KeyOf(instance, menu.id)] = std::move(items);
  }
  for (const StringResource& string : table.strings) {
    auto& slot = strings_[KeyOf(instance, string.id)];
    if (slot) retiredStrings_.push_back(std::move(slot));
    slot = std::make_unique<std::u16string>(string.text ? string.text : u"");
  }
  return true;
}

std::shared_ptr<const gdi::Pixels> Registry::Bitmap(HINSTANCE instance, WORD id) {
  std::lock_guard lock(mutex_);
  auto it = bitmaps_.find(KeyOf(instance, id));
  if (it == bitmaps_.end()) return nullptr;
  if (!it->second.decoded) {
    std::optional<gdi::Pixels> pixels = gdi::DecodePng(it->second.png);
    if (!pixels) return nullptr;
    it->second.decoded = std::make_shared<const gdi::Pixels>(std::move(*pixels));
  }
  return it->second.decoded;
}

std::optional<std::vector<IconImage>> Registry::IconGroup(HINSTANCE instance, WORD id) const {
  std::lock_guard lock(mutex_);
  auto it = icons_.find(KeyOf(instance, id));
  if (it == icons_.end()) return std::nullopt;
  return it->second;
}

std::optional<std::vector<IconImage>> Registry::FirstIconGroup(HINSTANCE instance) const {
  std::lock_guard lock(mutex_);
  auto it = icons_.lower_bound(KeyOf(instance, 0));
  if (it == icons_.end() || it->first.first != instance.value) return std::nullopt;
  return it->second;
}

std::optional<std::vector<MenuItemEntry>> Registry::Menu(HINSTANCE instance, WORD id) const {
  std::lock_guard lock(mutex_);
  auto it = menus_.find(KeyOf(instance, id));
  if (it == menus_.end()) return std::nullopt;
  return it->second;
}

const std::u16string* Registry::StringStorage(HINSTANCE instance, UINT id) const {
  std::lock_guard lock(mutex_);
  auto it = strings_.find(KeyOf(instance, id));
  return it == strings_.end() ? nullptr : it->second.get();
}

std::optional<std::u16string> Registry::String(HINSTANCE instance, UINT id) const {
  const std::u16string* text = StringStorage(instance, id);
  if (!text) return std::nullopt;
  return *text;
}

}  // namespace pda::resources

BOOL pda::RegisterResources(HINSTANCE instance, const ResourceTable& table) {
  if (!pda::resources::Registry::Get().Register(instance, table)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
