// The Profile store: an in-memory table of narrow text values addressed by a section name and a
// key name, bound to one file that it reads at opening and writes back at closing.
//
// Names and values are narrow NUL-terminated byte strings, exactly as they stand in the file.
// Results are 0 for success and -1 for failure.
//
// File grammar (reading): lines end at LF; a line that ended in LF loses its trailing CR, space
// and tab; leading spaces and tabs are skipped; empty lines and lines starting with ';' are
// ignored; "[name]" makes a section current (text after the first ']' is ignored); any other
// line is "key = value", split at its first '=' (without '=': the whole line is the key and the
// value is empty). Keys before the first header belong to the empty-named section.
//
// File layout (writing): "[section]\r\n" then "key=value\r\n" lines, in the order the entries
// were first added. The file is written to a new "<name>.XXXXXX.tmp" of a random name in the
// same folder, committed to disk and then put in the old file's place (which keeps the old
// file's access rights, and a link to it stays a link), so the old file stays whole if the new
// one cannot be written. Temporary files left by a crash are removed at the next write.
//
// A file over PROFILE_MAX_FILE_BYTES, or one that gives a read error, is not read at all.
//
// Limits: a section name and a key name together may have at most PROFILE_MAX_NAME_BYTES bytes;
// longer pairs are refused (a set fails, a get misses, such a line in a file is ignored). A store
// holds at most PROFILE_MAX_ENTRIES distinct pairs, so that the 16-bit order numbers stay unique.
#pragma once

#include <pda.h>

constexpr int PROFILE_MAX_NAME_BYTES = 253;
constexpr int PROFILE_MAX_ENTRIES = 32768;
constexpr int PROFILE_BUCKETS = 1024;
constexpr int PROFILE_BLOCK_BYTES = 16384;
constexpr long PROFILE_MAX_FILE_BYTES = 1L << 20;

struct ProfileKeyTable;

struct ProfileStore {
  ProfileKeyTable* pKeyTable;  // owned
  BOOLEAN fDirty;              // set by ProfileSet, cleared after reading and after a write
  INT cEntries;                // distinct entries added; the order number of the next one
  LPSTR pszFileName;           // owned copy of the bound file name, or null
};

// Allocates an empty store and stores it in *ppStore. With fCreateOnly it only binds the file
// name; otherwise it also reads the file (a file that cannot be opened leaves the store empty).
// -1 (and *ppStore null) only when the store cannot be allocated.
int ProfileOpen(ProfileStore** ppStore, LPCSTR pszFileName, BOOL fCreateOnly);
// Binds a copy of the file name; a null name or the name already bound changes nothing.
int ProfileSetFileName(ProfileStore* pStore, LPCSTR pszFileName);
// Binds the file name and parses the file into the store. -1 if the file cannot be opened or
// read whole (the store is then unchanged).
int ProfileRead(ProfileStore* pStore, LPCSTR pszFileName);
// Sets the value of section/key; cbValue 0 takes the value up to its terminator, otherwise
// exactly cbValue bytes. A new pair gets the next order number; a known pair keeps its own.
int ProfileSet(ProfileStore* pStore, LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue,
               int cbValue);
// Copies the value of section/key into pszOut, cut to cbOut - 1 bytes and a terminator (cbOut 0:
// no limit). A missing pair gives the empty string and -1.
int ProfileGet(ProfileStore* pStore, LPCSTR pszSection, LPCSTR pszKey, LPSTR pszOut, DWORD cbOut);
// Binds the file name and writes the whole store to it. -1 when it cannot be written (the old
// file is then left as it was, and the dirty flag too).
int ProfileWrite(ProfileStore* pStore, LPCSTR pszFileName);
// Writes a dirty store to its bound file (result ignored), then releases everything.
int ProfileClose(ProfileStore* pStore);
