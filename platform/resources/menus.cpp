// LoadMenuW: a new menu built from a registered menu resource.
#include "resources/registry.h"

namespace pda::resources {
namespace {

bool Fill(HMENU menu, const std::vector<MenuItemEntry>& items) {
  for (const MenuItemEntry& item : items) {
    if (item.flags & MF_POPUP) {
      const HMENU sub = CreatePopupMenu();
      if (!sub || !Fill(sub, item.popup) ||
          !AppendMenuW(menu, item.flags, sub.value, item.text.c_str())) {
        DestroyMenu(sub);
        return false;
      }
    } else if (!AppendMenuW(menu, item.flags, item.id, item.text.c_str())) {
      return false;
    }
  }
  return true;
}

}  // namespace
}  // namespace pda::resources

using namespace pda::resources;

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) {
  const std::optional<WORD> id = NumberOf(name);
  const auto items = id ? Registry::Get().Menu(instance, *id) : std::nullopt;
  if (!items) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return HMENU{};
  }
  const HMENU menu = CreateMenu();
  if (!menu) return HMENU{};
  if (!Fill(menu, *items)) {
    DestroyMenu(menu);
    return HMENU{};
  }
  return menu;
}
