// UTF-8 and UTF-16 conversion for the platform's own use (code pages, formatting, paths).
//
// Both directions are total: malformed input is replaced, never read past its end. UTF-8 is
// decoded as the Unicode standard recommends: each maximal ill-formed subpart (a bad lead byte,
// an overlong form, an encoded surrogate, a code point above U+10FFFF, a truncated sequence)
// becomes one U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace pda {

inline constexpr char16_t kReplacementCharacter = u'\uFFFD';

// Sets *invalid (when given) to whether anything had to be replaced.
std::u16string Utf8ToUtf16(std::string_view bytes, bool* invalid = nullptr);

// Each unpaired surrogate becomes `replacement` (UTF-8 bytes, U+FFFD by default).
std::string Utf16ToUtf8(std::u16string_view text, bool* invalid = nullptr,
                        std::string_view replacement = "\xEF\xBF\xBD");

}  // namespace pda
