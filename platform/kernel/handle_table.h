// A table of shared objects addressed by 32-bit handles.
//
// A handle packs a kind (4 bits), a generation (8 bits) and a slot index (20 bits). A slot's
// generation moves on every time it is freed, so a handle that outlived its object no longer
// matches and is recognised as gone. Zero is never a valid handle. Objects are shared: an
// operation holds the object while it works, even if another thread closes the handle meanwhile.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace pda {

// One kind per object family, so that a handle of one family is never taken for another.
enum class HandleKind : std::uint8_t {
  Event = 1,
  Thread = 2,
  File = 3,
  GpsDevice = 4,
  Memory = 5,
  // 6..15 are for the window system and drawing objects.
  Window = 6,
  DeviceContext = 7,
  GdiObject = 8,
  Menu = 9,
  Accelerator = 10,
  Icon = 11,
  Instance = 12,
};

template <class Object>
class HandleTable {
 public:
  static constexpr std::uint32_t kIndexBits = 20;
  static constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;
  static constexpr std::uint32_t kGenerationShift = kIndexBits;
  static constexpr std::uint32_t kKindShift = 28;

  // Returns 0 when the table is full.
  std::uint32_t Insert(std::shared_ptr<Object> object, HandleKind kind) {
    std::lock_guard lock(mutex_);
    std::uint32_t index;
    if (!free_.empty()) {
      index = free_.back();
      free_.pop_back();
    } else {
      if (slots_.size() >= kIndexMask) return 0;
      slots_.emplace_back();
      index = static_cast<std::uint32_t>(slots_.size());  // slot i lives at index i + 1
    }
    Slot& slot = slots_[index - 1];
    slot.object = std::move(object);
    slot.kind = kind;
    return Encode(index, slot.generation, kind);
  }

  std::shared_ptr<Object> Lookup(std::uint32_t handle, HandleKind kind) const {
    std::lock_guard lock(mutex_);
    const Slot* slot = Find(handle, kind);
    return slot ? slot->object : nullptr;
  }

  template <class Derived>
  std::shared_ptr<Derived> LookupAs(std::uint32_t handle, HandleKind kind) const {
    return std::dynamic_pointer_cast<Derived>(Lookup(handle, kind));
  }

  // Takes the object out of the table; the handle is stale from now on.
  std::shared_ptr<Object> Remove(std::uint32_t handle, HandleKind kind) {
    std::lock_guard lock(mutex_);
    Slot* slot = Find(handle, kind);
    if (!slot) return nullptr;
    std::shared_ptr<Object> object = std::move(slot->object);
    slot->generation = static_cast<std::uint8_t>(slot->generation + 1);
    free_.push_back(handle & kIndexMask);
    return object;
  }

  std::size_t Count() const {
    std::lock_guard lock(mutex_);
    return slots_.size() - free_.size();
  }

  static HandleKind KindOf(std::uint32_t handle) {
    return static_cast<HandleKind>(handle >> kKindShift);
  }

 private:
  struct Slot {
    std::shared_ptr<Object> object;
    std::uint8_t generation = 1;
    HandleKind kind{};
  };

  static std::uint32_t Encode(std::uint32_t index, std::uint8_t generation, HandleKind kind) {
    return (static_cast<std::uint32_t>(kind) << kKindShift) |
           (static_cast<std::uint32_t>(generation) << kGenerationShift) | index;
  }

  const Slot* Find(std::uint32_t handle, HandleKind kind) const {
    const std::uint32_t index = handle & kIndexMask;
    if (index == 0 || index > slots_.size()) return nullptr;
    const Slot& slot = slots_[index - 1];
    if (!slot.object || slot.kind != kind || Encode(index, slot.generation, kind) != handle)
      return nullptr;
    return &slot;
  }
  Slot* Find(std::uint32_t handle, HandleKind kind) {
    return const_cast<Slot*>(std::as_const(*this).Find(handle, kind));
  }

  mutable std::mutex mutex_;
  std::vector<Slot> slots_;
  std::vector<std::uint32_t> free_;
};

}  // namespace pda
