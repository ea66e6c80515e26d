// The GeoNote file: its folder, name and header, made when the editor opens, and the save that
// writes the editor's content into it.
//
// The save writes under a temporary name in the GeoNotes folder and renames it over the final
// name only when the whole stream is written, so a failed save leaves no partial file and an
// earlier note of the same name whole; the caller (the editor) stays open when it fails.
#pragma once

#include <pda.h>

constexpr int GEONOTE_FOLDER_CHARS = 256;
constexpr int GEONOTE_PATH_CHARS = 384;
constexpr int GEONOTE_HEADER_CHARS = 384;

inline constexpr WCHAR GEONOTE_SAVE_ERROR_TEXT[] = u"Could not create GeoNote file.";
inline constexpr WCHAR GEONOTE_SAVE_ERROR_CAPTION[] = u"GeoNote Save Error";

struct GeoNoteNames {
  WCHAR folder[GEONOTE_FOLDER_CHARS];  // "<documents>\GeoNotes"
  WCHAR path[GEONOTE_PATH_CHARS];      // "<folder>\GeoNote_09d-01m-2009y-t2041.txt"
  WCHAR header[GEONOTE_HEADER_CHARS];  // the editor's first text
};

// Reads the local date and time once and fills the folder, the file path and the header with
// them and the position.
void MakeGeoNoteNames(double dblLatitude, double dblLongitude, GeoNoteNames* pNames);

// The stream's cookie: the open file, and the last error of a write that failed.
struct GeoNoteCookie {
  HANDLE hFile;
  DWORD dwError;
};

// The stream receiver: writes the chunk to the cookie's file and reports the count written.
// 0 to go on; on a failed write the last error, also kept in the cookie, which ends the stream.
DWORD GeoNoteWriteChunk(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb);

// What streams the editor's content out: hands every chunk to `writer` with the cookie until
// the content is done (0) or the writer returns an error (that error, which it returns).
using GeoNoteChunkWriter = DWORD (*)(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb);
using GeoNoteStreamOut = DWORD (*)(HWND hwndEditor, DWORD_PTR dwCookie, GeoNoteChunkWriter writer);

// Creates the folder (one level), writes the stream under a temporary name, puts it on the disk
// and renames it over the file path. ERROR_SUCCESS, or the error of the step that failed; no
// temporary or partial file is left behind.
DWORD WriteGeoNoteFile(const GeoNoteNames& names, HWND hwndEditor, GeoNoteStreamOut streamOut);

// WriteGeoNoteFile, and on failure the "GeoNote Save Error" box owned by the editor. TRUE when
// the note is saved; FALSE keeps the editor open with its text.
BOOL SaveGeoNote(const GeoNoteNames& names, HWND hwndEditor, GeoNoteStreamOut streamOut);
