// Opening host files (see host_open.h).
#include "storage/host_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "pda/storage.h"
#include "storage/host_errors.h"

namespace pda {
namespace {

bool ReadsExisting(int flags) {
  return (flags & O_ACCMODE) == O_RDONLY && !(flags & O_CREAT);
}

void ReportUnreadable(const std::string& path, const char* why) {
  std::fprintf(stderr, "storage: cannot read %s: %s\n", path.c_str(), why);
}

}  // namespace

int OpenHostFile(const std::string& path, const HostOpen& how, DWORD* error) {
  int flags = how.flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  if ((flags & O_CREAT) && (flags & O_EXCL)) flags |= O_NOFOLLOW;
  int fd;
  do fd = ::open(path.c_str(), flags, how.createMode);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    const int e = errno;
    if (e == ENOENT) {
      *error = NotFoundError(path);
    } else {
      *error = e == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(e, ERROR_ACCESS_DENIED);
      if (ReadsExisting(how.flags) && e != ENOTDIR) ReportUnreadable(path, std::strerror(e));
    }
    return -1;
  }
  auto refuse = [fd, error](DWORD value) {
    ::close(fd);
    *error = value;
    return -1;
  };
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int e = errno;
    if (ReadsExisting(how.flags)) ReportUnreadable(path, std::strerror(e));
    return refuse(ErrorFromErrno(e, ERROR_READ_FAULT));
  }
  if (!S_ISREG(info.st_mode)) {
    if (ReadsExisting(how.flags))
      ReportUnreadable(path, S_ISDIR(info.st_mode) ? "a folder, not a file" : "not a regular file");
    return refuse(ERROR_ACCESS_DENIED);
  }
  if (how.wholeFileRead && info.st_size > kMaxWholeFileReadBytes) {
    ReportUnreadable(path, "larger than 1 MiB");
    return refuse(ERROR_FILE_TOO_LARGE);
  }
  // Reads and writes of a regular file block as usual from here on.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace pda
