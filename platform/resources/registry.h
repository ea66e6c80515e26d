// The registry of the program's resources: what RegisterResources copied, by instance and number.
//
// Bitmaps keep their PNG bytes and are decoded on first use (then kept); icon groups are decoded
// when registered, since every image of a group is needed to choose the nearest size.
#pragma once

#include <cstdint>
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gdi/pixels.h"
#include "pda/resources.h"

namespace pda::resources {

// Premultiplied ARGB (the top byte is alpha), as AlphaBlend takes it with AC_SRC_ALPHA.
struct IconImage {
  std::shared_ptr<const gdi::Pixels> pixels;
};

struct MenuItemEntry {
  UINT id = 0;
  std::u16string text;
  UINT flags = 0;
  std::vector<MenuItemEntry> popup;
};

using Key = std::pair<std::uint32_t, UINT>;  // instance, number

class Registry {
 public:
  static Registry& Get();

  bool Register(HINSTANCE instance, const ResourceTable& table);

  // The decoded bitmap (decoded now if this is the first use); null when absent or unreadable.
  std::shared_ptr<const gdi::Pixels> Bitmap(HINSTANCE instance, WORD id);
  std::optional<std::vector<IconImage>> IconGroup(HINSTANCE instance, WORD id) const;
  // The instance's icon group of the lowest number; nothing when it has none.
  std::optional<std::vector<IconImage>> FirstIconGroup(HINSTANCE instance) const;
  std::optional<std::vector<MenuItemEntry>> Menu(HINSTANCE instance, WORD id) const;
  std::optional<std::u16string> String(HINSTANCE instance, UINT id) const;
  // The string's storage, which lives as long as the program (LoadStringW with a size of 0).
  const std::u16string* StringStorage(HINSTANCE instance, UINT id) const;

 private:
  struct BitmapEntry {
    std::vector<std::uint8_t> png;
    std::shared_ptr<const gdi::Pixels> decoded;
  };

  mutable std::mutex mutex_;
  std::map<Key, BitmapEntry> bitmaps_;
  std::map<Key, std::vector<IconImage>> icons_;
  std::map<Key, std::vector<MenuItemEntry>> menus_;
  // Strings are never replaced in place: a pointer handed out by LoadStringW stays valid.
  std::map<Key, std::unique_ptr<std::u16string>> strings_;
  std::vector<std::unique_ptr<std::u16string>> retiredStrings_;
};

// A resource number from MAKEINTRESOURCEW; nothing for a name (resources are numbered only).
std::optional<WORD> NumberOf(LPCWSTR name);

}  // namespace pda::resources
