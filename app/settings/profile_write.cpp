// Writing a Profile store's file: entries in the order they were first added, one header per
// run of a section, written to a new temporary file of a random name beside the old one,
// committed to the disk and then put in the old one's place, so that a crash or a failure at
// any moment leaves the old file or the new one whole.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/profile_store.h"
#include "settings/profile_table.h"

namespace {

constexpr char kHeaderFormat[] = "[%s]\r\n";
constexpr char kValueFormat[] = "=%s\r\n";
constexpr char kTempSuffix[] = ".XXXXXX.tmp";  // the platform fills in the X

struct OrderedEntries {
  ProfileEntry** rgpEntries;  // indexed by order number
  INT cEntries;
};

void PlaceByOrder(ProfileEntry* pEntry, void* pContext) {
  auto* pOrdered = static_cast<OrderedEntries*>(pContext);
  const INT nOrder = ProfileValueOrder(pEntry->pValue);
  if (nOrder >= 0 && nOrder < pOrdered->cEntries) pOrdered->rgpEntries[nOrder] = pEntry;
}

// Writes the entries in order: a header for every entry whose section differs from the
// previous header's, followed by that entry and every later entry of the same section.
// Entries of the empty-named section before any other section are not written.
bool WriteEntries(FILE* pStream, ProfileEntry* const* rgpEntries, INT cEntries) {
  LPCSTR pszPrevious = "";
  for (INT i = 0; i < cEntries; ++i) {
    ProfileEntry* pEntry = rgpEntries[i];
    if (pEntry == nullptr) continue;
    LPCSTR pszSection = ProfileEntrySection(pEntry);
    if (std::strcmp(pszSection, pszPrevious) == 0) continue;
    std::fprintf(pStream, kHeaderFormat, pszSection);
    for (INT j = i; j < cEntries; ++j) {
      ProfileEntry* pLater = rgpEntries[j];
      if (pLater == nullptr || std::strcmp(ProfileEntrySection(pLater), pszSection) != 0) continue;
      std::fputs(ProfileEntryKeyName(pLater), pStream);
      std::fprintf(pStream, kValueFormat, ProfileValueText(pLater->pValue));
    }
    pszPrevious = pszSection;
  }
  return std::ferror(pStream) == 0;
}

}  // namespace

int ProfileWrite(ProfileStore* pStore, LPCSTR pszFileName) {
  ProfileSetFileName(pStore, pszFileName);
  if (pStore->pszFileName == nullptr) return -1;

  const std::size_t cbName = std::strlen(pStore->pszFileName);
  auto* pszTemp = static_cast<LPSTR>(std::malloc(cbName + sizeof kTempSuffix));
  if (pszTemp == nullptr) return -1;
  std::memcpy(pszTemp, pStore->pszFileName, cbName);
  std::memcpy(pszTemp + cbName, kTempSuffix, sizeof kTempSuffix);

  OrderedEntries ordered{nullptr, pStore->cEntries};
  if (ordered.cEntries > 0) {
    ordered.rgpEntries = static_cast<ProfileEntry**>(
        std::calloc(static_cast<std::size_t>(ordered.cEntries), sizeof(ProfileEntry*)));
    if (ordered.rgpEntries == nullptr) {
      std::free(pszTemp);
      return -1;
    }
    ProfileTableForEach(pStore->pKeyTable, PlaceByOrder, &ordered);
  }

  int nResult = -1;
  FILE* pStream = DeviceCreateTempStream(pszTemp);
  if (pStream != nullptr) {
    const bool fWritten = WriteEntries(pStream, ordered.rgpEntries, ordered.cEntries) &&
                          DeviceCommitStream(pStream);
    const bool fClosed = std::fclose(pStream) == 0;
    if (fWritten && fClosed &&
        ReplaceFileA(pStore->pszFileName, pszTemp, nullptr, 0, nullptr, nullptr)) {
      pStore->fDirty = FALSE;
      nResult = 0;
    } else {
      DeleteFileA(pszTemp);
    }
  }
  std::free(ordered.rgpEntries);
  std::free(pszTemp);
  return nResult;
}
