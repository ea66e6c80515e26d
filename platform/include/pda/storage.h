// The device's file system: backslash paths without drive letters ("\My Documents\x.txt"),
// mapped under the device root folder on the host (PDA_ROOT).
#pragma once

#include <cstdio>

#include "pda/kernel.h"

constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFFu;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;

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
BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags);
DWORD GetFileAttributesW(LPCWSTR path);

// Stdio streams on device paths, for whole-file reading and binary writing. The path is narrow
// text in the system code page (UTF-8). The stream is a host FILE*: use fread, fwrite, fseek,
// ftell, fclose on it.
FILE* DeviceOpenStream(LPCSTR path, LPCSTR mode);
// fflush and fsync: the data is on the disk when this returns TRUE.
BOOL DeviceCommitStream(FILE* stream);
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);
BOOL DeleteFileA(LPCSTR path);

// The user's documents folder, "\My Documents".
constexpr int CSIDL_PERSONAL = 0x0005;
BOOL SHGetSpecialFolderPath(HWND owner, LPWSTR path, int folder, BOOL create);
