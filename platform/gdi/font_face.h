// One FreeType face that reads its font file with pread on a descriptor of its own.
//
// FreeType's own way in (FT_New_Face) maps the whole file, and every page fault on that map
// brings in the pages around it as well, so a face that draws a few dozen glyphs ends up with
// most of its file resident. Read through a stream, FreeType copies in only the tables and glyph
// outlines it uses, and the rest of the file stays on disk.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>

#include "kernel/unique_fd.h"

namespace pda::gdi {

class FontFace {
 public:
  // Face `index` of the file at `path`, or null when the path is not a regular file that can be
  // read or FreeType does not take it. A FIFO, a device or a folder is refused before anything
  // is read from it, so a font path never holds the caller up. Called, and the result destroyed,
  // with the FreeType lock held.
  static std::unique_ptr<FontFace> Open(FT_Library library, const std::string& path, int index);

  // FreeType keeps the stream's address: the face neither moves nor copies.
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  FT_Face get() const { return face_.get(); }

 private:
  struct FaceDone {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
  };
  using FacePtr = std::unique_ptr<FT_FaceRec_, FaceDone>;

  FontFace() = default;
  static unsigned long Read(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                            unsigned long count);

  // Destroyed in reverse order: the face is done with before its stream and descriptor go.
  UniqueFd file_;
  FT_StreamRec stream_{};
  FacePtr face_;
};

}  // namespace pda::gdi
