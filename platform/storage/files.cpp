// Files behind handles: CreateFileW, ReadFile, WriteFile, FlushFileBuffers, GetFileSize.
//
// A file handle owns one host descriptor (closed by CloseHandle through the kernel's table).
// Share modes are accepted and not enforced: the host has no mandatory locking. Only regular
// files open (see host_open.h): a FIFO, a device or a folder is refused without waiting.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "kernel/kernel_object.h"
#include "pda/storage.h"
#include "storage/device_path.h"
#include "storage/host_errors.h"
#include "storage/host_open.h"
#include "kernel/unique_fd.h"

namespace pda {
namespace {

class File final : public KernelObject {
 public:
  explicit File(UniqueFd fd) : fd_(std::move(fd)) {}
  int fd() const { return fd_.get(); }

 private:
  UniqueFd fd_;
};

std::shared_ptr<File> LookupFile(HANDLE handle) {
  return LookupKernelObject<File>(handle, HandleKind::File);
}

int AccessFlags(DWORD access) {
  const bool read = access & GENERIC_READ, write = access & GENERIC_WRITE;
  return read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
}

// Opens as the disposition says. On success *existed tells whether the file was there before.
UniqueFd OpenWithDisposition(const std::string& path, int access, DWORD disposition,
                             bool* existed, DWORD* error) {
  *existed = false;
  switch (disposition) {
    case CREATE_NEW:
      return UniqueFd(OpenHostFile(path, {access | O_CREAT | O_EXCL}, error));
    case CREATE_ALWAYS:
    case OPEN_ALWAYS: {
      // Try to create first so that we know whether it was there.
      UniqueFd fd(OpenHostFile(path, {access | O_CREAT | O_EXCL}, error));
      if (fd || *error != ERROR_FILE_EXISTS) return fd;
      *existed = true;
      return UniqueFd(
          OpenHostFile(path, {access | (disposition == CREATE_ALWAYS ? O_TRUNC : 0)}, error));
    }
    case OPEN_EXISTING:
      return UniqueFd(OpenHostFile(path, {access}, error));
    case TRUNCATE_EXISTING:
      return UniqueFd(OpenHostFile(path, {access | O_TRUNC}, error));
  }
  *error = ERROR_INVALID_PARAMETER;
  return UniqueFd();
}

}  // namespace
}  // namespace pda

HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD, LPSECURITY_ATTRIBUTES,
                   DWORD creationDisposition, DWORD, HANDLE) {
  if (creationDisposition < CREATE_NEW || creationDisposition > TRUNCATE_EXISTING ||
      (creationDisposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const std::optional<std::string> host = pda::MapDevicePath(path);
  if (!host) return INVALID_HANDLE_VALUE;

  bool existed = false;
  DWORD error = ERROR_SUCCESS;
  pda::UniqueFd fd = pda::OpenWithDisposition(*host, pda::AccessFlags(access),
                                              creationDisposition, &existed, &error);
  if (!fd) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
  }
  const HANDLE handle =
      pda::InsertKernelObject(std::make_shared<pda::File>(std::move(fd)), pda::HandleKind::File);
  if (!handle) return INVALID_HANDLE_VALUE;
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
              LPVOID overlapped) {
  if (bytesRead) *bytesRead = 0;
  auto object = pda::LookupFile(file);
  if (!object) return FALSE;
  if (overlapped != nullptr || (buffer == nullptr && bytesToRead > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Reads until the count or the end of the file, as a device file read does.
  auto* bytes = static_cast<unsigned char*>(buffer);
  DWORD done = 0;
  while (done < bytesToRead) {
    const ssize_t n = ::read(object->fd(), bytes + done, bytesToRead - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (bytesRead) *bytesRead = done;
      return pda::FailFromErrno(errno, ERROR_READ_FAULT);
    }
    if (n == 0) break;
    done += static_cast<DWORD>(n);
  }
  if (bytesRead) *bytesRead = done;
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPVOID overlapped) {
  if (bytesWritten) *bytesWritten = 0;
  auto object = pda::LookupFile(file);
  if (!object) return FALSE;
  if (overlapped != nullptr || (buffer == nullptr && bytesToWrite > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  DWORD done = 0;
  while (done < bytesToWrite) {
    const ssize_t n = ::write(object->fd(), bytes + done, bytesToWrite - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (bytesWritten) *bytesWritten = done;
      return pda::FailFromErrno(errno, ERROR_WRITE_FAULT);
    }
    done += static_cast<DWORD>(n);
  }
  if (bytesWritten) *bytesWritten = done;
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE file) {
  auto object = pda::LookupFile(file);
  if (!object) return FALSE;
  if (::fsync(object->fd()) != 0) return pda::FailFromErrno(errno, ERROR_WRITE_FAULT);
  return TRUE;
}

DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh) {
  auto object = pda::LookupFile(file);
  if (!object) return INVALID_FILE_SIZE;
  struct stat info {};
  if (::fstat(object->fd(), &info) != 0) {
    pda::FailFromErrno(errno, ERROR_READ_FAULT);
    return INVALID_FILE_SIZE;
  }
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
  // A size whose low part looks like the failure value is told apart by ERROR_SUCCESS.
  if (static_cast<DWORD>(size) == INVALID_FILE_SIZE) SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size);
}
