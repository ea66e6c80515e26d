// A FreeType face read through a stream of our own (FT_OPEN_STREAM).
#include "gdi/font_face.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace pda::gdi {

// FreeType's stream input: `count` bytes from `offset`, or, with a count of 0, a seek, which
// answers 0 when the offset lies inside the file (or at its end) and anything else to fail it.
unsigned long FontFace::Read(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                             unsigned long count) {
  if (count == 0) return offset > stream->size ? 1 : 0;
  if (offset >= stream->size) return 0;
  if (count > stream->size - offset) count = stream->size - offset;
  const int fd = static_cast<int>(stream->descriptor.value);
  unsigned long done = 0;
  while (done < count) {
    const ssize_t got = ::pread(fd, buffer + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // an error or a file cut short since it was opened: FreeType sees less
    done += static_cast<unsigned long>(got);
  }
  return done;
}

std::unique_ptr<FontFace> FontFace::Open(FT_Library library, const std::string& path, int index) {
  if (!library) return nullptr;
  // Non-blocking, so that opening a FIFO nobody writes to returns at once; fstat then refuses it.
  UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file) return nullptr;
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return nullptr;

  std::unique_ptr<FontFace> face(new FontFace);
  face->file_ = std::move(file);
  face->stream_.size = static_cast<unsigned long>(status.st_size);
  face->stream_.descriptor.value = face->file_.get();
  face->stream_.read = &Read;
  // No close function: the descriptor is the face's own and closes after FT_Done_Face.
  FT_Open_Args args{};
  args.flags = FT_OPEN_STREAM;
  args.stream = &face->stream_;
  FT_Face raw = nullptr;
  if (FT_Open_Face(library, &args, index, &raw) != 0) return nullptr;
  face->face_.reset(raw);
  return face;
}

}  // namespace pda::gdi
