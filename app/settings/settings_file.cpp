// The Settings file: forming its path, loading the live record, saving it.
#include "settings/settings_file.h"

#include <cstdio>

#include "settings/folder_paths.h"
#include "settings/profile_store.h"
#include "settings/settings_record.h"
#include "settings/time_stamp.h"
#include "settings/version.h"
#include "utils/text_convert.h"

namespace {

constexpr DWORD kPauseAfterCheckMs = 250;
constexpr DWORD kPauseAfterReadMs = 100;

// The three fields as they are stored, in file order.
struct SettingsField {
  LPCSTR pszSection;
  LPCSTR pszKey;
  WCHAR* (*pfnField)(SettingsRecord&);
  int cchField;
};

constexpr SettingsField kFields[] = {
    {"EMAIL", "wszDefaultEmailAddr",   [](SettingsRecord& r) { return r.wszDefaultEmailAddr; },
     SETTINGS_EMAIL_ADDR_CHARS},
    {"EMAIL", "DefaultEmailAccount",   [](SettingsRecord& r) { return r.DefaultEmailAccount; },
     SETTINGS_EMAIL_ACCOUNT_CHARS},
    {"SMS",   "DefaultSMSphoneNumber", [](SettingsRecord& r) { return r.DefaultSMSphoneNumber; },
     SETTINGS_SMS_NUMBER_CHARS},
};

// Set by a load that found the file there but could not read it: the session then treats it as
// absent, and the save at its end leaves it as it is rather than replace it by empty values.
BOOL s_fFileKept = FALSE;

// The file is simply not there (rather than there and unreadable).
bool IsAbsent(DWORD dwError) {
  return dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND;
}

BOOL FormSettingsPath(LPWSTR pszPath, LPSTR pszNarrowPath) {
  WCHAR szModule[SETTINGS_MODULE_NAME_CHARS] = {};
  GetModuleFileNameW(nullptr, szModule, SETTINGS_MODULE_NAME_CHARS);
  return MakeSettingsPath(szModule, pszPath, pszNarrowPath);
}

// Sets a wide value, converted to narrow text of at most SETTINGS_VALUE_BYTES - 1 bytes.
void SetWide(ProfileStore* pStore, LPCSTR pszSection, LPCSTR pszKey, LPCWSTR pszValue) {
  char szValue[SETTINGS_VALUE_BYTES];
  WideToNarrowCut(pszValue, szValue, SETTINGS_VALUE_BYTES);
  ProfileSet(pStore, pszSection, pszKey, szValue, 0);
}

}  // namespace

BOOL MakeSettingsPath(LPCWSTR pszModuleFileName, LPWSTR pszPath, LPSTR pszNarrowPath) {
  WCHAR szFolder[SETTINGS_MODULE_NAME_CHARS] = {};
  WCHAR szFile[SETTINGS_MODULE_NAME_CHARS] = {};
  WCHAR szModule[SETTINGS_MODULE_NAME_CHARS] = {};
  CopyWideCut(szModule, SETTINGS_MODULE_NAME_CHARS, pszModuleFileName);
  SplitPath(szModule, szFolder, szFile);
  if (FAILED(StringCchPrintfW(pszPath, SETTINGS_PATH_CHARS, u"%s%s", szFolder,
                              SETTINGS_FILE_NAME))) {
    return FALSE;
  }
  return WideToNarrowWhole(pszPath, pszNarrowPath, SETTINGS_NARROW_PATH_BYTES);
}

void FillSettingsFromStore(ProfileStore* pStore, SettingsRecord* pRecord) {
  for (const SettingsField& field : kFields) {
    char szValue[SETTINGS_VALUE_BYTES];
    WCHAR wszValue[SETTINGS_VALUE_BYTES];
    ProfileGet(pStore, field.pszSection, field.pszKey, szValue, SETTINGS_VALUE_BYTES);
    NarrowToWideCut(szValue, wszValue, SETTINGS_VALUE_BYTES);
    CopyWideCut(field.pfnField(*pRecord), field.cchField, wszValue);
  }
}

BOOL LoadSettings() {
  WCHAR szPath[SETTINGS_PATH_CHARS] = {};
  char szNarrowPath[SETTINGS_NARROW_PATH_BYTES] = {};
  if (!FormSettingsPath(szPath, szNarrowPath)) return FALSE;

  s_fFileKept = FALSE;
  HANDLE hFile = CreateFileW(szPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE || !hFile) {
    s_fFileKept = !IsAbsent(GetLastError());
    return FALSE;
  }
  DWORD cbFileHigh = 0;
  const DWORD cbFile = GetFileSize(hFile, &cbFileHigh);
  const DWORD dwSizeError = GetLastError();
  CloseHandle(hFile);
  if (cbFile == INVALID_FILE_SIZE && dwSizeError != ERROR_SUCCESS) {
    s_fFileKept = TRUE;
    return FALSE;
  }
  if (cbFileHigh == 0 && cbFile < SETTINGS_MIN_FILE_BYTES) return FALSE;
  Sleep(kPauseAfterCheckMs);

  // The file is read on its own, not by the opening, so that a file that is there but cannot
  // be read whole (too large, a read error) is told apart from an empty one.
  ProfileStore* pStore = nullptr;
  if (ProfileOpen(&pStore, szNarrowPath, TRUE) != 0) return FALSE;
  if (ProfileRead(pStore, szNarrowPath) != 0) {
    s_fFileKept = !IsAbsent(GetLastError());
    ProfileClose(pStore);
    return FALSE;
  }
  Sleep(kPauseAfterReadMs);
  FILE* pStream = DeviceOpenStream(szNarrowPath, "r");
  if (pStream == nullptr) {
    s_fFileKept = !IsAbsent(GetLastError());
    ProfileClose(pStore);
    return FALSE;
  }
  std::fclose(pStream);

  FillSettingsFromStore(pStore, &g_Settings);
  ProfileClose(pStore);
  return TRUE;
}

BOOL SaveSettings() {
  if (s_fFileKept) {
    s_fFileKept = FALSE;  // one session's save: the file found unreadable stays as it was
    return FALSE;
  }
  WCHAR szPath[SETTINGS_PATH_CHARS] = {};
  char szNarrowPath[SETTINGS_NARROW_PATH_BYTES] = {};
  if (!FormSettingsPath(szPath, szNarrowPath)) return FALSE;
  char szSection[SETTINGS_NARROW_PATH_BYTES];
  if (!WideToNarrowWhole(SETTINGS_APP_SECTION, szSection, SETTINGS_NARROW_PATH_BYTES)) {
    return FALSE;
  }

  ProfileStore* pStore = nullptr;
  if (ProfileOpen(&pStore, szNarrowPath, TRUE) != 0) return FALSE;

  WCHAR szStamp[TIMESTAMP_MIN_CHARS] = {};
  MakeTimeStamp(TIMESTAMP_DAY_MONTH_YEAR, TIMESTAMP_HOUR_MINUTE_SECOND, szStamp);
  SetWide(pStore, szSection, "DateTime", szStamp);

  WCHAR szVersion[SETTINGS_VALUE_BYTES] = {};
  StringCchPrintfW(szVersion, SETTINGS_VALUE_BYTES, VERSION_FORMAT, VERSION_RELEASE,
                   VERSION_BUILD, VERSION_DATE);
  SetWide(pStore, szSection, "Version", szVersion);

  for (const SettingsField& field : kFields) {
    SetWide(pStore, field.pszSection, field.pszKey, field.pfnField(g_Settings));
  }
  ProfileClose(pStore);  // the store is dirty: this writes the file
  return TRUE;
}
