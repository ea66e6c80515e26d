// Stdio streams on device paths: DeviceOpenStream and DeviceCommitStream.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "pda/storage.h"
#include "storage/device_path.h"
#include "storage/host_errors.h"
#include "storage/host_open.h"

namespace {

// The host open of a stdio mode: "r", "w" or "a", then any of "b", "+" and "x" (exclusive
// creation, with "w" only).
bool ParseMode(LPCSTR mode, pda::HostOpen* how) {
  if (mode == nullptr) return false;
  const bool plus = std::strchr(mode, '+') != nullptr;
  const bool exclusive = std::strchr(mode, 'x') != nullptr;
  if (std::strspn(mode + 1, "b+x") != std::strlen(mode + 1)) return false;
  switch (mode[0]) {
    case 'r':
      if (exclusive) return false;
      how->flags = plus ? O_RDWR : O_RDONLY;
      how->wholeFileRead = !plus;
      return true;
    case 'w':
      how->flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | (exclusive ? O_EXCL : O_TRUNC);
      // A file made exclusively is a temporary one until it replaces another: private till then.
      if (exclusive) how->createMode = 0600;
      return true;
    case 'a':
      if (exclusive) return false;
      how->flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
      return true;
    default:
      return false;
  }
}

}  // namespace

FILE* DeviceOpenStream(LPCSTR path, LPCSTR mode) {
  pda::HostOpen how{};
  if (!ParseMode(mode, &how)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::optional<std::string> host = pda::MapDevicePath(path);
  if (!host) return nullptr;
  DWORD error = ERROR_SUCCESS;
  const int fd = pda::OpenHostFile(*host, how, &error);
  if (fd < 0) {
    SetLastError(error);
    return nullptr;
  }
  std::string hostMode(1, mode[0]);
  if (std::strchr(mode, '+')) hostMode += '+';
  FILE* stream = ::fdopen(fd, hostMode.c_str());
  if (stream == nullptr) {
    pda::FailFromErrno(errno, ERROR_NOT_ENOUGH_MEMORY);
    ::close(fd);
  }
  return stream;
}

BOOL DeviceCommitStream(FILE* stream) {
  if (stream == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (std::fflush(stream) != 0) return pda::FailFromErrno(errno, ERROR_WRITE_FAULT);
  if (::fsync(fileno(stream)) != 0) return pda::FailFromErrno(errno, ERROR_WRITE_FAULT);
  return TRUE;
}
