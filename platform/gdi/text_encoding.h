// UTF-16 text as the platform passes it, turned into code points (for drawing) and UTF-8
// (for fontconfig). An unpaired surrogate becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pda::gdi {

// One code point per character, with the index of its first UTF-16 unit.
struct CodePoint {
  char32_t value;
  int unit;
};
std::vector<CodePoint> DecodeUtf16(std::u16string_view text);

std::string Utf8FromUtf16(std::u16string_view text);

}  // namespace pda::gdi
