// The kernel services of the handheld platform: handles, events, threads, waits, critical
// sections, the thread's last-error value, sleep, time, the module file name, moveable memory,
// code pages, wide formatting, wide strings, debug output and the idle-timer reset.
//
// Sections: errors | handles and waits | events | threads | critical sections | time |
//           module | memory | code pages | wide strings and formatting | debug output | idle
#pragma once

#include <cstdarg>

#include "pda/types.h"

// ---- errors --------------------------------------------------------------------------------
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_OUTOFMEMORY = 14;
constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_READ_FAULT = 30;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;
constexpr DWORD ERROR_DEV_NOT_EXIST = 55;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_NOT_LOCKED = 158;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;
constexpr DWORD ERROR_TIMEOUT = 1460;

DWORD GetLastError();
void SetLastError(DWORD error);

// ---- handles and waits ---------------------------------------------------------------------
constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED = 0x80;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

// Closes an event, thread or file handle. A stale or unknown handle fails with
// ERROR_INVALID_HANDLE.
BOOL CloseHandle(HANDLE handle);

// Waits until the object is signalled or the time-out (ms, or INFINITE) passes. Events are
// signalled when set; a thread when it has ended.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
// Waits on up to MAXIMUM_WAIT_OBJECTS handles. With waitAll FALSE it returns WAIT_OBJECT_0 + i
// for the lowest-index signalled handle i (consuming an auto-reset event's signal); with TRUE it
// waits until all are signalled at once. WAIT_FAILED with ERROR_INVALID_HANDLE for a bad handle.
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);

// ---- events --------------------------------------------------------------------------------
// Named events are not supported (name must be null, else ERROR_NOT_SUPPORTED).
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                    LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Signals, releases the waiters that can run, and resets.
BOOL PulseEvent(HANDLE event);

// ---- threads -------------------------------------------------------------------------------
using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);
constexpr DWORD CREATE_SUSPENDED = 0x4;  // refused: ERROR_NOT_SUPPORTED
constexpr DWORD STILL_ACTIVE = 259;

// Starts a thread at once. The handle is signalled when the thread ends; the thread runs on
// whether or not its handle is closed.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize,
                    LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD creationFlags,
                    LPDWORD threadId);
DWORD GetCurrentThreadId();
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
void Sleep(DWORD milliseconds);

// ---- critical sections ---------------------------------------------------------------------
// Re-entrant for the owning thread. The record may be zeroed before InitializeCriticalSection.
struct CRITICAL_SECTION {
  alignas(std::max_align_t) unsigned char opaque[64];
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;
void InitializeCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);

// ---- time ----------------------------------------------------------------------------------
void GetLocalTime(SYSTEMTIME* time);
void GetSystemTime(SYSTEMTIME* time);
// Milliseconds since the platform started (monotonic, wraps after 49.7 days).
DWORD GetTickCount();
// UTC as 100-ns ticks since 1601-01-01.
void GetSystemTimeAsFileTime(FILETIME* time);

// ---- arithmetic ----------------------------------------------------------------------------
// number * numerator / denominator through 64 bits, rounded half away from zero; -1 when the
// denominator is 0 or the result does not fit.
int MulDiv(int number, int numerator, int denominator);

// ---- module --------------------------------------------------------------------------------
// The program's device path, "\Program Files\Zazorudu\Zazorudu.exe". Copies at most size - 1
// characters and a terminator; returns the characters copied (size when cut, with
// ERROR_INSUFFICIENT_BUFFER).
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
// A null name, "Zazorudu.exe" or the module file name: the program's own instance. Any other
// name fails with ERROR_MOD_NOT_FOUND.
HMODULE GetModuleHandleW(LPCWSTR name);

// ---- memory --------------------------------------------------------------------------------
constexpr UINT LMEM_FIXED = 0x0;
constexpr UINT LMEM_MOVEABLE = 0x2;
constexpr UINT LMEM_ZEROINIT = 0x40;
constexpr UINT GMEM_MOVEABLE = LMEM_MOVEABLE;

