// Moveable memory: LocalAlloc and its lock, unlock, size and free.
//
// Handles are 32-bit ids here, so a block is always reached through LocalLock, also one asked
// for as LMEM_FIXED. A block never actually moves; the lock count is kept so that LocalUnlock
// answers as the device does.
#include <cstring>
#include <memory>
#include <mutex>
#include <new>

#include "kernel/handle_table.h"
#include "pda/kernel.h"

namespace pda {
namespace {

class MemoryBlock {
 public:
  explicit MemoryBlock(std::size_t bytes) : bytes_(bytes), data_(new (std::nothrow) unsigned char[bytes ? bytes : 1]) {}

  bool valid() const { return data_ != nullptr; }
  std::size_t size() const { return bytes_; }
  unsigned char* data() { return data_.get(); }

  void Lock() {
    std::lock_guard lock(mutex_);
    ++locks_;
  }
  // Returns the lock count left, or -1 when the block was not locked.
  long Unlock() {
    std::lock_guard lock(mutex_);
    if (locks_ == 0) return -1;
    return static_cast<long>(--locks_);
  }

 private:
  const std::size_t bytes_;
  std::unique_ptr<unsigned char[]> data_;
  std::mutex mutex_;
  unsigned long locks_ = 0;
};

HandleTable<MemoryBlock>& MemoryHandles() {
  static auto* const table = new HandleTable<MemoryBlock>;  // never destroyed
  return *table;
}

std::shared_ptr<MemoryBlock> LookupBlock(HLOCAL memory) {
  auto block = MemoryHandles().Lookup(memory.value, HandleKind::Memory);
  if (!block) SetLastError(ERROR_INVALID_HANDLE);
  return block;
}

}  // namespace
}  // namespace pda

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
  auto block = std::make_shared<pda::MemoryBlock>(bytes);
  if (!block->valid()) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (flags & LMEM_ZEROINIT) std::memset(block->data(), 0, bytes);
  const std::uint32_t value = pda::MemoryHandles().Insert(std::move(block), pda::HandleKind::Memory);
  if (value == 0) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return HLOCAL{value};
}

LPVOID LocalLock(HLOCAL memory) {
  auto block = pda::LookupBlock(memory);
  if (!block) return nullptr;
  block->Lock();
  return block->data();
}

BOOL LocalUnlock(HLOCAL memory) {
  auto block = pda::LookupBlock(memory);
  if (!block) return FALSE;
  const long left = block->Unlock();
  if (left > 0) return TRUE;
  SetLastError(left == 0 ? ERROR_SUCCESS : ERROR_NOT_LOCKED);
  return FALSE;
}

SIZE_T LocalSize(HLOCAL memory) {
  auto block = pda::LookupBlock(memory);
  return block ? block->size() : 0;
}

HLOCAL LocalFree(HLOCAL memory) {
  if (!memory) return nullptr;
  if (!pda::MemoryHandles().Remove(memory.value, pda::HandleKind::Memory)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return memory;
  }
  return nullptr;
}
