// SHGetSpecialFolderPath: the device's well-known folders.
#include <sys/stat.h>

#include <cerrno>
#include <string_view>

#include "pda/storage.h"
#include "storage/device_path.h"

namespace {

std::u16string_view FolderPath(int folder) {
  switch (folder) {
    case CSIDL_PERSONAL: return u"\\My Documents";
    case CSIDL_PROGRAM_FILES: return u"\\Program Files";
    default: return {};
  }
}

}  // namespace

BOOL SHGetSpecialFolderPath(HWND, LPWSTR path, int folder, BOOL create) {
  const std::u16string_view device = FolderPath(folder);
  if (path == nullptr || device.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::u16string terminated(device);
  const std::optional<std::string> host = pda::MapDevicePath(terminated.c_str());
  if (!host) return FALSE;
  struct stat info {};
  if (::stat(host->c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    if (!create || (!CreateDirectoryW(terminated.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)) {
      if (!create) SetLastError(ERROR_FILE_NOT_FOUND);
      return FALSE;
    }
  }
  lstrcpynW(path, terminated.c_str(), MAX_PATH);
  return TRUE;
}
