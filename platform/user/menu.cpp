// Menus: a table of menus, each a list of items; a popup item owns its submenu.
#include "user/menu.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

#include "kernel/handle_table.h"

namespace pda::user {
namespace {

struct Item {
  UINT flags = 0;
  UINT id = 0;
  std::u16string text;
  HMENU submenu;
};

struct Menu {
  std::vector<Item> items;
  bool popup = false;
  bool owned = false;  // a submenu of another menu
};

struct Menus {
  HandleTable<Menu> table;
  std::mutex mutex;  // guards every menu's items
};
Menus& Get() {
  static Menus* const menus = new Menus;  // outlives every static user
  return *menus;
}

constexpr UINT kNoItem = 0xFFFFFFFFu;
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED;

std::shared_ptr<Menu> Find(HMENU menu) {
  auto found = Get().table.Lookup(menu.value, HandleKind::Menu);
  if (!found) SetLastError(ERROR_INVALID_MENU_HANDLE);
  return found;
}

// The item addressed by position or by command (searched depth first through popups, as the
// platform does). Expects the menus' lock held.
Item* LocateLocked(Menu& menu, UINT item, UINT flags) {
  if (flags & MF_BYPOSITION) {
    return item < menu.items.size() ? &menu.items[item] : nullptr;
  }
  for (Item& entry : menu.items) {
    if (!(entry.flags & (MF_POPUP | MF_SEPARATOR)) && entry.id == item) return &entry;
    if (entry.flags & MF_POPUP) {
      if (auto sub = Get().table.Lookup(entry.submenu.value, HandleKind::Menu))
        if (Item* found = LocateLocked(*sub, item, flags)) return found;
    }
  }
  return nullptr;
}

HMENU Make(bool popup) {
  auto menu = std::make_shared<Menu>();
  menu->popup = popup;
  const HMENU handle{Get().table.Insert(std::move(menu), HandleKind::Menu)};
  if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return handle;
}

void DestroyTree(HMENU menu) {
  auto removed = Get().table.Remove(menu.value, HandleKind::Menu);
  if (!removed) return;
  std::vector<Item> items;
  {
    std::lock_guard lock(Get().mutex);
    items.swap(removed->items);
  }
  for (const Item& item : items)
    if (item.flags & MF_POPUP) DestroyTree(item.submenu);
}

}  // namespace

std::vector<MenuItemView> MenuItems(HMENU menu) {
  std::vector<MenuItemView> out;
  auto found = Get().table.Lookup(menu.value, HandleKind::Menu);
  if (!found) return out;
  std::lock_guard lock(Get().mutex);
  for (const Item& item : found->items) out.push_back({item.flags, item.id, item.text, item.submenu});
  return out;
}

}  // namespace pda::user

using namespace pda::user;

HMENU CreateMenu() { return Make(false); }
HMENU CreatePopupMenu() { return Make(true); }

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text) {
  auto target = Find(menu);
  if (!target) return FALSE;
  Item entry;
  entry.flags = flags & (kStateBits | MF_POPUP | MF_SEPARATOR);
  if (flags & MF_POPUP) {
    const HMENU sub{static_cast<std::uint32_t>(item)};
    auto submenu = Find(sub);
    if (!submenu || sub == menu) {
      SetLastError(ERROR_INVALID_MENU_HANDLE);
      return FALSE;
    }
    std::lock_guard lock(Get().mutex);
    if (submenu->owned) {  // a submenu has one parent; sharing it would destroy it twice
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    submenu->owned = true;
    entry.submenu = sub;
  } else if (!(flags & MF_SEPARATOR)) {
    entry.id = static_cast<UINT>(item);
  }
  if (text && !(flags & MF_SEPARATOR)) entry.text = text;
  std::lock_guard lock(Get().mutex);
  target->items.push_back(std::move(entry));
  return TRUE;
}

BOOL DestroyMenu(HMENU menu) {
  if (!Find(menu)) return FALSE;
  DestroyTree(menu);
  return TRUE;
}

BOOL IsMenu(HMENU menu) {
  return Get().table.Lookup(menu.value, pda::HandleKind::Menu) ? TRUE : FALSE;
}

int GetMenuItemCount(HMENU menu) {
  auto target = Find(menu);
  if (!target) return -1;
  std::lock_guard lock(Get().mutex);
  return static_cast<int>(target->items.size());
}

UINT GetMenuItemID(HMENU menu, int position) {
  auto target = Find(menu);
  if (!target || position < 0) return kNoItem;
  std::lock_guard lock(Get().mutex);
  const Item* item = LocateLocked(*target, static_cast<UINT>(position), MF_BYPOSITION);
  if (!item || (item->flags & MF_POPUP)) return kNoItem;
  return item->id;
}

HMENU GetSubMenu(HMENU menu, int position) {
  auto target = Find(menu);
  if (!target || position < 0) return HMENU{};
  std::lock_guard lock(Get().mutex);
  const Item* item = LocateLocked(*target, static_cast<UINT>(position), MF_BYPOSITION);
  return item && (item->flags & MF_POPUP) ? item->submenu : HMENU{};
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int size, UINT flags) {
  auto target = Find(menu);
  if (!target) return 0;
  std::lock_guard lock(Get().mutex);
  const Item* entry = LocateLocked(*target, item, flags);
  if (!entry) return 0;
  const int length = static_cast<int>(entry->text.size());
  if (!buffer || size <= 0) return length;
  const int count = std::min(length, size - 1);
  std::copy_n(entry->text.data(), count, buffer);
  buffer[count] = 0;
  return count;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  auto target = Find(menu);
  if (!target) return kNoItem;
  std::lock_guard lock(Get().mutex);
  Item* entry = LocateLocked(*target, item, enable);
  if (!entry) return kNoItem;
  const UINT previous = entry->flags & (MF_GRAYED | MF_DISABLED);
  entry->flags = (entry->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  auto target = Find(menu);
  if (!target) return kNoItem;
  std::lock_guard lock(Get().mutex);
  const Item* entry = LocateLocked(*target, item, flags);
  return entry ? entry->flags : kNoItem;
}
