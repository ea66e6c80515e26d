// The Profile store's life and its values: open, bind a file name, set, get, close.
#include "settings/profile_store.h"

#include <cstdlib>
#include <cstring>

#include "settings/profile_table.h"

namespace {

void FreeValue(ProfileEntry* pEntry, void*) {
  std::free(pEntry->pValue);
  pEntry->pValue = nullptr;
}

}  // namespace

int ProfileOpen(ProfileStore** ppStore, LPCSTR pszFileName, BOOL fCreateOnly) {
  *ppStore = nullptr;
  auto* pStore = static_cast<ProfileStore*>(std::calloc(1, sizeof(ProfileStore)));
  if (pStore == nullptr) return -1;
  pStore->pKeyTable = ProfileTableCreate();
  if (pStore->pKeyTable == nullptr) {
    std::free(pStore);
    return -1;
  }
  if (fCreateOnly) {
    ProfileSetFileName(pStore, pszFileName);
  } else if (pszFileName != nullptr) {
    ProfileRead(pStore, pszFileName);  // a file that cannot be opened reads as empty
  }
  *ppStore = pStore;
  return 0;
}

int ProfileSetFileName(ProfileStore* pStore, LPCSTR pszFileName) {
  if (pszFileName == nullptr) return 0;
  if (pStore->pszFileName != nullptr && std::strcmp(pStore->pszFileName, pszFileName) == 0) {
    return 0;
  }
  const std::size_t cb = std::strlen(pszFileName) + 1;
  auto* pszCopy = static_cast<LPSTR>(std::malloc(cb));
  if (pszCopy == nullptr) return -1;
  std::memcpy(pszCopy, pszFileName, cb);
  std::free(pStore->pszFileName);
  pStore->pszFileName = pszCopy;
  return 0;
}

int ProfileSet(ProfileStore* pStore, LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue,
               int cbValue) {
  ProfileCompositeKey key;
  if (!ProfileMakeKey(pszSection, pszKey, &key)) return -1;
  ProfileEntry* pEntry = ProfileTableFind(pStore->pKeyTable, &key);
  if (pEntry == nullptr && pStore->cEntries >= PROFILE_MAX_ENTRIES) return -1;

  const std::size_t cb = cbValue > 0 ? static_cast<std::size_t>(cbValue) : std::strlen(pszValue);
  auto* pValue = static_cast<LPSTR>(std::malloc(cb + 3));
  if (pValue == nullptr) return -1;
  const auto nOrder =
      static_cast<SHORT>(pEntry != nullptr ? ProfileValueOrder(pEntry->pValue) : pStore->cEntries);
  std::memcpy(pValue, &nOrder, sizeof nOrder);
  std::memcpy(pValue + 2, pszValue, cb);
  pValue[2 + cb] = 0;

  if (pEntry == nullptr) {
    pEntry = ProfileTableInsert(pStore->pKeyTable, &key);
    if (pEntry == nullptr) {
      std::free(pValue);
      return -1;
    }
    ++pStore->cEntries;
  } else {
    std::free(pEntry->pValue);
  }
  pEntry->pValue = pValue;
  pStore->fDirty = TRUE;
  return 0;
}

int ProfileGet(ProfileStore* pStore, LPCSTR pszSection, LPCSTR pszKey, LPSTR pszOut, DWORD cbOut) {
  ProfileCompositeKey key;
  ProfileEntry* pEntry = nullptr;
  if (ProfileMakeKey(pszSection, pszKey, &key)) pEntry = ProfileTableFind(pStore->pKeyTable, &key);
  if (pEntry == nullptr) {
    pszOut[0] = 0;
    return -1;
  }
  LPCSTR pszText = ProfileValueText(pEntry->pValue);
  const std::size_t cb = std::strlen(pszText);
  if (cbOut != 0 && cb >= cbOut) {
    std::memcpy(pszOut, pszText, cbOut - 1);
    pszOut[cbOut - 1] = 0;
  } else {
    std::memcpy(pszOut, pszText, cb + 1);
  }
  return 0;
}

int ProfileClose(ProfileStore* pStore) {
  if (pStore == nullptr) return 0;
  if (pStore->fDirty) ProfileWrite(pStore, pStore->pszFileName);
  ProfileTableForEach(pStore->pKeyTable, FreeValue, nullptr);
  ProfileTableDestroy(pStore->pKeyTable);
  std::free(pStore->pszFileName);
  std::free(pStore);
  return 0;
}
