// Face matching through fontconfig.
#include "gdi/font_match.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <utility>

namespace pda::gdi {
namespace {

struct PatternDestroy {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDestroy>;

using Key = std::tuple<std::string, int, bool>;

struct Matcher {
  std::mutex mutex;
  FcConfig* config = nullptr;  // fontconfig's own, loaded once
  std::map<Key, std::optional<FontFile>> cache;
};

Matcher& TheMatcher() {
  // Never destroyed: fonts may be asked for until the very end of the process.
  static Matcher* const matcher = [] {
    auto* m = new Matcher;
    m->config = FcInitLoadConfigAndFonts();  // our own configuration, kept for good
    return m;
  }();
  return *matcher;
}

// Faces the handheld's programs ask for that Linux systems rarely have, each with a free face of
// close widths to try before the system's default: text laid out for the device's face then fits
// where it was meant to.
constexpr std::pair<const char*, const char*> kStandIns[] = {
    {"Tahoma", "Liberation Sans"},
};

std::optional<FontFile> Lookup(FcConfig* config, const std::string& family, int weight,
                               bool italic) {
  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return std::nullopt;
  FcPatternAddString(pattern.get(), FC_FAMILY,
                     reinterpret_cast<const FcChar8*>(family.empty() ? "sans-serif"
                                                                     : family.c_str()));
  for (const auto& [face, standIn] : kStandIns)
    if (family == face)
      FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(standIn));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight <= 0 ? 400 : weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());

  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(config, pattern.get(), &result));
  if (!match) return std::nullopt;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file)
    return std::nullopt;

  FontFile found;
  found.path = reinterpret_cast<const char*>(file);
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &found.index);
  FcBool embolden = FcFalse;
  if (FcPatternGetBool(match.get(), FC_EMBOLDEN, 0, &embolden) == FcResultMatch)
    found.embolden = embolden != FcFalse;
  int slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant);
  found.oblique = italic && slant == FC_SLANT_ROMAN;
  return found;
}

}  // namespace

std::optional<FontFile> MatchFont(const std::string& family_utf8, int weight, bool italic) {
  Matcher& matcher = TheMatcher();
  std::lock_guard lock(matcher.mutex);
  if (!matcher.config) return std::nullopt;
  const Key key{family_utf8, weight, italic};
  if (auto it = matcher.cache.find(key); it != matcher.cache.end()) return it->second;
  std::optional<FontFile> found = Lookup(matcher.config, family_utf8, weight, italic);
  matcher.cache.emplace(key, found);
  return found;
}

}  // namespace pda::gdi

// fontconfig keeps its loaded configuration reachable only through offset-encoded pointers,
// which LeakSanitizer cannot follow; FcFini would free it, but the configuration must stay
// usable until the process ends. This lives here so that it is linked into exactly the
// programs that load fontconfig.
#if defined(__SANITIZE_ADDRESS__)
#define PDA_GDI_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PDA_GDI_LSAN 1
#endif
#endif
#ifdef PDA_GDI_LSAN
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
