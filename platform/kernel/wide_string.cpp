// Wide strings: the lstr* helpers and the counted-buffer (StringCch*) calls.
#include <algorithm>
#include <cstdarg>
#include <string>

#include "kernel/wide_format.h"
#include "pda/kernel.h"

namespace {

constexpr std::size_t kStrsafeMaxChars = 2147483647;
constexpr std::size_t kWsprintfMaxChars = 1024;

char16_t FoldCase(char16_t c) {
  // ASCII and the Latin-1 letters, which is what the program's own text uses.
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  return c;
}

int Compare(LPCWSTR a, LPCWSTR b, bool ignoreCase) {
  if (a == nullptr || b == nullptr) return a == b ? 0 : (a == nullptr ? -1 : 1);
  for (;; ++a, ++b) {
    const char16_t x = ignoreCase ? FoldCase(*a) : *a;
    const char16_t y = ignoreCase ? FoldCase(*b) : *b;
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
  }
}

// Copies the text cut to the buffer, always terminated. True when nothing was cut.
bool CopyCut(std::u16string_view text, LPWSTR destination, std::size_t destinationChars) {
  const std::size_t n = std::min(text.size(), destinationChars - 1);
  std::copy_n(text.begin(), n, destination);
  destination[n] = u'\0';
  return n == text.size();
}

}  // namespace

int lstrlenW(LPCWSTR text) {
  if (text == nullptr) return 0;
  return static_cast<int>(std::char_traits<char16_t>::length(text));
}

LPWSTR lstrcpyW(LPWSTR destination, LPCWSTR source) {
  const int n = lstrlenW(source);
  std::copy_n(source, n + 1, destination);
  return destination;
}

LPWSTR lstrcpynW(LPWSTR destination, LPCWSTR source, int max) {
  if (destination == nullptr || max <= 0) return destination;
  int i = 0;
  for (; i < max - 1 && source && source[i] != 0; ++i) destination[i] = source[i];
  destination[i] = u'\0';
  return destination;
}

LPWSTR lstrcatW(LPWSTR destination, LPCWSTR source) {
  lstrcpyW(destination + lstrlenW(destination), source);
  return destination;
}

int lstrcmpW(LPCWSTR a, LPCWSTR b) { return Compare(a, b, false); }
int lstrcmpiW(LPCWSTR a, LPCWSTR b) { return Compare(a, b, true); }

HRESULT StringCchVPrintfW(LPWSTR destination, size_t destinationChars, LPCWSTR format,
                          va_list arguments) {
  if (destination == nullptr || destinationChars == 0 || destinationChars > kStrsafeMaxChars)
    return STRSAFE_E_INVALID_PARAMETER;
  if (format == nullptr) {
    destination[0] = u'\0';
    return STRSAFE_E_INVALID_PARAMETER;
  }
  va_list copy;
  va_copy(copy, arguments);
  const std::u16string text = pda::FormatWide(format, copy, destinationChars - 1);
  va_end(copy);
  return CopyCut(text, destination, destinationChars) ? S_OK : STRSAFE_E_INSUFFICIENT_BUFFER;
}

HRESULT StringCchPrintfW(LPWSTR destination, size_t destinationChars, LPCWSTR format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const HRESULT result = StringCchVPrintfW(destination, destinationChars, format, arguments);
  va_end(arguments);
  return result;
}

int wsprintfW(LPWSTR destination, LPCWSTR format, ...) {
  if (destination == nullptr || format == nullptr) return 0;
  va_list arguments;
  va_start(arguments, format);
  StringCchVPrintfW(destination, kWsprintfMaxChars, format, arguments);
  va_end(arguments);
  return lstrlenW(destination);
}

HRESULT StringCchCopyW(LPWSTR destination, size_t destinationChars, LPCWSTR source) {
  if (destination == nullptr || destinationChars == 0 || destinationChars > kStrsafeMaxChars)
    return STRSAFE_E_INVALID_PARAMETER;
  if (source == nullptr) {
    destination[0] = u'\0';
    return STRSAFE_E_INVALID_PARAMETER;
  }
  std::size_t n = 0;
  while (n < destinationChars && source[n] != 0) ++n;  // never reads more than can be copied
  return CopyCut({source, n}, destination, destinationChars) ? S_OK
                                                             : STRSAFE_E_INSUFFICIENT_BUFFER;
}

HRESULT StringCchLengthW(LPCWSTR text, size_t maxChars, size_t* length) {
  if (text == nullptr || maxChars == 0 || maxChars > kStrsafeMaxChars) {
    if (length) *length = 0;
    return STRSAFE_E_INVALID_PARAMETER;
  }
  std::size_t n = 0;
  while (n < maxChars && text[n] != 0) ++n;
  if (length) *length = n < maxChars ? n : 0;
  return n < maxChars ? S_OK : STRSAFE_E_INVALID_PARAMETER;
}
