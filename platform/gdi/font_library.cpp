// FreeType faces and glyph caches behind FontInstance.
//
// Sections: FreeType handles | metrics | glyphs | the library (OpenFont)
#include "gdi/font_library.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "gdi/font_match.h"
#include "gdi/text_encoding.h"

namespace pda::gdi {
namespace {

// ---- FreeType handles ----------------------------------------------------------------------
struct FaceDone {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceDone>;

// One lock for FreeType: the library and its faces are not safe to use from two threads.
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

// ---- glyphs --------------------------------------------------------------------------------
class FreeTypeFont final : public FontInstance {
 public:
  FreeTypeFont(FacePtr face, int em, bool embolden, bool oblique, bool mono)
      : face_(std::move(face)), embolden_(embolden), oblique_(oblique), mono_(mono) {
    metrics_ = MeasureFace(face_.get(), em);
    // Called with the FreeType lock held (by OpenFont), so render directly.
    if (metrics_.average_width == 0) metrics_.average_width = Render(U'x').advance;
  }

  const FontMetrics& metrics() const override { return metrics_; }

  const GlyphImage& Glyph(char32_t code_point) override {
    std::lock_guard lock(FreeTypeLock());
    auto it = glyphs_.find(code_point);
    if (it == glyphs_.end()) it = glyphs_.emplace(code_point, Render(code_point)).first;
    return it->second;
  }

  int Advance(char32_t code_point) override { return Glyph(code_point).advance; }

 private:
  GlyphImage Render(char32_t code_point) {
    GlyphImage image;
    FT_Face face = face_.get();
    const FT_UInt index = FT_Get_Char_Index(face, code_point);
    const FT_Int32 flags = mono_ ? (FT_LOAD_TARGET_MONO) : (FT_LOAD_TARGET_LIGHT);
    if (FT_Load_Glyph(face, index, flags) != 0) return image;
    FT_GlyphSlot slot = face->glyph;
    if (oblique_) FT_GlyphSlot_Oblique(slot);
    if (embolden_) FT_GlyphSlot_Embolden(slot);
    image.advance = Round26_6(slot->advance.x);
    if (FT_Render_Glyph(slot, mono_ ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
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

  FacePtr face_;
  bool embolden_;
  bool oblique_;
  bool mono_;
  FontMetrics metrics_;
  std::unordered_map<char32_t, GlyphImage> glyphs_;
};

// ---- the library ---------------------------------------------------------------------------
using InstanceKey = std::tuple<std::string, int, int, bool, bool, bool>;

struct Library {
  FT_Library freetype = nullptr;
  // Unsized faces, one per file, read only to turn a cell height into an em.
  std::map<std::pair<std::string, int>, FacePtr> files;
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
  const std::optional<FontFile> file =
      MatchFont(Utf8FromUtf16(face_name), request.lfWeight, request.lfItalic != 0);
  if (!file) return nullptr;
  const bool mono = request.lfQuality == NONANTIALIASED_QUALITY;

  Library& library = TheLibrary();
  std::lock_guard lock(FreeTypeLock());
  if (!library.freetype) return nullptr;
  auto file_key = std::make_pair(file->path, file->index);
  auto known = library.files.find(file_key);
  if (known == library.files.end()) {
    FT_Face raw = nullptr;
    if (FT_New_Face(library.freetype, file->path.c_str(), file->index, &raw) != 0) return nullptr;
    FacePtr opened(raw);
    if (!FT_IS_SCALABLE(raw)) return nullptr;
    known = library.files.emplace(file_key, std::move(opened)).first;
  }
  const int em = EmForHeight(known->second.get(), request.lfHeight, dpi);

  const InstanceKey key{file->path, file->index, em, file->embolden, file->oblique, mono};
  if (auto it = library.instances.find(key); it != library.instances.end()) return it->second;
  FT_Face raw = nullptr;
  if (FT_New_Face(library.freetype, file->path.c_str(), file->index, &raw) != 0) return nullptr;
  FacePtr face(raw);
  if (FT_Set_Pixel_Sizes(raw, 0, static_cast<FT_UInt>(em)) != 0) return nullptr;
  auto instance = std::make_shared<FreeTypeFont>(std::move(face), em, file->embolden,
                                                 file->oblique, mono);
  library.instances.emplace(key, instance);
  return instance;
}

}  // namespace pda::gdi
