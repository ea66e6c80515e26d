// Wide <-> narrow conversions that cut to a fixed buffer at character boundaries.
#include "utils/text_convert.h"

#include <new>

namespace {

bool IsHighSurrogate(WCHAR ch) { return ch >= 0xD800 && ch <= 0xDBFF; }

// The number of characters of pszSource to keep so that at most cchMax remain and a surrogate
// pair is never split.
int WideCutLength(LPCWSTR pszSource, int cchMax) {
  int cch = lstrlenW(pszSource);
  if (cch <= cchMax) return cch;
  cch = cchMax;
  if (cch > 0 && IsHighSurrogate(pszSource[cch - 1])) --cch;
  return cch;
}

}  // namespace

int CopyWideCut(LPWSTR pszDest, int cchDest, LPCWSTR pszSource) {
  if (cchDest < 1) return 0;
  const int cch = WideCutLength(pszSource, cchDest - 1);
  for (int i = 0; i < cch; ++i) pszDest[i] = pszSource[i];
  pszDest[cch] = 0;
  return cch;
}

int WideToNarrowCut(LPCWSTR pszSource, LPSTR pszDest, int cbDest) {
  if (cbDest < 1) return -1;
  pszDest[0] = 0;
  // Take fewer characters until their narrow form fits; each character takes at least one
  // byte, so start from at most cbDest - 1 characters.
  int cch = WideCutLength(pszSource, cbDest - 1);
  while (cch > 0) {
    const int cb = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, pszSource, cch, pszDest,
                                       cbDest - 1, nullptr, nullptr);
    if (cb > 0) {
      pszDest[cb] = 0;
      return cb;
    }
    --cch;
    if (cch > 0 && IsHighSurrogate(pszSource[cch - 1])) --cch;
  }
  pszDest[0] = 0;
  return 0;
}

int NarrowToWideCut(LPCSTR pszSource, LPWSTR pszDest, int cchDest) {
  if (cchDest < 1) return -1;
  pszDest[0] = 0;
  int cb = 0;
  while (pszSource[cb] != 0) ++cb;
  if (cb == 0) return 0;
  const int cchNeeded = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, pszSource, cb, nullptr, 0);
  if (cchNeeded <= 0) return 0;
  if (cchNeeded < cchDest) {
    const int cch =
        MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, pszSource, cb, pszDest, cchDest - 1);
    pszDest[cch > 0 ? cch : 0] = 0;
    return cch > 0 ? cch : 0;
  }
  // Too long: convert whole into a scratch buffer on the heap of the needed size, then cut.
  auto* pszWhole = new (std::nothrow) WCHAR[static_cast<std::size_t>(cchNeeded) + 1];
  if (pszWhole == nullptr) return 0;
  const int cch = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, pszSource, cb, pszWhole, cchNeeded);
  pszWhole[cch > 0 ? cch : 0] = 0;
  const int cchCopied = CopyWideCut(pszDest, cchDest, pszWhole);
  delete[] pszWhole;
  return cchCopied;
}

BOOL WideToNarrowWhole(LPCWSTR pszSource, LPSTR pszDest, int cbDest) {
  if (cbDest < 1) return FALSE;
  const int cb =
      WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, pszSource, -1, pszDest, cbDest, nullptr,
                          nullptr);
  if (cb <= 0) {
    pszDest[0] = 0;
    return FALSE;
  }
  return TRUE;
}
