// The device's file system: backslash paths without drive letters ("\My Documents\x.txt"),
// mapped under the device root folder on the host (PDA_ROOT, by default
// $XDG_DATA_HOME/zazorudu, else $HOME/.local/share/zazorudu).
//
// "\" is the root; a path without the leading backslash is taken from the root as well; a
// trailing backslash is allowed. ".." never climbs above the root, and / : * ? " < > | are not
// allowed in names (both ERROR_INVALID_NAME). The root, "\Program Files\Zazorudu" and
// "\My Documents" are created on first use. Errors of the host are reported as ERROR_* values.
#pragma once

#include <cstdio>

#include "pda/kernel.h"

constexpr DWORD MAX_PATH = 260;  // device paths are shorter (ERROR_FILENAME_EXCED_RANGE)

constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFFu;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;
constexpr DWORD ERROR_FILE_TOO_LARGE = 223;

// Share modes are accepted and not enforced. On success the last error is ERROR_ALREADY_EXISTS
// when CREATE_ALWAYS or OPEN_ALWAYS found the file there, else ERROR_SUCCESS. CREATE_NEW on an
// existing file fails with ERROR_FILE_EXISTS; a missing file gives ERROR_FILE_NOT_FOUND, a missing
// folder on the way ERROR_PATH_NOT_FOUND. A folder cannot be opened (ERROR_ACCESS_DENIED).
HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPVOID overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPVOID overlapped);
BOOL FlushFileBuffers(HANDLE file);
DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);
// Creates one folder level; the parent must exist (ERROR_PATH_NOT_FOUND), an existing folder
// fails with ERROR_ALREADY_EXISTS.
BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES attributes);
BOOL DeleteFileW(LPCWSTR path);
// A rename: atomic, so a reader sees the old file or the new one. Without
// MOVEFILE_REPLACE_EXISTING an existing target fails with ERROR_ALREADY_EXISTS.
// MOVEFILE_WRITE_THROUGH also writes the folder to disk, so the rename survives a crash.
BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags);
DWORD GetFileAttributesW(LPCWSTR path);

// Stdio streams on device paths, for whole-file reading and binary writing. The path is narrow
// text in the system code page (UTF-8). The stream is a host FILE*: use fread, fwrite, fseek,
// ftell, fclose on it. Modes: "r", "w", "a" with "b" and "+"; "wx" creates the file new (never
// through a symbolic link), private to its owner. A stream opened for reading serves a
// whole-file read: a file over 1 MiB is refused (ERROR_FILE_TOO_LARGE). Only regular files
// open: a FIFO or a device is refused without waiting. A file that is there but cannot be read
// is told on standard error with the reason.
FILE* DeviceOpenStream(LPCSTR path, LPCSTR mode);
// A new temporary file for writing, as mkstemp: the "XXXXXX" in the template's last name is
// replaced by random characters and the file is created new (never through a symbolic link),
// private to its owner. Files of the same template left by an earlier run are removed first.
// The template keeps the name made. The caller replaces a file with it or deletes it.
FILE* DeviceCreateTempStream(LPSTR pathTemplate);
// Replaces a file by another of the same folder: the replacement takes the replaced file's
// access rights (or a new file's default ones when there was none), a replaced symbolic link
// stays a link and the file it points to is replaced, and the rename is on the disk when this
// returns TRUE. On failure the replaced file is as it was and the replacement is left to the
// caller. No backup name and no flags are supported (ERROR_NOT_SUPPORTED).
BOOL ReplaceFileA(LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags,
                  LPVOID exclude, LPVOID reserved);
// fflush and fsync: the data is on the disk when this returns TRUE.
BOOL DeviceCommitStream(FILE* stream);
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);
BOOL DeleteFileA(LPCSTR path);

// The user's documents folder, "\My Documents", and "\Program Files". The path buffer holds
// MAX_PATH characters. With create FALSE a missing folder fails (ERROR_FILE_NOT_FOUND).
constexpr int CSIDL_PERSONAL = 0x0005;
constexpr int CSIDL_PROGRAM_FILES = 0x0026;
BOOL SHGetSpecialFolderPath(HWND owner, LPWSTR path, int folder, BOOL create);
