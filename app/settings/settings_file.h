// The Settings file: "Zazorudu.settings.txt" beside the program, read into the live Settings
// record at start-up and written from it at exit, through the Profile store.
//
// Values longer than their field (after conversion) are cut to the field's capacity with a
// terminator, at a character boundary; a field whose narrow form exceeds 255 bytes is saved cut
// to 255 bytes at a character boundary.
#pragma once

#include <pda.h>

constexpr int SETTINGS_MODULE_NAME_CHARS = 128;
constexpr int SETTINGS_PATH_CHARS = 160;  // the program's folder and the file name
constexpr int SETTINGS_NARROW_PATH_BYTES = 64;
constexpr int SETTINGS_VALUE_BYTES = 256;
constexpr DWORD SETTINGS_MIN_FILE_BYTES = 10;  // a shorter file counts as absent

inline constexpr WCHAR SETTINGS_FILE_NAME[] = u"Zazorudu.settings.txt";
inline constexpr WCHAR SETTINGS_APP_SECTION[] = u"Zazorudu";

// The Settings file's path beside the module file name, wide and narrow; FALSE when the narrow
// form does not fit SETTINGS_NARROW_PATH_BYTES (at most 63 bytes).
BOOL MakeSettingsPath(LPCWSTR pszModuleFileName, LPWSTR pszPath, LPSTR pszNarrowPath);

struct ProfileStore;
struct SettingsRecord;

// The three fields from a store's values, converted and cut to their fields (a missing key
// empties its field).
void FillSettingsFromStore(ProfileStore* pStore, SettingsRecord* pRecord);

// Fills the live record from the file; TRUE when the three fields were taken from it. A file
// that is there but cannot be read whole (no permission, not a regular file, over 1 MiB, a read
// error) counts as absent, and the next save leaves it as it is.
BOOL LoadSettings();
// Writes the live record to the file; TRUE when it was handed to the Profile store, FALSE when
// the path cannot be formed or the last load found the file unreadable.
BOOL SaveSettings();
