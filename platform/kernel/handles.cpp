// The kernel handle table and CloseHandle.
#include "kernel/kernel_object.h"
#include "pda/kernel.h"

namespace pda {

KernelHandleTable& KernelHandles() {
  // Never destroyed: threads that outlive main may still close their handles.
  static KernelHandleTable* const table = new KernelHandleTable;
  return *table;
}

HANDLE InsertKernelObject(std::shared_ptr<KernelObject> object, HandleKind kind) {
  const std::uint32_t value = KernelHandles().Insert(std::move(object), kind);
  if (value == 0) ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return HANDLE{value};
}

void SetLastErrorInvalidHandle() { ::SetLastError(ERROR_INVALID_HANDLE); }

}  // namespace pda

BOOL CloseHandle(HANDLE handle) {
  using pda::HandleKind;
  const HandleKind kind = pda::KernelHandleTable::KindOf(handle.value);
  switch (kind) {
    case HandleKind::Event:
    case HandleKind::Thread:
    case HandleKind::File:
    case HandleKind::GpsDevice:
      // The object itself goes when its last user lets go of it.
      if (pda::KernelHandles().Remove(handle.value, kind)) return TRUE;
      break;
    default:
      break;
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}
