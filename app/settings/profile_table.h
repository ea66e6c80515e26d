// The Profile store's key table: 1024 hashed buckets of entries carved from 16384-byte blocks,
// each entry pointing to its own value buffer (16-bit order number, text, NUL).
//
// Private to the Profile store.
#pragma once

#include <pda.h>

#include "settings/profile_store.h"

struct ProfileEntry {
  ProfileEntry* pNext;  // next entry of the same bucket
  LPSTR pValue;         // value buffer: order number (2 bytes), text, NUL
  BYTE cbKey;           // composite key length, both terminators included
  // The composite key follows: section bytes, NUL, key bytes, NUL.
};

// The composite key starts right after the entry's fixed fields.
inline constexpr std::size_t PROFILE_ENTRY_KEY_OFFSET = offsetof(ProfileEntry, cbKey) + 1;

inline LPSTR ProfileEntryKey(ProfileEntry* pEntry) {
  return reinterpret_cast<LPSTR>(pEntry) + PROFILE_ENTRY_KEY_OFFSET;
}
// The section name is the composite key up to its first NUL.
inline LPCSTR ProfileEntrySection(ProfileEntry* pEntry) { return ProfileEntryKey(pEntry); }
inline LPCSTR ProfileEntryKeyName(ProfileEntry* pEntry) {
  LPCSTR psz = ProfileEntryKey(pEntry);
  while (*psz != 0) ++psz;
  return psz + 1;
}
SHORT ProfileValueOrder(LPCSTR pValue);
inline LPCSTR ProfileValueText(LPCSTR pValue) { return pValue + 2; }

// A composite key built for a lookup.
struct ProfileCompositeKey {
  char rgb[256];
  BYTE cb;  // length with both terminators
};

// Builds the composite key of section/key; FALSE when the names exceed the limit.
BOOL ProfileMakeKey(LPCSTR pszSection, LPCSTR pszKey, ProfileCompositeKey* pKey);
// Bernstein's djb2 hash over the composite key, bytes taken as signed.
DWORD ProfileHash(const char* pb, int cb);

ProfileKeyTable* ProfileTableCreate();
void ProfileTableDestroy(ProfileKeyTable* pTable);
// The entry of the composite key, or null.
ProfileEntry* ProfileTableFind(ProfileKeyTable* pTable, const ProfileCompositeKey* pKey);
// Carves a new entry for the key (value pointer null) and links it at the head of its bucket;
// null when no block can be allocated.
ProfileEntry* ProfileTableInsert(ProfileKeyTable* pTable, const ProfileCompositeKey* pKey);
// Calls fn(entry, context) for every entry, in no particular order.
void ProfileTableForEach(ProfileKeyTable* pTable, void (*fn)(ProfileEntry*, void*), void* pContext);
