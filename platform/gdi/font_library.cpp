// FreeType faces and glyph caches behind FontInstance.
//
// Sections: FreeType handles | metrics | faces | glyphs (own, fallback, missing) | OpenFont
#include "gdi/font_library.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>

#include "gdi/font_face.h"
#include "gdi/font_match.h"
#include "gdi/text_encoding.h"

namespace pda::gdi {
namespace {

// ---- FreeType handles ----------------------------------------------------------------------
// One lock for FreeType: the library and its faces are not safe to use from two threads.
// Lock order: this lock, then the face matcher's (never the other way round).
std::mutex& FreeTypeLock() {
  static std::mutex* const lock = new std::mutex;
  return *lock;
}

int RoundUp26_6(FT_Pos v) { return static_cast<int>((v + 63) >> 6); }
int Round26_6(FT_Pos v) { return static_cast<int>((v + 32) >> 6); }

// ---- metrics -------------------------------------------------------------------------------
// Cell metrics as Windows takes them: the OS/2 table's win ascent and descent (the hhea values
// when it is missing), scaled and rounded up.
FontMetrics MeasureFace(FT_Face face, int em) {
  FontMetrics m;
  m.em = em;
  const double scale = static_cast<double>(em) / face->units_per_EM;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  double ascent_units = face->ascender;
  double descent_units = -face->descender;
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascent_units = os2->usWinAscent;
    descent_units = os2->usWinDescent;
  }
  m.ascent = static_cast<int>(std::ceil(ascent_units * scale - 1e-6));
  m.descent = static_cast<int>(std::ceil(descent_units * scale - 1e-6));
  const double hhea_span = face->ascender - face->descender;
  const double gap = face->height - hhea_span - ((ascent_units + descent_units) - hhea_span);
  m.external_leading = std::max(0, static_cast<int>(std::lround(gap * scale)));
  m.max_width = RoundUp26_6(face->size->metrics.max_advance);
  if (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
    m.average_width = static_cast<int>(std::lround(os2->xAvgCharWidth * scale));
  m.underline_thickness = std::max(1, static_cast<int>(std::lround(face->underline_thickness * scale)));
  // underline_position is the centre of the line, negative below the baseline.
  m.underline_offset = std::max(
      1, static_cast<int>(std::lround(-face->underline_position * scale - m.underline_thickness / 2.0)));
  m.underline_offset = std::min(m.underline_offset, std::max(1, m.descent - m.underline_thickness));
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutPosition > 0)
    m.strikeout_offset = static_cast<int>(std::lround(os2->yStrikeoutPosition * scale));
  else
    m.strikeout_offset = m.ascent / 3;
  return m;
}

// ---- faces ---------------------------------------------------------------------------------
// What a font was asked for: the matched file's fallbacks are fontconfig's order for this.
struct Request {
  std::string family;
  int weight = 0;
  bool italic = false;
};

using InstanceKey = std::tuple<std::string, int, int, bool, bool, bool, std::string, int, bool>;

// A file's face at one size. Which size a face draws at is the face's own state, so every
// measure or load goes through Use, which makes this size the active one; the FreeType lock held
// around it keeps another size from being made active in between.
struct SizedFace {
  FT_Face face = nullptr;
  FT_Size size = nullptr;  // owned by the face
  FT_Face Use() const {
    FT_Activate_Size(size);
    return face;
  }
};

struct Library {
  FT_Library freetype = nullptr;
  // One face per (file, index), shared by every size drawn from it: its tables and glyph loader
  // are most of what a face costs, a size object only its scaled metrics and hinting state.
  std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>> files;
  // One size per (file, index, em): shared by every font that draws from that file at that size,
  // as its own face or as a fallback.
  std::map<std::tuple<std::string, int, int>, FT_Size> sizes;
  std::map<InstanceKey, std::shared_ptr<FontInstance>> instances;
};

Library& TheLibrary() {
  // Never destroyed: faces stay valid until the process ends.
  static Library* const library = [] {
    auto* l = new Library;
    if (FT_Init_FreeType(&l->freetype) != 0) l->freetype = nullptr;
    return l;
  }();
  return *library;
}

// The two face getters are called with the FreeType lock held; nothing when the file cannot be
// opened, is not scalable or cannot be set to the size.
FT_Face FileFace(Library& library, const FontFile& file) {
  auto key = std::make_pair(file.path, file.index);
  if (auto known = library.files.find(key); known != library.files.end())
    return known->second->get();
  std::unique_ptr<FontFace> opened = FontFace::Open(library.freetype, file.path, file.index);
  if (!opened || !FT_IS_SCALABLE(opened->get())) return nullptr;
  return library.files.emplace(key, std::move(opened)).first->second->get();
}

std::optional<SizedFace> FaceAtSize(Library& library, const FontFile& file, int em) {
  FT_Face face = FileFace(library, file);
  if (!face) return std::nullopt;
  auto key = std::make_tuple(file.path, file.index, em);
  if (auto known = library.sizes.find(key); known != library.sizes.end())
    return SizedFace{face, known->second};
  FT_Size size = nullptr;
  if (FT_New_Size(face, &size) != 0) return std::nullopt;
  FT_Activate_Size(size);
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) {
    FT_Done_Size(size);
    return std::nullopt;
  }
  library.sizes.emplace(key, size);
  return SizedFace{face, size};
}

