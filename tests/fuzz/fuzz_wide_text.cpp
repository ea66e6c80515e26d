// UTF-16 from outside (the clipboard, the editors) into UTF-8, lone surrogates included: any
// units convert in bounds into valid UTF-8, in which every well-formed pair is kept and every
// lone surrogate stands as U+FFFD; the settings file's cut conversion stays within its buffer
// and at a character boundary.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <pda.h>

#include "utils/text_convert.h"

namespace {

bool High(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool Low(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// The input with every lone surrogate replaced by U+FFFD.
std::vector<WCHAR> Mended(const std::vector<WCHAR>& text) {
  std::vector<WCHAR> out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (High(text[i]) && i + 1 < text.size() && Low(text[i + 1])) {
      out.push_back(text[i]);
      out.push_back(text[++i]);
    } else {
      out.push_back(High(text[i]) || Low(text[i]) ? u'\uFFFD' : text[i]);
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  std::vector<WCHAR> text(size / 2);
  std::memcpy(text.data(), data, text.size() * 2);
  const int units = static_cast<int>(text.size());

  const int narrow = WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
  if (narrow <= 0) std::abort();
  std::vector<char> utf8(static_cast<std::size_t>(narrow) + 1, '\x7F');
  if (WideCharToMultiByte(CP_UTF8, 0, text.data(), units, utf8.data(), narrow, nullptr, nullptr) !=
      narrow)
    std::abort();
  if (utf8[static_cast<std::size_t>(narrow)] != '\x7F') std::abort();  // wrote past its count

  // Valid UTF-8 that reads back as the input, lone surrogates mended.
  std::vector<WCHAR> back(text.size() + 1);
  const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), narrow,
                                       back.data(), static_cast<int>(back.size()));
  if (wide <= 0) std::abort();
  back.resize(static_cast<std::size_t>(wide));
  if (back != Mended(text)) std::abort();

  // The settings file's conversion: a NUL-terminated value cut into 256 bytes (and a small
  // buffer), always terminated, always whole characters.
  std::vector<WCHAR> terminated(text);
  for (WCHAR& c : terminated)
    if (c == 0) c = u' ';
  terminated.push_back(0);
  for (int cb : {256, 5}) {
    std::vector<char> cut(static_cast<std::size_t>(cb) + 1, '\x7F');
    const int written = WideToNarrowCut(terminated.data(), cut.data(), cb);
    if (written < 0 || written >= cb || cut[static_cast<std::size_t>(written)] != 0 ||
        cut[static_cast<std::size_t>(cb)] != '\x7F')
      std::abort();
    if (written > 0 &&
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, cut.data(), written, nullptr, 0) <= 0)
      std::abort();
  }
  return 0;
}
