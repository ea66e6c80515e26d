// RegisterClassW and friends over one process-wide class registry.
#include "user/window_class.h"

#include <map>
#include <mutex>

namespace pda::user {
namespace {

std::u16string Folded(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return folded;
}

struct ClassRegistry {
  std::mutex mutex;
  std::map<std::u16string, std::shared_ptr<WindowClass>> byName;  // folded names
  ATOM nextAtom = 0xC000;
};
ClassRegistry& Registry() {
  static ClassRegistry* const registry = new ClassRegistry;  // outlives every static user
  return *registry;
}

}  // namespace

std::shared_ptr<const WindowClass> FindClass(LPCWSTR nameOrAtom, HINSTANCE) {
  if (!nameOrAtom) return nullptr;
  ClassRegistry& r = Registry();
  std::lock_guard lock(r.mutex);
  if (IS_INTRESOURCE(nameOrAtom)) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom));
    for (const auto& [name, cls] : r.byName)
      if (cls->atom == atom) return cls;
    return nullptr;
  }
  auto it = r.byName.find(Folded(nameOrAtom));
  return it == r.byName.end() ? nullptr : it->second;
}

}  // namespace pda::user

using pda::user::FindClass;

ATOM RegisterClassW(const WNDCLASSW* windowClass) {
  if (!windowClass || !windowClass->lpfnWndProc || !windowClass->lpszClassName ||
      IS_INTRESOURCE(windowClass->lpszClassName) || !*windowClass->lpszClassName ||
      windowClass->cbWndExtra < 0 || windowClass->cbClsExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto& r = pda::user::Registry();
  std::lock_guard lock(r.mutex);
  auto key = pda::user::Folded(windowClass->lpszClassName);
  if (r.byName.count(key)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto cls = std::make_shared<pda::user::WindowClass>();
  cls->name = windowClass->lpszClassName;
  cls->info = *windowClass;
  cls->info.lpszClassName = cls->name.c_str();
  cls->info.lpszMenuName = nullptr;  // menus come by number from the window's creation instead
  cls->atom = r.nextAtom++;
  r.byName.emplace(std::move(key), cls);
  return cls->atom;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
  auto& r = pda::user::Registry();
  std::lock_guard lock(r.mutex);
  if (className && !IS_INTRESOURCE(className) &&
      r.byName.erase(pda::user::Folded(className)) == 1)
    return TRUE;
  SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
  return FALSE;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* windowClass) {
  auto cls = FindClass(className, instance);
  if (!cls || !windowClass) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *windowClass = cls->info;
  return TRUE;
}
