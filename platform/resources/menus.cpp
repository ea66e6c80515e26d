// LoadMenuW: a new menu built from a registered menu resource.
#include "pda/owners.h"
#include "resources/registry.h"

namespace pda::resources {
namespace {

bool Fill(HMENU menu, const std::vector<MenuItemEntry>& items) {
  for (const MenuItemEntry& item : items) {
    if (item.flags & MF_POPUP) {
      pda::UniqueMenu sub(CreatePopupMenu());
      if (!sub || !Fill(sub.get(), item.popup) ||
          !AppendMenuW(menu, item.flags, sub.get().value, item.text.c_str()))
        return false;
      static_cast<void>(sub.release());  // the parent menu owns it now
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
  pda::UniqueMenu menu(CreateMenu());
  if (!menu || !Fill(menu.get(), *items)) return HMENU{};
  return menu.release();
}
