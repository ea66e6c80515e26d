// The code-page conversions take outside text (the desktop clipboard, settings files, NMEA
// names): any bytes must convert without reading or writing out of bounds, and what comes out
// must convert back and forth unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <pda.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto* bytes = reinterpret_cast<const char*>(data);
  const int length = static_cast<int>(size);
  const int wide = MultiByteToWideChar(CP_UTF8, 0, bytes, length, nullptr, 0);
  if (wide <= 0) return 0;
  std::vector<WCHAR> text(static_cast<std::size_t>(wide));
  if (MultiByteToWideChar(CP_UTF8, 0, bytes, length, text.data(), wide) != wide) std::abort();

  // Back to UTF-8: the replacement characters of bad input are valid text now.
  const int narrow = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  if (narrow <= 0) std::abort();
  std::vector<char> utf8(static_cast<std::size_t>(narrow));
  if (WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, utf8.data(), narrow, nullptr, nullptr) !=
      narrow)
    std::abort();

  // ...and once more to UTF-16, which must give the same text.
  std::vector<WCHAR> again(static_cast<std::size_t>(wide) + 1);
  const int back = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), narrow,
                                       again.data(), wide + 1);
  if (back != wide) std::abort();
  for (int i = 0; i < wide; ++i)
    if (again[static_cast<std::size_t>(i)] != text[static_cast<std::size_t>(i)]) std::abort();

  // A destination one unit too small is refused, never overrun.
  if (wide > 1 && MultiByteToWideChar(CP_UTF8, 0, bytes, length, text.data(), wide - 1) != 0)
    std::abort();
  return 0;
}
