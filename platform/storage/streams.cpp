// Stdio streams on device paths: DeviceOpenStream and DeviceCommitStream.
#include <unistd.h>

#include <cerrno>
#include <string>

#include "pda/storage.h"
#include "storage/device_path.h"
#include "storage/host_errors.h"

FILE* DeviceOpenStream(LPCSTR path, LPCSTR mode) {
  if (mode == nullptr || (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a')) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::optional<std::string> host = pda::MapDevicePath(path);
  if (!host) return nullptr;
  const std::string hostMode = std::string(mode) + "e";  // close-on-exec, like every handle here
  FILE* stream = std::fopen(host->c_str(), hostMode.c_str());
  if (stream == nullptr) {
    const int e = errno;
    SetLastError(e == ENOENT ? pda::NotFoundError(*host) : pda::ErrorFromErrno(e, ERROR_ACCESS_DENIED));
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
