// Face matching through fontconfig.
//
// Sections: caches | the request's pattern | fallbacks | the calls
#include "gdi/font_match.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pda::gdi {
namespace {

// ---- caches ---------------------------------------------------------------------------------
struct PatternDestroy {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDestroy>;

struct FontSetDestroy {
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDestroy>;

using Key = std::tuple<std::string, int, bool>;

// fontconfig's order of fonts for one request, each with its character set (owned by the set),
// and the answers given so far.
struct FallbackList {
  PatternPtr pattern;
  FontSetPtr sorted;
  std::vector<std::pair<FcPattern*, FcCharSet*>> covers;
  std::unordered_map<char32_t, std::optional<FontFile>> answers;
};

struct Matcher {
  std::mutex mutex;
  FcConfig* config = nullptr;  // fontconfig's own, loaded once
  std::map<Key, std::optional<FontFile>> cache;
  std::map<Key, FallbackList> fallbacks;
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

// ---- the request's pattern ------------------------------------------------------------------
// Faces the handheld's programs ask for that Linux systems rarely have, each with a free face of
// close widths to try before the system's default: text laid out for the device's face then fits
// where it was meant to.
constexpr std::pair<const char*, const char*> kStandIns[] = {
    {"Tahoma", "Liberation Sans"},
};

// The request as fontconfig sees it, with the configuration's and the default substitutions
// applied: the same pattern chooses the face and orders the fallbacks.
PatternPtr RequestPattern(FcConfig* config, const std::string& family, int weight, bool italic) {
  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return nullptr;
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
  return pattern;
}

// The file of a rendered match (FcFontMatch or FcFontRenderPrepare), with its synthesis.
std::optional<FontFile> FileOf(const FcPattern* match, bool italic) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch || !file) return std::nullopt;
  FontFile found;
  found.path = reinterpret_cast<const char*>(file);
  FcPatternGetInteger(match, FC_INDEX, 0, &found.index);
  FcBool embolden = FcFalse;
  if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch)
    found.embolden = embolden != FcFalse;
  int slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(match, FC_SLANT, 0, &slant);
  found.oblique = italic && slant == FC_SLANT_ROMAN;
  return found;
}

std::optional<FontFile> Lookup(FcConfig* config, const std::string& family, int weight,
                               bool italic) {
  PatternPtr pattern = RequestPattern(config, family, weight, italic);
  if (!pattern) return std::nullopt;
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(config, pattern.get(), &result));
  if (!match) return std::nullopt;
  return FileOf(match.get(), italic);
}

// ---- fallbacks ------------------------------------------------------------------------------
FallbackList SortFallbacks(FcConfig* config, const std::string& family, int weight, bool italic) {
  FallbackList list;
  list.pattern = RequestPattern(config, family, weight, italic);
  if (!list.pattern) return list;
  FcResult result = FcResultNoMatch;
  // Trimmed: a font that adds no character to those before it is never the answer.
  list.sorted.reset(FcFontSort(config, list.pattern.get(), FcTrue, nullptr, &result));
  if (!list.sorted) return list;
  for (int i = 0; i < list.sorted->nfont; ++i) {
    FcCharSet* characters = nullptr;
    if (FcPatternGetCharSet(list.sorted->fonts[i], FC_CHARSET, 0, &characters) == FcResultMatch)
      list.covers.push_back({list.sorted->fonts[i], characters});
  }
  return list;
}

std::optional<FontFile> FindFallback(FcConfig* config, const FallbackList& list, bool italic,
                                     char32_t code_point) {
  for (const auto& [font, characters] : list.covers) {
    if (!FcCharSetHasChar(characters, code_point)) continue;
    PatternPtr prepared(FcFontRenderPrepare(config, list.pattern.get(), font));
    if (prepared) return FileOf(prepared.get(), italic);
  }
  return std::nullopt;
}

}  // namespace

// ---- the calls ------------------------------------------------------------------------------
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

std::optional<FontFile> MatchFallback(const std::string& family_utf8, int weight, bool italic,
                                      char32_t code_point) {
  Matcher& matcher = TheMatcher();
  std::lock_guard lock(matcher.mutex);
  if (!matcher.config) return std::nullopt;
  const Key key{family_utf8, weight, italic};
  auto list = matcher.fallbacks.find(key);
  if (list == matcher.fallbacks.end())
    list = matcher.fallbacks
               .emplace(key, SortFallbacks(matcher.config, family_utf8, weight, italic))
               .first;
  auto& answers = list->second.answers;
  if (auto it = answers.find(code_point); it != answers.end()) return it->second;
  std::optional<FontFile> found = FindFallback(matcher.config, list->second, italic, code_point);
  answers.emplace(code_point, found);
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