// ---- glyphs --------------------------------------------------------------------------------
// Glyph `index` of a sized face as coverage; nothing when FreeType cannot load it. Called with
// the FreeType lock held.
std::optional<GlyphImage> RenderGlyph(FT_Face face, FT_UInt index, bool embolden, bool oblique,
                                      bool mono) {
  GlyphImage image;
  const FT_Int32 flags = mono ? (FT_LOAD_TARGET_MONO) : (FT_LOAD_TARGET_LIGHT);
  if (FT_Load_Glyph(face, index, flags) != 0) return std::nullopt;
  FT_GlyphSlot slot = face->glyph;
  if (oblique) FT_GlyphSlot_Oblique(slot);
  if (embolden) FT_GlyphSlot_Embolden(slot);
  image.advance = Round26_6(slot->advance.x);
  if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
    return image;
  const FT_Bitmap& bitmap = slot->bitmap;
  image.left = slot->bitmap_left;
  image.top = slot->bitmap_top;
  image.width = static_cast<int>(bitmap.width);
  image.height = static_cast<int>(bitmap.rows);
  image.stride = (image.width + 3) & ~3;
  image.coverage.assign(static_cast<std::size_t>(image.stride) * image.height, 0);
  for (int y = 0; y < image.height; ++y) {
    const unsigned char* source = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
    std::uint8_t* target = image.coverage.data() + static_cast<std::ptrdiff_t>(y) * image.stride;
    for (int x = 0; x < image.width; ++x) {
      if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
        target[x] = (source[x >> 3] & (0x80 >> (x & 7))) ? 0xFF : 0;
      else
        target[x] = source[x];
    }
  }
  return image;
}

// A character no font on the system has: the outline of a box standing on the baseline, three
// quarters of the em high and half of it wide, with a bearing each side, so that it is seen and
// measured as one character.
GlyphImage MissingGlyph(const FontMetrics& m) {
  const int em = std::max(m.em, 4);
  const int stroke = std::max(1, em / 16);
  const int bearing = std::max(1, em / 10);
  GlyphImage box;
  box.width = std::max(2 * stroke + 1, em / 2);
  box.height = std::max(2 * stroke + 1, std::min(em * 3 / 4, m.ascent));
  box.left = bearing;
  box.top = box.height;
  box.advance = box.width + 2 * bearing;
  box.stride = (box.width + 3) & ~3;
  box.coverage.assign(static_cast<std::size_t>(box.stride) * box.height, 0);
  for (int y = 0; y < box.height; ++y)
    for (int x = 0; x < box.width; ++x)
      if (x < stroke || x >= box.width - stroke || y < stroke || y >= box.height - stroke)
        box.coverage[static_cast<std::size_t>(y) * box.stride + x] = 0xFF;
  return box;
}

// Control characters are not looked for elsewhere: the font's own answer (usually nothing drawn)
// is kept for them, as before fallback existed.
bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