// Blocks are reached through LocalLock, also LMEM_FIXED ones (handles are ids, not pointers).
// LocalUnlock returns TRUE while locks remain, else FALSE with ERROR_SUCCESS (now unlocked) or
// ERROR_NOT_LOCKED.
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
LPVOID LocalLock(HLOCAL memory);
BOOL LocalUnlock(HLOCAL memory);
SIZE_T LocalSize(HLOCAL memory);
HLOCAL LocalFree(HLOCAL memory);  // null on success, the handle on failure
inline HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) { return LocalAlloc(flags, bytes); }
inline LPVOID GlobalLock(HGLOBAL memory) { return LocalLock(memory); }
inline BOOL GlobalUnlock(HGLOBAL memory) { return LocalUnlock(memory); }
inline HGLOBAL GlobalFree(HGLOBAL memory) { return LocalFree(memory); }

// ---- code pages ----------------------------------------------------------------------------
// The system multibyte code page (CP_ACP) is UTF-8. Invalid input is converted safely, never
// read past its end: each ill-formed UTF-8 sequence (bad lead byte, overlong form, encoded
// surrogate, truncated sequence) becomes U+FFFD; an unpaired UTF-16 surrogate becomes U+FFFD
// towards CP_UTF8, and the default character ('?' unless given) towards CP_ACP. With
// MB_ERR_INVALID_CHARS / WC_ERR_INVALID_CHARS such input fails with ERROR_NO_UNICODE_TRANSLATION.
// CP_UTF8 takes no default character (ERROR_INVALID_PARAMETER if one is passed).
constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD MB_PRECOMPOSED = 0x1;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;
constexpr DWORD WC_COMPOSITECHECK = 0x200;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;

// Sizes count units including the terminator when the input length is -1. A destination size of
// 0 asks for the size needed. Returns units written, or 0 with ERROR_INSUFFICIENT_BUFFER when the
// destination is too small (nothing partial is reported as success).
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceBytes,
                        LPWSTR destination, int destinationChars);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceChars,
                        LPSTR destination, int destinationBytes, LPCSTR defaultChar,
                        BOOL* usedDefaultChar);

// ---- wide strings and formatting -----------------------------------------------------------
int lstrlenW(LPCWSTR text);
LPWSTR lstrcpyW(LPWSTR destination, LPCWSTR source);
// Copies at most max - 1 characters and always a terminator (max > 0).
LPWSTR lstrcpynW(LPWSTR destination, LPCWSTR source, int max);
LPWSTR lstrcatW(LPWSTR destination, LPCWSTR source);
int lstrcmpW(LPCWSTR a, LPCWSTR b);
int lstrcmpiW(LPCWSTR a, LPCWSTR b);

// printf on wide text. Conversions: %s (wide), %hs (narrow), %ls (wide), %c and %hc, %d %i %u
// %x %X %o (with h, l, ll, I64 and z size prefixes), %f %e %g, %p, %%; flags - + space 0 #;
// width and precision, also as '*'. %S and %C take narrow text, as in the device's wide printf.
// Sizes are the device's: 'l' is 32 bits, "ll"/"I64" 64 bits. Numbers are formatted by the C
// library. %n is not supported (shown as written). Narrow text is UTF-8.
// The result is cut to the buffer and always terminated.
// Returns S_OK, or STRSAFE_E_INSUFFICIENT_BUFFER when the result was cut.
HRESULT StringCchPrintfW(LPWSTR destination, size_t destinationChars, LPCWSTR format, ...);
HRESULT StringCchVPrintfW(LPWSTR destination, size_t destinationChars, LPCWSTR format,
                          va_list arguments);
HRESULT StringCchCopyW(LPWSTR destination, size_t destinationChars, LPCWSTR source);
HRESULT StringCchLengthW(LPCWSTR text, size_t maxChars, size_t* length);
// Like StringCchPrintfW into a buffer taken to hold 1024 characters; returns the characters
// written, not counting the terminator.
int wsprintfW(LPWSTR destination, LPCWSTR format, ...);

// ---- debug output --------------------------------------------------------------------------
// The text to standard error as UTF-8 (as given; no newline is added). Tests may catch it with
// the sink in pda/testing/kernel.h.
void OutputDebugStringW(LPCWSTR text);

// ---- idle ----------------------------------------------------------------------------------
// Keeps the device from suspending or dimming. Counted; a screen back end may tie it to its
// screen saver.
void SystemIdleTimerReset();
