// Names in folders: CreateDirectoryW, DeleteFileW/A, MoveFileExW/A, GetFileAttributesW.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "pda/storage.h"
#include "storage/device_path.h"
#include "storage/host_errors.h"
#include "kernel/unique_fd.h"

namespace pda {
namespace {

// Makes a rename durable: the folder that holds the new name is written to disk.
void SyncFolderOf(const std::string& hostPath) {
  const std::string folder = hostPath.substr(0, hostPath.find_last_of('/'));
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd) ::fsync(fd.get());
}

BOOL Move(const std::optional<std::string>& from, const std::optional<std::string>& to,
          DWORD flags) {
  if (!from || !to) return FALSE;
  int result;
  if (flags & MOVEFILE_REPLACE_EXISTING) {
    result = ::rename(from->c_str(), to->c_str());  // atomic: readers see the old or the new
  } else {
    result = ::renameat2(AT_FDCWD, from->c_str(), AT_FDCWD, to->c_str(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
      // A file system without no-replace renames: a hard link cannot replace either.
      result = ::link(from->c_str(), to->c_str());
      if (result == 0) ::unlink(from->c_str());
    }
  }
  if (result != 0) {
    const int e = errno;
    if (e == ENOENT) {
      struct stat info {};
      SetLastError(::lstat(from->c_str(), &info) != 0 ? NotFoundError(*from) : ERROR_PATH_NOT_FOUND);
      return FALSE;
    }
    return FailFromErrno(e, ERROR_ACCESS_DENIED);
  }
  if (flags & MOVEFILE_WRITE_THROUGH) SyncFolderOf(*to);
  return TRUE;
}

BOOL Delete(const std::optional<std::string>& host) {
  if (!host) return FALSE;
  if (::unlink(host->c_str()) != 0) {
    if (errno == ENOENT) {
      SetLastError(NotFoundError(*host));
      return FALSE;
    }
    return FailFromErrno(errno, ERROR_ACCESS_DENIED);
  }
  return TRUE;
}

}  // namespace
}  // namespace pda

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
  const std::optional<std::string> host = pda::MapDevicePath(path);
  if (!host) return FALSE;
  if (::mkdir(host->c_str(), 0777) != 0) {
    // A missing parent is a missing path here, not a missing file.
    if (errno == ENOENT) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return FALSE;
    }
    return pda::FailFromErrno(errno, ERROR_ACCESS_DENIED);
  }
  return TRUE;
}

BOOL DeleteFileW(LPCWSTR path) { return pda::Delete(pda::MapDevicePath(path)); }
BOOL DeleteFileA(LPCSTR path) { return pda::Delete(pda::MapDevicePath(path)); }

BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
  const auto hostFrom = pda::MapDevicePath(from);
  if (!hostFrom) return FALSE;
  return pda::Move(hostFrom, pda::MapDevicePath(to), flags);
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  const auto hostFrom = pda::MapDevicePath(from);
  if (!hostFrom) return FALSE;
  return pda::Move(hostFrom, pda::MapDevicePath(to), flags);
}

DWORD GetFileAttributesW(LPCWSTR path) {
  const std::optional<std::string> host = pda::MapDevicePath(path);
  if (!host) return INVALID_FILE_ATTRIBUTES;
  struct stat info {};
  if (::stat(host->c_str(), &info) != 0) {
    SetLastError(errno == ENOENT ? pda::NotFoundError(*host)
                                 : pda::ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    return INVALID_FILE_ATTRIBUTES;
  }
  DWORD attributes = 0;
  if (S_ISDIR(info.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if ((info.st_mode & 0222) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}
