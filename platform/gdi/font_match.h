// Face matching through fontconfig: a face name, weight and slant to the file that best stands
// in for it on this system, and whether bold or italic must be synthesised; and, for a character
// that file lacks, the file that draws it instead. Results are cached.
#pragma once

#include <optional>
#include <string>

namespace pda::gdi {

struct FontFile {
  std::string path;
  int index = 0;         // face index inside the file
  bool embolden = false;  // the file is lighter than asked for
  bool oblique = false;   // the file is upright but italic was asked for
};

// weight as in LOGFONTW (100..900, 0 = normal). Nothing when fontconfig finds no font at all.
std::optional<FontFile> MatchFont(const std::string& family_utf8, int weight, bool italic);

// The file that draws one character for the same request when the matched file lacks it: the
// first font in fontconfig's sorted list for the request whose character set has it. Nothing
// when no font on the system has it. The sorted list is made once per request and each answer
// is kept, so asking again costs a map lookup.
std::optional<FontFile> MatchFallback(const std::string& family_utf8, int weight, bool italic,
                                      char32_t code_point);

}  // namespace pda::gdi
