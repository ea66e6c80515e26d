// The Profile store's key table: hashing, block carving, lookup and insertion.
#include "settings/profile_table.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// A block of carved entries; the entries follow the header.
struct ProfileBlock {
  ProfileBlock* pNext;
  std::size_t cbSize;  // bytes available for entries
  std::size_t cbUsed;
};

// Entries hold pointers, so they are carved at pointer alignment (4 on a 32-bit device, 8 on a
// 64-bit host).
constexpr std::size_t kEntryAlign = alignof(ProfileEntry) > 4 ? alignof(ProfileEntry) : 4;
static_assert(sizeof(ProfileBlock) % kEntryAlign == 0);

std::size_t RoundUp(std::size_t cb) { return (cb + kEntryAlign - 1) & ~(kEntryAlign - 1); }

}  // namespace

struct ProfileKeyTable {
  ProfileEntry* rgpBuckets[PROFILE_BUCKETS];
  ProfileBlock* pBlocks;    // the current block first
  std::size_t cbBlockSize;  // PROFILE_BLOCK_BYTES, raised by an entry that is larger
};

SHORT ProfileValueOrder(LPCSTR pValue) {
  SHORT nOrder;
  std::memcpy(&nOrder, pValue, sizeof nOrder);
  return nOrder;
}

BOOL ProfileMakeKey(LPCSTR pszSection, LPCSTR pszKey, ProfileCompositeKey* pKey) {
  const std::size_t cbSection = std::strlen(pszSection);
  const std::size_t cbKey = std::strlen(pszKey);
  if (cbSection + cbKey > static_cast<std::size_t>(PROFILE_MAX_NAME_BYTES)) return FALSE;
  std::memcpy(pKey->rgb, pszSection, cbSection + 1);
  std::memcpy(pKey->rgb + cbSection + 1, pszKey, cbKey + 1);
  pKey->cb = static_cast<BYTE>(cbSection + cbKey + 2);
  return TRUE;
}

DWORD ProfileHash(const char* pb, int cb) {
  DWORD h = 5381;
  for (int i = 0; i < cb; ++i) {
    const auto b = static_cast<std::int8_t>(pb[i]);
    h = h * 33 + static_cast<DWORD>(static_cast<std::int32_t>(b));
  }
  return h;
}

ProfileKeyTable* ProfileTableCreate() {
  auto* pTable = static_cast<ProfileKeyTable*>(std::calloc(1, sizeof(ProfileKeyTable)));
  if (pTable == nullptr) return nullptr;
  pTable->cbBlockSize = PROFILE_BLOCK_BYTES;
  return pTable;
}

void ProfileTableDestroy(ProfileKeyTable* pTable) {
  if (pTable == nullptr) return;
  ProfileBlock* pBlock = pTable->pBlocks;
  while (pBlock != nullptr) {
    ProfileBlock* pNext = pBlock->pNext;
    std::free(pBlock);
    pBlock = pNext;
  }
  std::free(pTable);
}

ProfileEntry* ProfileTableFind(ProfileKeyTable* pTable, const ProfileCompositeKey* pKey) {
  const DWORD iBucket = ProfileHash(pKey->rgb, pKey->cb) & (PROFILE_BUCKETS - 1);
  for (ProfileEntry* pEntry = pTable->rgpBuckets[iBucket]; pEntry != nullptr;
       pEntry = pEntry->pNext) {
    if (pEntry->cbKey == pKey->cb &&
        std::memcmp(ProfileEntryKey(pEntry), pKey->rgb, pKey->cb) == 0) {
      return pEntry;
    }
  }
  return nullptr;
}

ProfileEntry* ProfileTableInsert(ProfileKeyTable* pTable, const ProfileCompositeKey* pKey) {
  const std::size_t cbEntry = RoundUp(PROFILE_ENTRY_KEY_OFFSET + pKey->cb);
  ProfileBlock* pBlock = pTable->pBlocks;
  if (pBlock == nullptr || pBlock->cbSize - pBlock->cbUsed < cbEntry) {
    if (cbEntry > pTable->cbBlockSize) pTable->cbBlockSize = cbEntry;
    pBlock = static_cast<ProfileBlock*>(std::malloc(sizeof(ProfileBlock) + pTable->cbBlockSize));
    if (pBlock == nullptr) return nullptr;
    pBlock->pNext = pTable->pBlocks;
    pBlock->cbSize = pTable->cbBlockSize;
    pBlock->cbUsed = 0;
    pTable->pBlocks = pBlock;
  }
  auto* pbEntry = reinterpret_cast<BYTE*>(pBlock + 1) + pBlock->cbUsed;
  pBlock->cbUsed += cbEntry;

  auto* pEntry = new (pbEntry) ProfileEntry{};
  pEntry->cbKey = pKey->cb;
  std::memcpy(ProfileEntryKey(pEntry), pKey->rgb, pKey->cb);
  const DWORD iBucket = ProfileHash(pKey->rgb, pKey->cb) & (PROFILE_BUCKETS - 1);
  pEntry->pNext = pTable->rgpBuckets[iBucket];
  pTable->rgpBuckets[iBucket] = pEntry;
  return pEntry;
}

void ProfileTableForEach(ProfileKeyTable* pTable, void (*fn)(ProfileEntry*, void*),
                         void* pContext) {
  for (ProfileEntry* pHead : pTable->rgpBuckets) {
    for (ProfileEntry* pEntry = pHead; pEntry != nullptr; pEntry = pEntry->pNext) {
      fn(pEntry, pContext);
    }
  }
}
