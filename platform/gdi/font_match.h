// Face matching through fontconfig: a face name, weight and slant to the file that best stands
// in for it on this system, and whether bold or italic must be synthesised. Results are cached.
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

}  // namespace pda::gdi
