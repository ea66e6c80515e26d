// MultiByteToWideChar and WideCharToMultiByte. The system code page is UTF-8, so CP_ACP and
// CP_UTF8 are the same conversion; they differ only in what stands for an unpaired surrogate
// towards multibyte text ('?' or the caller's default character for CP_ACP, U+FFFD for UTF-8).
#include <algorithm>
#include <cstring>

#include "kernel/utf.h"
#include "pda/kernel.h"

namespace {

bool KnownCodePage(UINT codePage) { return codePage == CP_ACP || codePage == CP_UTF8; }

// Copies a converted text (with its terminator when the input had one) into the caller's
// buffer, or answers the size needed.
template <class Char>
int Deliver(const std::basic_string<Char>& text, Char* destination, int destinationUnits) {
  if (text.size() > static_cast<std::size_t>(INT32_MAX)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const int units = static_cast<int>(text.size());
  if (destinationUnits == 0) return units;
  if (units > destinationUnits) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy(text.begin(), text.end(), destination);
  return units;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceBytes,
                        LPWSTR destination, int destinationChars) {
  if (!KnownCodePage(codePage) || source == nullptr || sourceBytes == 0 || sourceBytes < -1 ||
      destinationChars < 0 || (destinationChars > 0 && destination == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // With -1 the terminator is part of the input, so it is converted and counted too.
  const std::size_t bytes =
      sourceBytes == -1 ? std::strlen(source) + 1 : static_cast<std::size_t>(sourceBytes);
  bool invalid = false;
  const std::u16string text = pda::Utf8ToUtf16({source, bytes}, &invalid);
  if (invalid && (flags & MB_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  return Deliver(text, destination, destinationChars);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceChars,
                        LPSTR destination, int destinationBytes, LPCSTR defaultChar,
                        BOOL* usedDefaultChar) {
  // As on the device, UTF-8 takes no default character.
  const bool defaultsGiven = defaultChar != nullptr || usedDefaultChar != nullptr;
  if (!KnownCodePage(codePage) || source == nullptr || sourceChars == 0 || sourceChars < -1 ||
      destinationBytes < 0 || (destinationBytes > 0 && destination == nullptr) ||
      (codePage == CP_UTF8 && defaultsGiven)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::size_t chars = sourceChars == -1
                                ? static_cast<std::size_t>(lstrlenW(source)) + 1
                                : static_cast<std::size_t>(sourceChars);
  std::string_view replacement = "\xEF\xBF\xBD";
  if (codePage == CP_ACP) replacement = defaultChar ? std::string_view(defaultChar, 1) : "?";
  bool invalid = false;
  const std::string text = pda::Utf16ToUtf8({source, chars}, &invalid, replacement);
  if (invalid && (flags & WC_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  if (usedDefaultChar) *usedDefaultChar = invalid ? TRUE : FALSE;
  return Deliver(text, destination, destinationBytes);
}
