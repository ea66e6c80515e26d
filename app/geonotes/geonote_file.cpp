// The GeoNote file (see geonote_file.h).
#include "geonotes/geonote_file.h"

#include <cstring>

#include "position/coordinate_text.h"
#include "settings/folder_paths.h"

namespace {

inline constexpr WCHAR kFolderFormat[] = u"%s\\GeoNotes";
inline constexpr WCHAR kPathFormat[] = u"%s\\GeoNote_%02dd-%02dm-%dy-t%02d%02d.txt";
inline constexpr WCHAR kDateFormat[] = u"%02dd/%02dm/%dy";
inline constexpr WCHAR kTimeFormat[] = u"%02d:%02d";
inline constexpr WCHAR kStampFormat[] = u"%s @ %s";
inline constexpr WCHAR kHeaderFormat[] = u"GeoNote\r\n%s\r\nGPS Location:\r\n%s\r\n\r\n\r\n";
// The temporary name is the final name with this added, in the same folder.
inline constexpr WCHAR kTemporaryFormat[] = u"%s.saving";
constexpr int kTemporaryChars = GEONOTE_PATH_CHARS + 8;

DWORD LastErrorOr(DWORD fallback) {
  const DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? error : fallback;
}

}  // namespace

void MakeGeoNoteNames(double dblLatitude, double dblLongitude, GeoNoteNames* pNames) {
  std::memset(pNames, 0, sizeof *pNames);
  SYSTEMTIME now;
  GetLocalTime(&now);
  WCHAR documents[GEONOTE_FOLDER_CHARS] = {};
  GetDocumentsFolder(documents);
  StringCchPrintfW(pNames->folder, GEONOTE_FOLDER_CHARS, kFolderFormat, documents);
  StringCchPrintfW(pNames->path, GEONOTE_PATH_CHARS, kPathFormat, pNames->folder, now.wDay,
                   now.wMonth, now.wYear, now.wHour, now.wMinute);

  WCHAR date[32] = {}, time[32] = {}, stamp[64] = {}, coordinates[COORDINATE_TEXT_CHARS] = {};
  StringCchPrintfW(date, 32, kDateFormat, now.wDay, now.wMonth, now.wYear);
  StringCchPrintfW(time, 32, kTimeFormat, now.wHour, now.wMinute);
  StringCchPrintfW(stamp, 64, kStampFormat, date, time);
  FormatCoordinateText(dblLatitude, dblLongitude, coordinates);
  StringCchPrintfW(pNames->header, GEONOTE_HEADER_CHARS, kHeaderFormat, stamp, coordinates);
}

DWORD GeoNoteWriteChunk(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb) {
  auto* cookie = reinterpret_cast<GeoNoteCookie*>(dwCookie);
  DWORD written = 0;
  const BOOL ok = cb >= 0 && WriteFile(cookie->hFile, pbBuff, static_cast<DWORD>(cb), &written,
                                       nullptr);
  if (pcb) *pcb = static_cast<LONG>(written);
  if (ok && written == static_cast<DWORD>(cb)) return 0;
  cookie->dwError = LastErrorOr(ERROR_WRITE_FAULT);
  return cookie->dwError;
}

DWORD WriteGeoNoteFile(const GeoNoteNames& names, HWND hwndEditor, GeoNoteStreamOut streamOut) {
  // No name was made (the editor has no control): there is no file to create.
  if (names.path[0] == 0) return ERROR_PATH_NOT_FOUND;
  CreateDirectoryW(names.folder, nullptr);  // one level; an existing folder is fine
  WCHAR temporary[kTemporaryChars] = {};
  if (FAILED(StringCchPrintfW(temporary, kTemporaryChars, kTemporaryFormat, names.path)))
    return ERROR_FILENAME_EXCED_RANGE;

  // A leftover of an earlier save that was cut short is replaced.
  HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastErrorOr(ERROR_WRITE_FAULT);

  GeoNoteCookie cookie = {file, ERROR_SUCCESS};
  const DWORD streamed = streamOut(hwndEditor, reinterpret_cast<DWORD_PTR>(&cookie),
                                   GeoNoteWriteChunk);
  DWORD error = cookie.dwError != ERROR_SUCCESS ? cookie.dwError : streamed;
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file)) error = LastErrorOr(ERROR_WRITE_FAULT);
  CloseHandle(file);
  if (error == ERROR_SUCCESS &&
      !MoveFileExW(temporary, names.path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = LastErrorOr(ERROR_WRITE_FAULT);
  if (error != ERROR_SUCCESS) DeleteFileW(temporary);
  return error;
}

BOOL SaveGeoNote(const GeoNoteNames& names, HWND hwndEditor, GeoNoteStreamOut streamOut) {
  if (WriteGeoNoteFile(names, hwndEditor, streamOut) == ERROR_SUCCESS) return TRUE;
  MessageBoxW(hwndEditor, GEONOTE_SAVE_ERROR_TEXT, GEONOTE_SAVE_ERROR_CAPTION, MB_OK);
  return FALSE;
}
