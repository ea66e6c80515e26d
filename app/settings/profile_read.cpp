// Reading a Profile store's file: the whole file is read at once and parsed in place.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/profile_store.h"

namespace {

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

// Reads the whole stream into a heap buffer with a NUL after the last byte read. A read error
// fails the whole read: a part of a file is never taken for the file.
LPSTR ReadWholeStream(FILE* pStream) {
  if (std::fseek(pStream, 0, SEEK_END) != 0) return nullptr;
  const long cbFile = std::ftell(pStream);
  if (cbFile < 0 || cbFile > PROFILE_MAX_FILE_BYTES || std::fseek(pStream, 0, SEEK_SET) != 0) {
    return nullptr;
  }
  auto* pszText = static_cast<LPSTR>(std::malloc(static_cast<std::size_t>(cbFile) + 1));
  if (pszText == nullptr) return nullptr;
  const std::size_t cbRead = std::fread(pszText, 1, static_cast<std::size_t>(cbFile), pStream);
  if (std::ferror(pStream)) {
    std::free(pszText);
    return nullptr;
  }
  pszText[cbRead] = 0;
  return pszText;
}

// One line, already cut out and terminated: a comment, a section header or a key line.
void ParseLine(ProfileStore* pStore, LPSTR pszLine, LPCSTR* ppszSection) {
  while (IsBlank(*pszLine)) ++pszLine;
  if (*pszLine == 0 || *pszLine == ';') return;
  if (*pszLine == '[') {
    LPSTR pszName = pszLine + 1;
    LPSTR pszClose = std::strchr(pszName, ']');
    if (pszClose != nullptr) *pszClose = 0;
    *ppszSection = pszName;
    return;
  }
  LPSTR pszKey = pszLine;
  LPCSTR pszValue = "";
  LPSTR pszEquals = std::strchr(pszLine, '=');
  if (pszEquals != nullptr) {
    LPSTR pszKeyEnd = pszEquals;
    while (pszKeyEnd > pszKey && IsBlank(pszKeyEnd[-1])) --pszKeyEnd;
    *pszKeyEnd = 0;
    LPSTR pszAfter = pszEquals + 1;
    while (IsBlank(*pszAfter)) ++pszAfter;
    pszValue = pszAfter;
  }
  // A pair over the name limit is refused by ProfileSet: the line is ignored.
  ProfileSet(pStore, *ppszSection, pszKey, pszValue, 0);
}

}  // namespace

int ProfileRead(ProfileStore* pStore, LPCSTR pszFileName) {
  ProfileSetFileName(pStore, pszFileName);
  if (pStore->pszFileName == nullptr) return -1;
  FILE* pStream = DeviceOpenStream(pStore->pszFileName, "rb");
  if (pStream == nullptr) return -1;
  LPSTR pszText = ReadWholeStream(pStream);
  std::fclose(pStream);
  if (pszText == nullptr) return -1;

  // A NUL byte in the file ends the text there.
  LPCSTR pszSection = "";
  LPSTR psz = pszText;
  while (*psz != 0) {
    LPSTR pszLine = psz;
    LPSTR pszLineEnd;
    LPSTR pszFeed = std::strchr(psz, '\n');
    if (pszFeed != nullptr) {
      psz = pszFeed + 1;
      pszLineEnd = pszFeed;
      while (pszLineEnd > pszLine &&
             (pszLineEnd[-1] == '\r' || IsBlank(pszLineEnd[-1]))) {
        --pszLineEnd;
      }
      *pszLineEnd = 0;
    } else {
      // The last line without a line feed is taken as it is.
      psz += std::strlen(psz);
    }
    ParseLine(pStore, pszLine, &pszSection);
  }

  std::free(pszText);
  pStore->fDirty = FALSE;
  return 0;
}
