// errno -> ERROR_*.
#include "storage/host_errors.h"

#include <sys/stat.h>

#include <cerrno>

#include "pda/kernel.h"

namespace pda {

DWORD ErrorFromErrno(int error, DWORD fallback) {
  switch (error) {
    case 0: return fallback;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EBADF: return ERROR_ACCESS_DENIED;
    case EEXIST:
    case ENOTEMPTY: return ERROR_ALREADY_EXISTS;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return ERROR_DISK_FULL;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EBUSY:
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case ENODEV:
    case ENXIO: return ERROR_DEV_NOT_EXIST;
    case ELOOP: return ERROR_INVALID_NAME;
    default: return fallback;
  }
}

DWORD NotFoundError(const std::string& hostPath) {
  const std::string::size_type slash = hostPath.find_last_of('/');
  if (slash == std::string::npos) return ERROR_FILE_NOT_FOUND;
  struct stat parent {};
  const std::string folder = slash == 0 ? "/" : hostPath.substr(0, slash);
  return ::stat(folder.c_str(), &parent) == 0 && S_ISDIR(parent.st_mode) ? ERROR_FILE_NOT_FOUND
                                                                         : ERROR_PATH_NOT_FOUND;
}

BOOL FailFromErrno(int error, DWORD fallback) {
  ::SetLastError(ErrorFromErrno(error, fallback));
  return FALSE;
}

}  // namespace pda
