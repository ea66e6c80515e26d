// Accelerator tables and TranslateAcceleratorW.
#include <map>
#include <mutex>
#include <utility>

#include "kernel/handle_table.h"
#include "user/accelerator_resources.h"

namespace pda::user {
namespace {

struct AcceleratorTable {
  std::vector<ACCEL> entries;
};

struct Accelerators {
  HandleTable<AcceleratorTable> tables;
  std::mutex mutex;
  std::map<std::pair<std::uint32_t, WORD>, std::vector<ACCEL>> resources;
  std::map<std::pair<std::uint32_t, WORD>, HACCEL> loaded;
};
Accelerators& Get() {
  static Accelerators* const accelerators = new Accelerators;  // outlives every static user
  return *accelerators;
}

bool KeyDown(int key) { return GetKeyState(key) < 0; }

bool Matches(const ACCEL& entry, const MSG& message) {
  if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
    if (!(entry.fVirt & FVIRTKEY) || entry.key != (message.wParam & 0xFFFF)) return false;
    return KeyDown(VK_CONTROL) == ((entry.fVirt & FCONTROL) != 0) &&
           KeyDown(VK_SHIFT) == ((entry.fVirt & FSHIFT) != 0) &&
           KeyDown(VK_MENU) == ((entry.fVirt & FALT) != 0);
  }
  // A character entry matches the character itself.
  return message.message == WM_CHAR && !(entry.fVirt & FVIRTKEY) &&
         entry.key == (message.wParam & 0xFFFF);
}

}  // namespace

void RegisterAcceleratorResource(HINSTANCE instance, WORD id, std::vector<ACCEL> entries) {
  Accelerators& a = Get();
  std::lock_guard lock(a.mutex);
  a.resources[{instance.value, id}] = std::move(entries);
}

}  // namespace pda::user

using pda::HandleKind;

HACCEL CreateAcceleratorTableW(const ACCEL* entries, int count) {
  if (!entries || count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return HACCEL{};
  }
  auto table = std::make_shared<pda::user::AcceleratorTable>();
  table->entries.assign(entries, entries + count);
  return HACCEL{pda::user::Get().tables.Insert(std::move(table), HandleKind::Accelerator)};
}

BOOL DestroyAcceleratorTable(HACCEL table) {
  if (!pda::user::Get().tables.Remove(table.value, HandleKind::Accelerator)) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return FALSE;
  }
  return TRUE;
}

HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name) {
  if (!IS_INTRESOURCE(name)) {
    SetLastError(ERROR_INVALID_PARAMETER);  // tables are addressed by number only
    return HACCEL{};
  }
  const auto key = std::pair{instance.value, static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name))};
  auto& a = pda::user::Get();
  std::lock_guard lock(a.mutex);
  if (auto it = a.loaded.find(key); it != a.loaded.end()) return it->second;
  auto resource = a.resources.find(key);
  if (resource == a.resources.end() || resource->second.empty()) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return HACCEL{};
  }
  const HACCEL table = CreateAcceleratorTableW(resource->second.data(),
                                               static_cast<int>(resource->second.size()));
  a.loaded[key] = table;
  return table;
}

int TranslateAcceleratorW(HWND window, HACCEL table, const MSG* message) {
  if (!message || !IsWindow(window)) return FALSE;
  auto accelerators = pda::user::Get().tables.Lookup(table.value, HandleKind::Accelerator);
  if (!accelerators) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return FALSE;
  }
  for (const ACCEL& entry : accelerators->entries) {
    if (!pda::user::Matches(entry, *message)) continue;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
    return TRUE;
  }
  return FALSE;
}