// A font at one size: its own face first, then, character by character, the face fontconfig
// puts first among those that have the character, at the same em and on the same baseline; the
// line metrics stay the font's own. Whatever a character resolves to is rendered once and kept,
// so measuring and drawing see the same glyph and the common case is one map lookup.
class FreeTypeFont final : public FontInstance {
 public:
  FreeTypeFont(SizedFace face, int em, bool embolden, bool oblique, bool mono, Request request)
      : face_(face), embolden_(embolden), oblique_(oblique), mono_(mono),
        request_(std::move(request)) {
    metrics_ = MeasureFace(face_.Use(), em);
    // Called with the FreeType lock held (by OpenFont), so render directly.
    if (metrics_.average_width == 0) metrics_.average_width = RenderOwn(U'x').advance;
  }

  const FontMetrics& metrics() const override { return metrics_; }

  const GlyphImage& Glyph(char32_t code_point) override {
    std::lock_guard lock(FreeTypeLock());
    auto it = glyphs_.find(code_point);
    if (it == glyphs_.end()) it = glyphs_.emplace(code_point, Resolve(code_point)).first;
    return it->second;
  }

  int Advance(char32_t code_point) override { return Glyph(code_point).advance; }

 private:
  GlyphImage RenderOwn(char32_t code_point) {
    FT_Face face = face_.Use();
    return RenderGlyph(face, FT_Get_Char_Index(face, code_point), embolden_, oblique_, mono_)
        .value_or(GlyphImage{});
  }

  GlyphImage Resolve(char32_t code_point) {
    if (IsControl(code_point) || FT_Get_Char_Index(face_.face, code_point) != 0)
      return RenderOwn(code_point);
    const std::optional<FontFile> file =
        MatchFallback(request_.family, request_.weight, request_.italic, code_point);
    if (file) {
      if (const std::optional<SizedFace> sized = FaceAtSize(TheLibrary(), *file, metrics_.em)) {
        FT_Face other = sized->Use();
        // fontconfig's character sets and the face's own map can differ; trust the face.
        if (const FT_UInt index = FT_Get_Char_Index(other, code_point); index != 0)
          if (auto image = RenderGlyph(other, index, file->embolden, file->oblique, mono_))
            return *std::move(image);
      }
    }
    return MissingGlyph(metrics_);
  }

  SizedFace face_;  // owned by the library
  bool embolden_;
  bool oblique_;
  bool mono_;
  Request request_;
  FontMetrics metrics_;
  std::unordered_map<char32_t, GlyphImage> glyphs_;
};

// Pixels per em for a LOGFONTW height: negative is the em itself, positive the whole cell.
int EmForHeight(FT_Face face, LONG height, int dpi) {
  if (height < 0) return static_cast<int>(std::min<LONG>(-height, 2048));
  if (height == 0) return std::max(1, (9 * dpi + 36) / 72);
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  double cell = face->ascender - face->descender;
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
    cell = os2->usWinAscent + os2->usWinDescent;
  if (cell <= 0) cell = face->units_per_EM;
  const double em = std::min<double>(height, 2048) * face->units_per_EM / cell;
  return std::max(1, static_cast<int>(std::floor(em)));
}

}  // namespace

std::shared_ptr<FontInstance> OpenFont(const LOGFONTW& request, int dpi) {
  std::u16string face_name;
  for (const WCHAR* c = request.lfFaceName; c < request.lfFaceName + LF_FACESIZE && *c; ++c)
    face_name.push_back(*c);
  Request asked{Utf8FromUtf16(face_name), static_cast<int>(request.lfWeight),
                request.lfItalic != 0};
  const std::optional<FontFile> file = MatchFont(asked.family, asked.weight, asked.italic);
  if (!file) return nullptr;
  const bool mono = request.lfQuality == NONANTIALIASED_QUALITY;

  Library& library = TheLibrary();
  std::lock_guard lock(FreeTypeLock());
  // A cell height becomes an em from the face's unscaled tables, whatever size is active.
  FT_Face file_face = FileFace(library, *file);
  if (!file_face) return nullptr;
  const int em = EmForHeight(file_face, request.lfHeight, dpi);

  const InstanceKey key{file->path,   file->index,  em,          file->embolden, file->oblique,
                        mono,         asked.family, asked.weight, asked.italic};
  if (auto it = library.instances.find(key); it != library.instances.end()) return it->second;
  const std::optional<SizedFace> face = FaceAtSize(library, *file, em);
  if (!face) return nullptr;
  auto instance = std::make_shared<FreeTypeFont>(*face, em, file->embolden, file->oblique, mono,
                                                 std::move(asked));
  library.instances.emplace(key, instance);
  return instance;
}

}  // namespace pda::gdi
