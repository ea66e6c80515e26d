// Basic types of the handheld platform: integer widths, wide text, handles, results.
//
// Handles are 32-bit ids into the platform's handle tables (with a generation count, so a stale
// handle is recognised as gone); each handle kind is its own type so that a window cannot be
// passed where an event is expected. Records made of numbers and handles therefore have their
// published sizes. Wide text is char16_t (UTF-16); wchar_t is never used for platform text.
#pragma once

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using INT = std::int32_t;
using BOOL = std::int32_t;
using BOOLEAN = std::uint8_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using HRESULT = std::int32_t;
using COLORREF = std::uint32_t;
using CHAR = char;
using WCHAR = char16_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPDWORD = DWORD*;
using LPBYTE = BYTE*;
using SIZE_T = std::size_t;
// Message parameters and window-procedure slots are pointer-sized, as on 64-bit Windows.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using INT_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;

// The calling-convention mark of the platform's entry points; nothing on this host.
#define WINAPI

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// A 32-bit handle of one kind. Zero is "no handle".
template <class Tag>
struct Handle {
  std::uint32_t value = 0;

  constexpr Handle() = default;
  constexpr Handle(std::nullptr_t) {}  // NOLINT: handles compare with and are set to nullptr
  constexpr explicit Handle(std::uint32_t v) : value(v) {}
  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr bool operator==(Handle a, Handle b) { return a.value == b.value; }
  friend constexpr bool operator==(Handle a, std::nullptr_t) { return a.value == 0; }
};

struct KernelHandleTag;
struct WindowHandleTag;
struct InstanceHandleTag;
struct MemoryHandleTag;

using HANDLE = Handle<KernelHandleTag>;      // events, threads, files, the GPS device
using HWND = Handle<WindowHandleTag>;
using HINSTANCE = Handle<InstanceHandleTag>;
using HMODULE = HINSTANCE;
using HLOCAL = Handle<MemoryHandleTag>;       // moveable memory blocks
using HGLOBAL = HLOCAL;

static_assert(sizeof(HANDLE) == 4 && sizeof(HWND) == 4);

// CreateFile's failure value.
inline constexpr HANDLE INVALID_HANDLE_VALUE{0xFFFFFFFFu};

// Result codes.
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT STRSAFE_E_INSUFFICIENT_BUFFER = static_cast<HRESULT>(0x8007007Au);
constexpr HRESULT STRSAFE_E_INVALID_PARAMETER = static_cast<HRESULT>(0x80070057u);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// A last-error value as a result: positive values get the Win32 facility, zero and negative
// values are kept as they are (so no error is success).
constexpr HRESULT HRESULT_FROM_WIN32(DWORD e) {
  return static_cast<HRESULT>(e) <= 0 ? static_cast<HRESULT>(e)
                                      : static_cast<HRESULT>((e & 0x0000FFFFu) | 0x80070000u);
}

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
static_assert(sizeof(SYSTEMTIME) == 16);

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
static_assert(sizeof(FILETIME) == 8 && alignof(FILETIME) == 4);

// Geometry shared by the window manager and the drawing library. Rectangles are half-open:
// right and bottom are outside.
struct POINT {
  LONG x;
  LONG y;
};
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
struct SIZE {
  LONG cx;
  LONG cy;
};
using LPPOINT = POINT*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;
using LPSIZE = SIZE*;

struct SECURITY_ATTRIBUTES;  // accepted and ignored where the platform takes one
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
