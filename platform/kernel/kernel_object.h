// Kernel objects: what a HANDLE stands for (events, threads, files, the GPS device).
//
// Every kernel object lives in one process-wide handle table and is shared: a call holds the
// object while it works, so CloseHandle on another thread never pulls it from under a caller.
// Other platform components (storage, the GPS driver) put their own objects in the same table
// so that CloseHandle and the waits work on them too.
#pragma once

#include <memory>

#include "kernel/handle_table.h"
#include "pda/types.h"

namespace pda {

class KernelObject {
 public:
  KernelObject() = default;
  KernelObject(const KernelObject&) = delete;
  KernelObject& operator=(const KernelObject&) = delete;
  virtual ~KernelObject() = default;
};

using KernelHandleTable = HandleTable<KernelObject>;

KernelHandleTable& KernelHandles();

// Puts the object in the table. Returns a null handle (last error ERROR_NOT_ENOUGH_MEMORY)
// when the table is full.
HANDLE InsertKernelObject(std::shared_ptr<KernelObject> object, HandleKind kind);

// The object behind a handle of the given kind, or null (last error ERROR_INVALID_HANDLE).
template <class Object>
std::shared_ptr<Object> LookupKernelObject(HANDLE handle, HandleKind kind);

void SetLastErrorInvalidHandle();

template <class Object>
std::shared_ptr<Object> LookupKernelObject(HANDLE handle, HandleKind kind) {
  std::shared_ptr<Object> object = KernelHandles().LookupAs<Object>(handle.value, kind);
  if (!object) SetLastErrorInvalidHandle();
  return object;
}

}  // namespace pda
