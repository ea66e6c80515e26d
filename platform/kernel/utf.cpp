// UTF-8 <-> UTF-16, by hand: small, total, and with the replacement rules the code pages need.
#include "kernel/utf.h"

#include <cstdint>

namespace pda {
namespace {

void AppendUtf16(std::u16string& out, std::uint32_t codePoint) {
  if (codePoint < 0x10000) {
    out.push_back(static_cast<char16_t>(codePoint));
  } else {
    codePoint -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
  auto put = [&out](std::uint32_t byte) { out.push_back(static_cast<char>(byte)); };
  if (codePoint < 0x80) {
    put(codePoint);
  } else if (codePoint < 0x800) {
    put(0xC0 | (codePoint >> 6));
    put(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    put(0xE0 | (codePoint >> 12));
    put(0x80 | ((codePoint >> 6) & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  } else {
    put(0xF0 | (codePoint >> 18));
    put(0x80 | ((codePoint >> 12) & 0x3F));
    put(0x80 | ((codePoint >> 6) & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  }
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::u16string Utf8ToUtf16(std::string_view bytes, bool* invalid) {
  std::u16string out;
  out.reserve(bytes.size());
  bool bad = false;
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    // The well-formed sequences: the lead byte fixes the length and the range allowed for the
    // first continuation byte (which rules out overlong forms, surrogates and > U+10FFFF).
    int need;
    std::uint32_t codePoint;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      need = 1;
      codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      need = 2;
      codePoint = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      need = 3;
      codePoint = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      out.push_back(kReplacementCharacter);
      bad = true;
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    int got = 0;
    while (got < need && j < n) {
      const auto c = static_cast<unsigned char>(bytes[j]);
      if (c < low || c > high) break;
      codePoint = (codePoint << 6) | (c & 0x3F);
      low = 0x80;
      high = 0xBF;
      ++j;
      ++got;
    }
    if (got < need) {
      // One replacement for the lead and the good continuation bytes; go on at the bad byte.
      out.push_back(kReplacementCharacter);
      bad = true;
    } else {
      AppendUtf16(out, codePoint);
    }
    i = j;
  }
  if (invalid) *invalid = bad;
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text, bool* invalid, std::string_view replacement) {
  std::string out;
  out.reserve(text.size());
  bool bad = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((std::uint32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      out.append(replacement);
      bad = true;
    } else {
      AppendUtf8(out, c);
    }
  }
  if (invalid) *invalid = bad;
  return out;
}

}  // namespace pda
