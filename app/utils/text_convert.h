// Conversions between wide text and narrow text in the system multibyte code page, for the
// places where wide text meets a narrow file (the Settings file) or a narrow device path.
//
// Every routine writes into a fixed buffer, always terminates it, and never overruns it: text
// that does not fit is cut at a character boundary (never inside a surrogate pair or a
// multibyte sequence).
#pragma once

#include <pda.h>

// Copies the wide string into a buffer of cchDest characters, cut to cchDest - 1 characters
// when longer. Returns the number of characters copied (without the terminator).
int CopyWideCut(LPWSTR pszDest, int cchDest, LPCWSTR pszSource);

// Converts the wide string to narrow text (composite characters combined) into cbDest bytes,
// cut at a character boundary to cbDest - 1 bytes when longer. Returns the bytes written
// (without the terminator), or -1 when nothing could be converted (cbDest < 1).
int WideToNarrowCut(LPCWSTR pszSource, LPSTR pszDest, int cbDest);

// Converts the narrow string to wide text (precomposed characters) into cchDest characters,
// cut to cchDest - 1 characters when longer. Returns the characters written (without the
// terminator), or -1 when nothing could be converted (cchDest < 1).
int NarrowToWideCut(LPCSTR pszSource, LPWSTR pszDest, int cchDest);

// Converts the whole wide string to narrow text into cbDest bytes; returns FALSE (and an empty
// destination) when it does not fit whole. For names and paths, which must never be cut.
BOOL WideToNarrowWhole(LPCWSTR pszSource, LPSTR pszDest, int cbDest);
